#include "diplaythumbnailthread.h"
#include "disktree.h"
#include "dossview.h"
#include "dossviewprobe.h"
#include "imagefile.h"
#include "ledgerview.h"
#include "livescope.h"
#include "mosaicview.h"
#include "picturepage.h"
#include "qurlinfo.h"
#include "testpictures.h"
#include "thermogramcanvas.h"
#include "thumbnailiconengine.h"

#include <QAction>
#include <QHeaderView>
#include <QScreen>
#include <QLabel>
#include <QSplitter>
#include <QStackedLayout>
#include <QTabWidget>
#include <QToolBar>
#include <QtTest>

#include <memory>

namespace {

/** Records the worker's signals on the GUI thread, in the order they arrive. */
class WorkerRecorder : public QObject
{
public:
    void watch(DiplayThumbnailThread *worker)
    {
        connect(worker, &DiplayThumbnailThread::refreshLister1, this,
                [this](int row) { events.append(QStringLiteral("refresh %1").arg(row)); });
        connect(worker, &DiplayThumbnailThread::addLabel, this, [this](int row, QLabel *label) {
            events.append(QStringLiteral("label %1").arg(row));
            labels.append(label);
        });
    }
    QStringList events;
    QList<QLabel *> labels;
};

QUrlInfo *recordFor(const QString &path, qint64 size = TestPictures::InstrumentFileSize,
                    const QDateTime &modified = QDateTime(QDate(2026, 3, 4), QTime(5, 6)))
{
    return new QUrlInfo(path, 0644, QStringLiteral("owner"), QStringLiteral("group"), size,
                        modified, modified, false, true, false, true, true, false);
}

QImage iconImage(const QListWidgetItem *item)
{
    return item->icon().pixmap(QSize(144, 192)).toImage();
}

QImage labelImage(const QLabel *label)
{
    return label->pixmap(Qt::ReturnByValue).toImage();
}

QImage gridPlaceholder()
{
    return QIcon(QPixmap(":/image/picture.png")
                     .scaled(144, 192, Qt::IgnoreAspectRatio, Qt::FastTransformation))
        .pixmap(QSize(144, 192))
        .toImage();
}

QImage tablePlaceholder()
{
    return QPixmap(":/image/picture.png").scaledToHeight(24, Qt::SmoothTransformation).toImage();
}

// The thumbnails as the window is to show them: the file loaded as a pixmap, scaled by Qt.
QImage qtThumbnail(const QString &path, const QSize &bounds)
{
    return QPixmap(path).scaled(bounds, Qt::KeepAspectRatio, Qt::FastTransformation).toImage();
}

} // namespace

class tst_Dossview : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void freshWindow();
    void diskColumnFollowsSplitter();
    void metaObjects();
    void tableLayout();
    void rows_data();
    void rows();
    void thumbnails();
    void manyIconsOnScreenExpandOnce();
    void gridShowsIconsChangedAroundALayout();
    void missingAndUndecodable();
    void staleLabelLeavesRowItsThumbnail();
    void refreshRows();
    void workerWaitsForWindow();
    void wifiIgnoresFiles();
    void emptyListing();
    void setFileTab();
    void closeWhileRunning();
    void destroyedWhileRunning();
    void stuckWorker();
    void stress_data();
    void stress();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QList<QUrlInfo *> m_records;

    QList<QUrlInfo *> pictures(int count, const QString &folder = QStringLiteral("p"));
    QUrlInfo *own(QUrlInfo *record)
    {
        m_records.append(record);
        return record;
    }
};

void tst_Dossview::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void tst_Dossview::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
}

void tst_Dossview::cleanup()
{
    qDeleteAll(m_records);
    m_records.clear();
    m_dir.reset();
    QVERIFY(!QGuiApplication::overrideCursor());
}

QList<QUrlInfo *> tst_Dossview::pictures(int count, const QString &folder)
{
    QList<QUrlInfo *> records;
    for (int i = 0; i < count; ++i) {
        const QString path = m_dir->filePath(
            QStringLiteral("%1/IMG%2.BMP").arg(folder).arg(i, 4, 10, QLatin1Char('0')));
        if (!TestPictures::writeFile(path, TestPictures::instrumentPicture(i)))
            return {};
        records.append(own(recordFor(path)));
    }
    return records;
}

void tst_Dossview::diskColumnFollowsSplitter()
{
    Dossview view(DeviceManager::UsbFile, QStringLiteral("EN"));
    view.resize(900, 500);
    view.show();
    auto *splitter = qobject_cast<QSplitter *>(view.tabWidget()->widget(0));
    QWidget *column = splitter->widget(0);
    QWidget *list = DossviewProbe(&view).diskList();
    const QMargins margins = column->layout()->contentsMargins();
    for (int dragTo : { 400, 140 }) {
        splitter->setSizes({ dragTo, 900 - dragTo });
        // The heading and the list below it keep one width: the list fills the column.
        QTRY_COMPARE(list->width(), column->width() - margins.left() - margins.right());
    }
    QCOMPARE(view.picturePage()->canvas()->placeholderText(),
             QStringLiteral("Double-click a picture to open it here."));
}

void tst_Dossview::freshWindow()
{
    Dossview view(DeviceManager::UsbFile, QStringLiteral("EN"));
    DossviewProbe probe(&view);
    QCOMPARE(view.mode(), DeviceManager::UsbFile);

    QTabWidget *tabs = view.tabWidget();
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(tabs->tabText(0), QStringLiteral("&Files"));
    QCOMPARE(tabs->widget(1), static_cast<QWidget *>(view.picturePage()));

    auto *splitter = qobject_cast<QSplitter *>(tabs->widget(0));
    QVERIFY(splitter);
    QCOMPARE(splitter->orientation(), Qt::Horizontal);
    QCOMPARE(splitter->handleWidth(), 3);
    QCOMPARE(splitter->count(), 2);
    QVERIFY(splitter->widget(0)->isAncestorOf(probe.diskList()));
    QVERIFY(splitter->widget(1)->isAncestorOf(probe.mosaicview()));
    QVERIFY(splitter->widget(1)->isAncestorOf(probe.toolBar()));

    QLabel *removable = nullptr;
    for (QLabel *label : splitter->widget(0)->findChildren<QLabel *>()) {
        if (label->text() == QStringLiteral("Removable"))
            removable = label;
    }
    QVERIFY(removable);
    QCOMPARE(removable->minimumHeight(), 28);
    QCOMPARE(removable->alignment(), Qt::AlignCenter);
    QCOMPARE(removable->styleSheet(),
             QStringLiteral("QLabel{font-weight: bold;color: #F0F0F0;background-color:#767676;"
                            "border-top-left-radius: 3px;border-top-right-radius: 3px;"
                            "border-bottom: 2px solid #DC5000;}"));
    auto *diskLayout = qobject_cast<QVBoxLayout *>(splitter->widget(0)->layout());
    QVERIFY(diskLayout);
    QCOMPARE(diskLayout->spacing(), 3);
    QCOMPARE(diskLayout->itemAt(0)->widget(), static_cast<QWidget *>(removable));
    QCOMPARE(diskLayout->itemAt(1)->widget(), static_cast<QWidget *>(probe.diskList()));

    QCOMPARE(probe.diskList()->count(), 0);
    QCOMPARE(probe.diskList()->minimumWidth(), 60);
    QCOMPARE(probe.diskList()->maximumWidth(), 160);
    QCOMPARE(probe.diskList()->styleSheet(), QStringLiteral("border: 0px"));

    // The spacer first, then "Table", then "List".
    const QList<QAction *> actions = probe.toolBar()->actions();
    QCOMPARE(actions.size(), 3);
    QWidget *spacer = probe.toolBar()->widgetForAction(actions.at(0));
    QVERIFY(spacer);
    QCOMPARE(spacer->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(actions.at(1), probe.tableAction());
    QCOMPARE(actions.at(2), probe.listAction());
    QCOMPARE(probe.tableAction()->text(), QStringLiteral("Table"));
    QCOMPARE(probe.tableAction()->data(), QVariant(0));
    QCOMPARE(probe.listAction()->text(), QStringLiteral("List"));
    QCOMPARE(probe.listAction()->data(), QVariant(1));
    QVERIFY(!probe.listAction()->isCheckable());

    QStackedLayout *stack = probe.stackedLayout();
    QCOMPARE(stack->count(), 2);
    QCOMPARE(stack->widget(0), static_cast<QWidget *>(probe.mosaicview()));
    QCOMPARE(stack->widget(1), static_cast<QWidget *>(probe.ledgerview()));
    QCOMPARE(stack->currentIndex(), 0);
    QCOMPARE(stack->spacing(), 1);
    QCOMPARE(stack->contentsMargins(), QMargins(1, 1, 1, 1));
    QCOMPARE(stack->parentWidget()->styleSheet(), QStringLiteral("QFrame{border: 0px;}"));

    QCOMPARE(probe.mosaicview()->count(), 0);
    QCOMPARE(probe.ledgerview()->rowCount(), 0);
    QVERIFY(!probe.thumbnailThread());
    QCOMPARE(probe.mosaicview()->parentWidget()->parentWidget(),
             stack->parentWidget()->parentWidget());
}

void tst_Dossview::metaObjects()
{
    const QMetaObject &meta = Dossview::staticMetaObject;
    QCOMPARE(meta.className(), "Dossview");
    QCOMPARE(meta.superClass(), &Panelet::staticMetaObject);
    QStringList methods;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
        methods.append(QString::fromLatin1(meta.method(i).methodSignature()));
    QCOMPARE(methods,
             QStringList({ "updateFiles(QList<QUrlInfo*>,DeviceManager::Mode)",
                           "slotActionTriggered(bool)", "slotActionTriggered()",
                           "slotMosaicviewItemDoubleClicked(QListWidgetItem*)",
                           "slotMosaicviewCurrentRowChanged(int)",
                           "slotLedgerviewCurrentRowChanged(QModelIndex,QModelIndex)",
                           "slotLedgerviewItemDoubleClicked(QTableWidgetItem*)",
                           "slotDiskListItemClicked(QListWidgetItem*)",
                           "slotLister2AddLabel(int,QLabel*)", "slotRefreshLister1(int)" }));
    QCOMPARE(meta.method(meta.methodOffset()).methodType(), QMetaMethod::Signal);
    QCOMPARE(meta.propertyCount(), meta.propertyOffset());
    QCOMPARE(meta.enumeratorCount(), meta.enumeratorOffset());
    QCOMPARE(meta.classInfoCount(), meta.classInfoOffset());

    const QMetaObject &worker = DiplayThumbnailThread::staticMetaObject;
    QCOMPARE(worker.className(), "DiplayThumbnailThread");
    QCOMPARE(worker.superClass(), &QThread::staticMetaObject);
    QCOMPARE(worker.methodCount() - worker.methodOffset(), 2);
    QCOMPARE(worker.method(worker.methodOffset()).methodSignature(),
             QByteArray("addLabel(int,QLabel*)"));
    QCOMPARE(worker.method(worker.methodOffset() + 1).methodSignature(),
             QByteArray("refreshLister1(int)"));
    QCOMPARE(worker.method(worker.methodOffset() + 1).methodType(), QMetaMethod::Signal);
    QCOMPARE(worker.propertyCount(), worker.propertyOffset());

    Dossview dossview(DeviceManager::WifiFile, QStringLiteral("EN"));
    Livescope livescope(DeviceManager::UsbVideo, QStringLiteral("EN"));
    QCOMPARE(meta.cast(static_cast<Panelet *>(&dossview)), &dossview);
    QVERIFY(!meta.cast(static_cast<Panelet *>(&livescope)));
}

void tst_Dossview::tableLayout()
{
    Dossview view(DeviceManager::UsbFile, QStringLiteral("EN"));
    Ledgerview *table = DossviewProbe(&view).ledgerview();
    QCOMPARE(table->columnCount(), 5);
    QStringList headers;
    for (int column = 0; column < 5; ++column)
        headers.append(table->horizontalHeaderItem(column)->text());
    QCOMPARE(headers, QStringList({ "No.", "Picture", "Name", "Date/Time", "Size" }));
    QCOMPARE(table->frameShape(), QFrame::NoFrame);
    QVERIFY(!table->showGrid());
    QCOMPARE(table->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(table->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);
    QHeaderView *header = table->horizontalHeader();
    QCOMPARE(header->defaultSectionSize(), 150);
    QVERIFY(!header->sectionsClickable());
    QVERIFY(header->stretchLastSection());
    QVERIFY(!header->highlightSections());
    QCOMPARE(header->sectionSize(0), 80);
    QCOMPARE(header->sectionSize(1), 50);
    QCOMPARE(header->sectionSize(2), 180);
    QCOMPARE(header->sectionSize(3), 180);
    QVERIFY(table->verticalHeader()->isHidden());
    table->setRowCount(1);
    QCOMPARE(table->verticalHeader()->sectionResizeMode(0), QHeaderView::ResizeToContents);
}

void tst_Dossview::rows_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QList<qint64>>("sizes");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("sizeTexts");

    QTest::newRow("list order, not names")
        << QStringList { "/c/zz.bmp", "/c/aa.bmp", "/c/mm.bmp" }
        << QList<qint64> { 307792, 1024, 0 } << QStringList { "zz.bmp", "aa.bmp", "mm.bmp" }
        << QStringList { " 300.6KB", " 1.0KB", " 0.0KB" };
    // Sizes repeat and change back; names as QFileInfo gives them.
    QTest::newRow("sizes again, names without folders")
        << QStringList { "/c/a.bmp", "b.bmp", "/c/d/", "/c/e.bmp" }
        << QList<qint64> { 307792, 307792, 1024, 307792 }
        << QStringList { "a.bmp", "b.bmp", "", "e.bmp" }
        << QStringList { " 300.6KB", " 300.6KB", " 1.0KB", " 300.6KB" };
    QTest::newRow("drive path") << QStringList { "E:/DCIM/IMG0001.BMP" }
                                << QList<qint64> { 2048000 } << QStringList { "IMG0001.BMP" }
                                << QStringList { " 2,000.0KB" };
}

void tst_Dossview::rows()
{
    QFETCH(QStringList, paths);
    QFETCH(QList<qint64>, sizes);
    QFETCH(QStringList, names);
    QFETCH(QStringList, sizeTexts);

    Dossview view(DeviceManager::UsbFile, QStringLiteral("EN"));
    DossviewProbe probe(&view);
    QList<QUrlInfo *> records;
    for (int i = 0; i < paths.size(); ++i)
        records.append(own(recordFor(paths.at(i), sizes.at(i))));
    view.setFiles(records);

    Ledgerview *table = probe.ledgerview();
    Mosaicview *grid = probe.mosaicview();
    QCOMPARE(table->rowCount(), paths.size());
    QCOMPARE(grid->count(), paths.size());
    for (int i = 0; i < paths.size(); ++i) {
        QCOMPARE(table->item(i, 0)->text(), QString::number(i + 1));
        QCOMPARE(table->item(i, 0)->textAlignment(), int(Qt::AlignRight));
        auto *label = qobject_cast<QLabel *>(table->cellWidget(i, 1));
        QVERIFY(label);
        QCOMPARE(label->alignment(), Qt::AlignCenter);
        QVERIFY(!table->item(i, 1));
        QCOMPARE(table->item(i, 2)->text(), names.at(i));
        QCOMPARE(table->item(i, 2)->textAlignment(), int(Qt::AlignCenter));
        QCOMPARE(table->item(i, 2)->data(Qt::UserRole + 1).value<quintptr>(),
                 reinterpret_cast<quintptr>(records.at(i)));
        QCOMPARE(table->item(i, 3)->text(), QStringLiteral("3/4/26 5:06 AM"));
        QCOMPARE(table->item(i, 3)->textAlignment(), int(Qt::AlignCenter));
        QCOMPARE(table->item(i, 4)->text(), sizeTexts.at(i));
        QCOMPARE(table->item(i, 4)->textAlignment(), int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(table->item(i, 0)->type(), int(QTableWidgetItem::Type));

        QListWidgetItem *item = grid->item(i);
        QCOMPARE(item->text(), names.at(i));
        QCOMPARE(item->toolTip(), paths.at(i));
        QCOMPARE(item->statusTip(), paths.at(i));
        QCOMPARE(item->data(Qt::UserRole + 1).value<quintptr>(),
                 reinterpret_cast<quintptr>(records.at(i)));
    }
    // None of these files exists: the worker leaves every placeholder in place.
    QTRY_VERIFY(probe.thumbnailThread()->isFinished());
    QCoreApplication::processEvents();
    for (int i = 0; i < paths.size(); ++i)
        QCOMPARE(iconImage(grid->item(i)), gridPlaceholder());
}

void tst_Dossview::thumbnails()
{
    const QList<QUrlInfo *> records = pictures(12);
    QCOMPARE(records.size(), 12);
    QVERIFY(!gridPlaceholder().isNull());

    Dossview view(DeviceManager::UsbFile, QStringLiteral("EN"));
    DossviewProbe probe(&view);
    view.setFiles(records);
    QVERIFY(probe.thumbnailThread());
    QCOMPARE(probe.thumbnailThread()->owner, &view);

    // Nothing is put in place before the GUI thread handles the worker's signals.
    for (int i = 0; i < records.size(); ++i) {
        QCOMPARE(iconImage(probe.mosaicview()->item(i)), gridPlaceholder());
        auto *label = qobject_cast<QLabel *>(probe.ledgerview()->cellWidget(i, 1));
        QCOMPARE(labelImage(label), tablePlaceholder());
        QCOMPARE(label->pixmap(Qt::ReturnByValue).height(), 24);
    }

    const int last = records.size() - 1;
    QTRY_COMPARE(probe.mosaicview()->item(last)->icon().pixmap(QSize(144, 192)).size(),
                 QSize(144, 108));
    QTRY_COMPARE(qobject_cast<QLabel *>(probe.ledgerview()->cellWidget(last, 1))
                     ->pixmap(Qt::ReturnByValue)
                     .size(),
                 QSize(34, 25));
    for (int i = 0; i < records.size(); ++i) {
        const QString path = records.at(i)->name();
        QCOMPARE(iconImage(probe.mosaicview()->item(i)), qtThumbnail(path, QSize(144, 192)));
        auto *label = qobject_cast<QLabel *>(probe.ledgerview()->cellWidget(i, 1));
        QCOMPARE(labelImage(label), qtThumbnail(path, QSize(34, 34)));
    }
}

void tst_Dossview::manyIconsOnScreenExpandOnce()
{
    // A 4K screen's grid shows about 200 entries, more than the icon cache held at the least.
    const QList<QUrlInfo *> records = pictures(190);
    QCOMPARE(records.size(), 190);
    Dossview view(DeviceManager::UsbFile, QStringLiteral("EN"));
    DossviewProbe probe(&view);
    view.resize(3840, 2160);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setFiles(records);
    Mosaicview *grid = probe.mosaicview();
    const int last = records.size() - 1;
    QTRY_VERIFY_WITH_TIMEOUT(grid->item(last)->icon().availableSizes().value(0) == QSize(144, 108),
                             60000);
    QVERIFY(grid->viewport()->rect().contains(grid->visualItemRect(grid->item(last))));
    QVERIFY(190 * 144 * 108 * 4 > ThumbnailIconEngine::cacheLimit());

    // Painted twice: the second paint finds every icon's pixmap made by the first.
    const auto pixmaps = [&] {
        grid->viewport()->grab();
        QList<qint64> keys;
        for (int row = 0; row <= last; ++row)
            keys << grid->item(row)->icon().pixmap(QSize(144, 192)).cacheKey();
        return keys;
    };
    const QList<qint64> first = pixmaps();
    QCOMPARE(pixmaps(), first);
}

void tst_Dossview::gridShowsIconsChangedAroundALayout()
{
    const auto solid = [](Qt::GlobalColor colour) {
        QPixmap pixmap(144, 108);
        pixmap.fill(colour);
        return QIcon(pixmap);
    };
    Mosaicview grid;
    grid.resize(700, 500);
    for (int row = 0; row < 30; ++row)
        new QListWidgetItem(solid(Qt::gray), QString::number(row), &grid);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    // What the screen shows, as last painted: the window's own backing store.
    const auto shown = [&](int row) {
        const QRect cell = grid.visualItemRect(grid.item(row));
        const QPoint at = grid.viewport()->mapTo(&grid, QPoint(cell.center().x(), cell.top() + 40));
        return grid.screen()->grabWindow(grid.winId()).toImage().pixelColor(at);
    };
    QTRY_COMPARE(shown(2), QColor(Qt::gray));

    // A new icon in a cell of its own moves nothing: no layout pass for it.
    QSignalSpy passes(&grid, &Mosaicview::itemsLaidOut);
    grid.item(3)->setIcon(solid(Qt::red));
    QTRY_COMPARE(shown(3), QColor(Qt::red));
    QCOMPARE(passes.count(), 0);

    // As thumbnails arrive: an icon, the entry hidden and shown again with repaints held, and
    // more icons while the layout pass is pending, one of them on an entry that is off screen.
    grid.item(0)->setIcon(solid(Qt::red));
    grid.setRepaintsHeld(true);
    grid.item(0)->setHidden(true);
    grid.item(0)->setHidden(false);
    grid.setRepaintsHeld(false);
    grid.item(2)->setIcon(solid(Qt::blue));
    grid.item(29)->setIcon(solid(Qt::green));
    QTRY_COMPARE(shown(0), QColor(Qt::red));
    QTRY_COMPARE(shown(2), QColor(Qt::blue));
    QCOMPARE(shown(1), QColor(Qt::gray));

    // A new listing of as many entries.
    grid.clear();
    for (int row = 0; row < 30; ++row)
        new QListWidgetItem(solid(Qt::yellow), QString::number(row), &grid);
    QTRY_COMPARE(shown(2), QColor(Qt::yellow));
    grid.item(2)->setIcon(solid(Qt::blue));

    // Hidden for good: the entries after it move up, and the screen shows them where they are.
    grid.item(1)->setHidden(true);
    QTRY_COMPARE(shown(2), QColor(Qt::blue));
    QCOMPARE(grid.visualItemRect(grid.item(2)).topLeft(),
             grid.visualItemRect(grid.item(0)).topLeft() + QPoint(grid.gridSize().width(), 0));
}

void tst_Dossview::staleLabelLeavesRowItsThumbnail()
{
    const QList<QUrlInfo *> records = pictures(3);
    Dossview view(DeviceManager::UsbFile, QStringLiteral("EN"));
    DossviewProbe probe(&view);
    view.setFiles(records);
    // Every row's thumbnail is ready, and its signal still queued.
    QVERIFY(probe.thumbnailThread()->wait(10000));

    // An old worker's last signal for row 1 comes first, with the label of its own listing.
    QLabel oldLabel;
    probe.addLabel(1, &oldLabel);
    QVERIFY(oldLabel.pixmap(Qt::ReturnByValue).isNull());

    auto *label = qobject_cast<QLabel *>(probe.ledgerview()->cellWidget(1, 1));
    QTRY_COMPARE(labelImage(label), qtThumbnail(records.at(1)->name(), QSize(34, 34)));
}

void tst_Dossview::missingAndUndecodable()
{
    // The worker waits on a pipe at row 0 until the test has connected and set the scene.
    const QString gate = m_dir->filePath("gate.bmp");
    QVERIFY(DiskTree::makeFifo(gate));
    const QString gone = m_dir->filePath("gone.bmp");
    const QString junk = m_dir->filePath("junk.bmp");
    const QString good = m_dir->filePath("good.bmp");
    QVERIFY(TestPictures::writeFile(gone, TestPictures::instrumentPicture(1)));
    QVERIFY(TestPictures::writeFile(junk, QByteArray(int(TestPictures::InstrumentFileSize), 'j')));
    QVERIFY(TestPictures::writeFile(good, TestPictures::instrumentPicture(2)));
    const QList<QUrlInfo *> records = { own(recordFor(gate)), own(recordFor(gone)),
                                        own(recordFor(junk)), own(recordFor(good)) };

    Dossview view(DeviceManager::UsbFile, QStringLiteral("EN"));
    DossviewProbe probe(&view);
    view.setFiles(records);
    WorkerRecorder recorder;
    recorder.watch(probe.thumbnailThread());
    QVERIFY(QFile::remove(gone));
    // Marks that show whether the worker's results replaced an entry's picture.
    QPixmap mark(10, 10);
    mark.fill(Qt::red);
    for (int i = 0; i < records.size(); ++i) {
        probe.mosaicview()->item(i)->setIcon(QIcon(mark));
        qobject_cast<QLabel *>(probe.ledgerview()->cellWidget(i, 1))->setPixmap(mark);
    }
    QVERIFY(DiskTree::feedFifo(gate, "not a picture"));

    const QStringList expected
        = { "refresh 0", "label 0", "refresh 1", "refresh 2", "label 2", "refresh 3", "label 3" };
    QTRY_COMPARE(recorder.events, expected);
    QVERIFY(probe.thumbnailThread()->wait(5000));
    // addLabel passes the row's own label back
    QCOMPARE(recorder.labels.size(), 3);
    QCOMPARE(recorder.labels.at(0), probe.ledgerview()->cellWidget(0, 1));
    QCOMPARE(recorder.labels.at(1), probe.ledgerview()->cellWidget(2, 1));
    QCOMPARE(recorder.labels.at(2), probe.ledgerview()->cellWidget(3, 1));
    QCoreApplication::processEvents();

    auto label
        = [&](int row) { return qobject_cast<QLabel *>(probe.ledgerview()->cellWidget(row, 1)); };
    // gone: untouched
    QCOMPARE(iconImage(probe.mosaicview()->item(1)), QIcon(mark).pixmap(QSize(144, 192)).toImage());
    QCOMPARE(labelImage(label(1)), mark.toImage());
    // undecodable (the pipe's text and the junk file): an empty picture
    for (int row : { 0, 2 }) {
        QVERIFY(probe.mosaicview()->item(row)->icon().isNull());
        QVERIFY(label(row)->pixmap(Qt::ReturnByValue).isNull());
    }
    QCOMPARE(iconImage(probe.mosaicview()->item(3)), qtThumbnail(good, QSize(144, 192)));
    QCOMPARE(labelImage(label(3)), qtThumbnail(good, QSize(34, 34)));
}

void tst_Dossview::refreshRows()
{
    const QString gate = m_dir->filePath("gate.bmp");
    QVERIFY(DiskTree::makeFifo(gate));
    QList<QUrlInfo *> records = { own(recordFor(gate)) };
    for (int i = 1; i < 25; ++i)
        records.append(own(recordFor(m_dir->filePath(QStringLiteral("missing%1.bmp").arg(i)))));

    Dossview view(DeviceManager::UsbFile, QStringLiteral("EN"));
    DossviewProbe probe(&view);
    view.setFiles(records);
    WorkerRecorder recorder;
    recorder.watch(probe.thumbnailThread());
    QVERIFY(DiskTree::feedFifo(gate, QByteArray()));

    QStringList expected;
    for (int i = 0; i < 25; ++i) {
        expected.append(QStringLiteral("refresh %1").arg(i));
        if (i == 0)
            expected.append(QStringLiteral("label 0"));
    }
    QTRY_COMPARE(recorder.events, expected);

    // The grid is laid out again at rows 0, 10, 20 and at the last row only.
    Mosaicview *grid = probe.mosaicview();
    QSignalSpy layouts(grid, &Mosaicview::itemsLaidOut);
    QList<int> refreshed;
    for (int row = 0; row < 25; ++row) {
        grid->flushLayout();
        layouts.clear();
        probe.refreshLister1(row);
        grid->flushLayout();
        if (!layouts.isEmpty())
            refreshed.append(row);
    }
    QCOMPARE(refreshed, QList<int>({ 0, 10, 20, 24 }));
}

void tst_Dossview::workerWaitsForWindow()
{
    QList<QUrlInfo *> records;
    for (int i = 0; i < 300; ++i)
        records.append(own(recordFor(m_dir->filePath(QStringLiteral("none%1.bmp").arg(i)))));
    Dossview view(DeviceManager::UsbFile, QStringLiteral("EN"));
    DossviewProbe probe(&view);
    view.setFiles(records);
    DiplayThumbnailThread *worker = probe.thumbnailThread();
    // 300 quick entries, but the window takes none while this thread is blocked here.
    QVERIFY(!worker->wait(300));
    QTRY_VERIFY(worker->isFinished());
    QCOMPARE(probe.thumbnailThread(), worker);
}

void tst_Dossview::wifiIgnoresFiles()
{
    const QList<QUrlInfo *> records = pictures(3);
    Dossview view(DeviceManager::WifiFile, QStringLiteral("EN"));
    DossviewProbe probe(&view);
    view.setFiles(records);
    QCOMPARE(probe.ledgerview()->rowCount(), 0);
    QCOMPARE(probe.mosaicview()->count(), 0);
    QVERIFY(!probe.thumbnailThread());
    QVERIFY(!QGuiApplication::overrideCursor());
}

void tst_Dossview::emptyListing()
{
    const QList<QUrlInfo *> records = pictures(40);
    Dossview view(DeviceManager::UsbFile, QStringLiteral("EN"));
    DossviewProbe probe(&view);
    view.setFiles(records);
    QPointer<DiplayThumbnailThread> old = probe.thumbnailThread();
    QVERIFY(old);

    view.setFiles({});
    QVERIFY(old.isNull());
    QVERIFY(!probe.thumbnailThread());
    QCOMPARE(probe.ledgerview()->rowCount(), 0);
    QCOMPARE(probe.mosaicview()->count(), 0);
    // Signals of the old worker still queued are dropped.
    QCoreApplication::processEvents();
    QCOMPARE(probe.mosaicview()->count(), 0);
}

void tst_Dossview::setFileTab()
{
    Dossview view(DeviceManager::UsbFile, QStringLiteral("EN"));
    ImageFile picture;
    picture.image = QImage(32, 24, QImage::Format_RGB32);
    picture.image.fill(Qt::green);
    picture.path = QStringLiteral("/card/IMG0001.BMP");

    view.setFile(nullptr);
    QCOMPARE(view.tabWidget()->currentIndex(), 0);
    view.setFile(&picture);
    QCOMPARE(view.tabWidget()->currentIndex(), 1);
    QVERIFY(!view.picturePage()->picture().isNull());
    view.tabWidget()->setCurrentIndex(0);
    view.setFile(nullptr);
    QCOMPARE(view.tabWidget()->currentIndex(), 0);
    QVERIFY(view.picturePage()->picture().isNull());
}

void tst_Dossview::closeWhileRunning()
{
    const QList<QUrlInfo *> records = pictures(60);
    auto *view = new Dossview(DeviceManager::UsbFile, QStringLiteral("EN"));
    view->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<Dossview> alive = view;
    ImageFile picture;
    picture.image = QImage(8, 8, QImage::Format_RGB32);
    view->setFile(&picture);
    view->show();
    view->setFiles(records);
    QPointer<DiplayThumbnailThread> worker = DossviewProbe(view).thumbnailThread();
    QVERIFY(worker);

    QVERIFY(view->close());
    QVERIFY(worker.isNull());
    QTRY_VERIFY(alive.isNull());
}

void tst_Dossview::destroyedWhileRunning()
{
    const QList<QUrlInfo *> records = pictures(60);
    auto *view = new Dossview(DeviceManager::UsbFile, QStringLiteral("EN"));
    view->setFiles(records);
    QPointer<DiplayThumbnailThread> worker = DossviewProbe(view).thumbnailThread();
    QVERIFY(worker);
    delete view;
    QVERIFY(worker.isNull());
    QCoreApplication::processEvents();
}

void tst_Dossview::stuckWorker()
{
    // A worker that cannot finish within the wait is let go, not deleted under its feet.
    const QString gate = m_dir->filePath("gate.bmp");
    QVERIFY(DiskTree::makeFifo(gate));
    const QList<QUrlInfo *> records = { own(recordFor(gate)) };
    auto *view = new Dossview(DeviceManager::UsbFile, QStringLiteral("EN"));
    view->setFiles(records);
    QPointer<DiplayThumbnailThread> worker = DossviewProbe(view).thumbnailThread();
    QVERIFY(worker);

    QElapsedTimer waited;
    waited.start();
    QVERIFY(view->close());
    QVERIFY(waited.elapsed() >= 4900);
    QVERIFY(!DossviewProbe(view).thumbnailThread());
    QVERIFY(worker);
    QVERIFY(worker->isRunning());
    delete view;

    QVERIFY(DiskTree::feedFifo(gate, "x"));
    QTRY_VERIFY(worker.isNull());
}

void tst_Dossview::stress_data()
{
    QTest::addColumn<int>("rounds");
    QTest::addColumn<bool>("throughDisks");
    QTest::newRow("setFiles") << 40 << false;
    QTest::newRow("setUDisks") << 40 << true;
}

void tst_Dossview::stress()
{
    QFETCH(int, rounds);
    QFETCH(bool, throughDisks);
    const QList<QUrlInfo *> first = pictures(30, QStringLiteral("one"));
    const QList<QUrlInfo *> second = pictures(7, QStringLiteral("two"));
    QCOMPARE(first.size() + second.size(), 37);

    QRandomGenerator random(1234);
    for (int round = 0; round < rounds; ++round) {
        auto *view = new Dossview(DeviceManager::UsbFile, QStringLiteral("EN"));
        view->setAttribute(Qt::WA_DeleteOnClose);
        QPointer<Dossview> alive = view;
        const int listings = 1 + int(random.bounded(4));
        for (int listing = 0; listing < listings; ++listing) {
            if (throughDisks)
                view->setUDisks({ m_dir->filePath(listing % 2 ? "two" : "one") });
            else
                view->setFiles(listing % 2 ? second : first);
            // let a few results in, sometimes none
            for (int pass = int(random.bounded(3)); pass > 0; --pass)
                QCoreApplication::processEvents();
        }
        const int count = DossviewProbe(view).mosaicview()->count();
        QCOMPARE(count, listings % 2 ? 30 : 7);
        if (random.bounded(2)) {
            QVERIFY(view->close());
            QTRY_VERIFY(alive.isNull());
        } else {
            delete view;
        }
    }
}

QTEST_MAIN(tst_Dossview)
#include "tst_dossview.moc"
