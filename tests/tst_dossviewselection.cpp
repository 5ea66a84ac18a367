#include "diplaythumbnailthread.h"
#include "dossview.h"
#include "dossviewprobe.h"
#include "imagefile.h"
#include "ledgerview.h"
#include "mosaicview.h"
#include "picturepage.h"
#include "qurlinfo.h"
#include "testpictures.h"

#include <QAction>
#include <QLabel>
#include <QStackedLayout>
#include <QtTest>

#include <memory>

namespace {

QUrlInfo *recordFor(const QString &path)
{
    const QDateTime when(QDate(2026, 1, 2), QTime(3, 4));
    return new QUrlInfo(path, 0644, QString(), QString(), TestPictures::InstrumentFileSize, when,
                        when, false, true, false, true, true, false);
}

// The record pointer of a pullImage: opaque, so read as stored, never cast as an object.
quintptr requested(const QList<QVariant> &arguments)
{
    return reinterpret_cast<quintptr>(*static_cast<QObject *const *>(arguments.at(0).constData()));
}

QImage qtThumbnail(const QString &path, const QSize &bounds)
{
    return QPixmap(path).scaled(bounds, Qt::KeepAspectRatio, Qt::FastTransformation).toImage();
}

} // namespace

class tst_DossviewSelection : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void gridFollowsTable();
    void tableFollowsGrid();
    void clearedGrid();
    void iconAlreadySet();
    void nullIconFilledAtOnce();
    void goneFileKeepsNullIcon();
    void labelFilledAtOnce();
    void tableDoubleClick_data();
    void tableDoubleClick();
    void gridDoubleClick();
    void twoDoubleClicks();
    void noRecordNoRequest();
    void actions();
    void activeFileSignalsOnce();
    void neighbourPictureKeys_data();
    void neighbourPictureKeys();
    void neighbourKeysOnlyOnPictureTab();
    void enterOpens_data();
    void enterOpens();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QList<QUrlInfo *> m_records;
    std::unique_ptr<Dossview> m_view;
    std::unique_ptr<DossviewProbe> m_probe;
    ImageFile m_picture;

    QLabel *label(int row) const
    {
        return qobject_cast<QLabel *>(m_probe->ledgerview()->cellWidget(row, 1));
    }
};

void tst_DossviewSelection::initTestCase()
{
    qRegisterMetaType<DeviceManager::Mode>();
}

void tst_DossviewSelection::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    for (int i = 0; i < 4; ++i) {
        const QString path = m_dir->filePath(QStringLiteral("IMG%1.BMP").arg(i));
        QVERIFY(TestPictures::writeFile(path, TestPictures::instrumentPicture(i)));
        m_records.append(recordFor(path));
    }
    m_view.reset(new Dossview(DeviceManager::UsbFile, QStringLiteral("EN")));
    m_probe.reset(new DossviewProbe(m_view.get()));
    m_view->setFiles(m_records);
    // Every thumbnail in place before the test begins.
    QVERIFY(m_probe->thumbnailThread()->wait(5000));
    QCoreApplication::processEvents();
    QCOMPARE(m_probe->mosaicview()->item(3)->icon().pixmap(QSize(144, 192)).size(),
             QSize(144, 108));

    m_picture.image = QImage(16, 12, QImage::Format_RGB32);
    m_picture.image.fill(Qt::blue);
    m_picture.path = QStringLiteral("/card/shown.bmp");
}

void tst_DossviewSelection::cleanup()
{
    m_probe.reset();
    m_view.reset();
    qDeleteAll(m_records);
    m_records.clear();
    m_dir.reset();
}

void tst_DossviewSelection::gridFollowsTable()
{
    QSignalSpy gridRows(m_probe->mosaicview(), &QListWidget::currentRowChanged);
    m_probe->ledgerview()->setCurrentCell(2, 0);
    QCOMPARE(m_probe->mosaicview()->currentRow(), 2);
    QCOMPARE(gridRows.count(), 1);
    m_probe->ledgerview()->setCurrentCell(0, 4);
    QCOMPARE(m_probe->mosaicview()->currentRow(), 0);
    QCOMPARE(m_probe->ledgerview()->currentRow(), 0);
}

void tst_DossviewSelection::tableFollowsGrid()
{
    QSignalSpy tableRows(m_probe->ledgerview()->selectionModel(),
                         &QItemSelectionModel::currentRowChanged);
    m_probe->mosaicview()->setCurrentRow(3);
    QCOMPARE(m_probe->ledgerview()->currentRow(), 3);
    QCOMPARE(tableRows.count(), 1);
    QCOMPARE(m_probe->mosaicview()->currentRow(), 3);
}

void tst_DossviewSelection::clearedGrid()
{
    m_probe->mosaicview()->setCurrentRow(1);
    QCOMPARE(m_probe->ledgerview()->currentRow(), 1);
    QSignalSpy tableRows(m_probe->ledgerview()->selectionModel(),
                         &QItemSelectionModel::currentRowChanged);
    m_probe->mosaicview()->clear();
    QCOMPARE(m_probe->mosaicview()->currentRow(), -1);
    QCOMPARE(m_probe->ledgerview()->currentRow(), 1);
    QCOMPARE(tableRows.count(), 0);
}

void tst_DossviewSelection::iconAlreadySet()
{
    QListWidgetItem *item = m_probe->mosaicview()->item(1);
    const QImage before = item->icon().pixmap(QSize(144, 192)).toImage();
    // Another picture on the disk now: only reading the file would show it.
    QVERIFY(TestPictures::writeFile(m_records.at(1)->name(), TestPictures::instrumentPicture(77)));
    m_probe->mosaicview()->setCurrentRow(1);
    QCOMPARE(item->icon().pixmap(QSize(144, 192)).toImage(), before);
    QCOMPARE(m_probe->ledgerview()->currentRow(), 1);
}

void tst_DossviewSelection::nullIconFilledAtOnce()
{
    QListWidgetItem *item = m_probe->mosaicview()->item(2);
    item->setIcon(QIcon());
    m_probe->mosaicview()->setCurrentRow(2);
    QCOMPARE(item->icon().pixmap(QSize(144, 192)).toImage(),
             qtThumbnail(m_records.at(2)->name(), QSize(144, 192)));
    QVERIFY(!item->isHidden());
    QCOMPARE(m_probe->ledgerview()->currentRow(), 2);
}

void tst_DossviewSelection::goneFileKeepsNullIcon()
{
    QListWidgetItem *item = m_probe->mosaicview()->item(2);
    item->setIcon(QIcon());
    QVERIFY(QFile::remove(m_records.at(2)->name()));
    m_probe->mosaicview()->setCurrentRow(2);
    QVERIFY(item->icon().isNull());
    QVERIFY(!item->isHidden());
    QCOMPARE(m_probe->ledgerview()->currentRow(), 2);
}

void tst_DossviewSelection::labelFilledAtOnce()
{
    label(1)->setPixmap(QPixmap());
    label(2)->setPixmap(QPixmap());
    QVERIFY(QFile::remove(m_records.at(2)->name()));
    m_probe->ledgerview()->setCurrentCell(1, 0);
    QCOMPARE(label(1)->pixmap(Qt::ReturnByValue).toImage(),
             qtThumbnail(m_records.at(1)->name(), QSize(34, 34)));
    m_probe->ledgerview()->setCurrentCell(2, 0);
    QVERIFY(label(2)->pixmap(Qt::ReturnByValue).isNull());
    QCOMPARE(m_probe->mosaicview()->currentRow(), 2);
}

void tst_DossviewSelection::tableDoubleClick_data()
{
    QTest::addColumn<int>("column");
    QTest::newRow("No.") << 0;
    QTest::newRow("Name") << 2;
    QTest::newRow("Date/Time") << 3;
    QTest::newRow("Size") << 4;
}

void tst_DossviewSelection::tableDoubleClick()
{
    QFETCH(int, column);
    m_view->setFile(&m_picture);
    QSignalSpy pulls(m_view.get(), &Panelet::pullImage);
    Ledgerview *table = m_probe->ledgerview();
    emit table->itemDoubleClicked(table->item(2, column));
    QCOMPARE(pulls.count(), 1);
    QCOMPARE(requested(pulls.first()), reinterpret_cast<quintptr>(m_records.at(2)));
    QCOMPARE(pulls.first().at(1).value<DeviceManager::Mode>(), DeviceManager::UsbFile);
    QVERIFY(m_view->picturePage()->picture().isNull());
}

void tst_DossviewSelection::gridDoubleClick()
{
    QSignalSpy pulls(m_view.get(), &Panelet::pullImage);
    m_view->setFile(&m_picture);
    emit m_probe->mosaicview()->itemDoubleClicked(m_probe->mosaicview()->item(3));
    QCOMPARE(pulls.count(), 1);
    QCOMPARE(requested(pulls.first()), reinterpret_cast<quintptr>(m_records.at(3)));
    QCOMPARE(pulls.first().at(1).value<DeviceManager::Mode>(), DeviceManager::UsbFile);
    QVERIFY(m_view->picturePage()->picture().isNull());
    // Clearing the picture leaves the tab where it was.
    QCOMPARE(m_view->tabWidget()->currentIndex(), 1);
}

void tst_DossviewSelection::twoDoubleClicks()
{
    QSignalSpy pulls(m_view.get(), &Panelet::pullImage);
    QListWidgetItem *item = m_probe->mosaicview()->item(0);
    for (int click = 1; click <= 2; ++click) {
        m_view->setFile(&m_picture);
        emit m_probe->mosaicview()->itemDoubleClicked(item);
        QCOMPARE(pulls.count(), click);
        QVERIFY(m_view->picturePage()->picture().isNull());
    }
}

void tst_DossviewSelection::noRecordNoRequest()
{
    QSignalSpy pulls(m_view.get(), &Panelet::pullImage);
    m_view->setFile(&m_picture);
    QListWidgetItem loose(QStringLiteral("no record"));
    emit m_probe->mosaicview()->itemDoubleClicked(&loose);
    emit m_probe->mosaicview()->itemDoubleClicked(nullptr);
    emit m_probe->ledgerview()->itemDoubleClicked(nullptr);
    m_probe->ledgerview()->item(1, 2)->setData(Qt::UserRole + 1, QVariant());
    emit m_probe->ledgerview()->itemDoubleClicked(m_probe->ledgerview()->item(1, 0));
    QCOMPARE(pulls.count(), 0);
    QVERIFY(!m_view->picturePage()->picture().isNull());
}

void tst_DossviewSelection::actions()
{
    QStackedLayout *stack = m_probe->stackedLayout();
    QCOMPARE(stack->currentIndex(), 0);
    m_probe->listAction()->trigger();
    QCOMPARE(stack->currentIndex(), 1);
    m_probe->listAction()->trigger();
    QCOMPARE(stack->currentIndex(), 1);
    m_probe->tableAction()->trigger();
    QCOMPARE(stack->currentIndex(), 0);
    m_probe->tableAction()->trigger();
    QCOMPARE(stack->currentIndex(), 0);
    // Not sent by an action: nothing happens.
    QVERIFY(QMetaObject::invokeMethod(m_view.get(), "slotActionTriggered", Q_ARG(bool, true)));
    m_probe->listAction()->trigger();
    QVERIFY(QMetaObject::invokeMethod(m_view.get(), "slotActionTriggered"));
    QCOMPARE(stack->currentIndex(), 1);
}

void tst_DossviewSelection::activeFileSignalsOnce()
{
    Mosaicview *grid = m_probe->mosaicview();
    Ledgerview *table = m_probe->ledgerview();
    grid->setCurrentRow(1);
    QSignalSpy gridRows(grid, &QListWidget::currentRowChanged);
    QSignalSpy tableRows(table->selectionModel(), &QItemSelectionModel::currentRowChanged);
    grid->setActiveFile(m_records.at(1));
    table->setActiveFile(m_records.at(1));
    QCOMPARE(gridRows.count(), 0);
    QCOMPARE(tableRows.count(), 0);
    grid->setActiveFile(m_records.at(3));
    QCOMPARE(grid->currentRow(), 3);
    QCOMPARE(table->currentRow(), 3);
    QCOMPARE(gridRows.count(), 1);
    QCOMPARE(tableRows.count(), 1);
    // An unknown record moves nothing.
    QUrlInfo stranger;
    grid->setActiveFile(&stranger);
    table->setActiveFile(&stranger);
    QCOMPARE(grid->currentRow(), 3);
    QCOMPARE(table->currentRow(), 3);
}

void tst_DossviewSelection::neighbourPictureKeys_data()
{
    QTest::addColumn<bool>("fromTable");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("opened"); // -1: nothing is asked for

    QTest::newRow("right from the first") << false << 0 << int(Qt::Key_Right) << 1;
    QTest::newRow("left from the first") << false << 0 << int(Qt::Key_Left) << -1;
    QTest::newRow("page up from the first") << false << 0 << int(Qt::Key_PageUp) << -1;
    QTest::newRow("left from the middle") << false << 2 << int(Qt::Key_Left) << 1;
    QTest::newRow("page down from the middle") << true << 1 << int(Qt::Key_PageDown) << 2;
    QTest::newRow("right from the last") << true << 3 << int(Qt::Key_Right) << -1;
    QTest::newRow("page down from the last") << false << 3 << int(Qt::Key_PageDown) << -1;
    QTest::newRow("page up from the last") << true << 3 << int(Qt::Key_PageUp) << 2;
    QTest::newRow("home from the middle") << false << 2 << int(Qt::Key_Home) << 0;
    QTest::newRow("end from the first") << true << 0 << int(Qt::Key_End) << 3;
}

void tst_DossviewSelection::neighbourPictureKeys()
{
    QFETCH(bool, fromTable);
    QFETCH(int, shown);
    QFETCH(int, key);
    QFETCH(int, opened);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowActive(m_view.get()));

    // Opened by a double click in one view, shown when the picture comes.
    Mosaicview *grid = m_probe->mosaicview();
    Ledgerview *table = m_probe->ledgerview();
    if (fromTable) {
        table->setCurrentCell(shown, 2);
        emit table->itemDoubleClicked(table->item(shown, 2));
    } else {
        grid->setCurrentRow(shown);
        emit grid->itemDoubleClicked(grid->item(shown));
    }
    m_view->setFile(&m_picture);
    QCOMPARE(m_view->tabWidget()->currentWidget(), m_view->picturePage());
    QTRY_VERIFY(m_view->picturePage()->hasFocus());

    QSignalSpy pulls(m_view.get(), &Panelet::pullImage);
    QTest::keyClick(m_view->picturePage(), Qt::Key(key));
    const int selected = opened >= 0 ? opened : shown;
    QCOMPARE(grid->currentRow(), selected);
    QCOMPARE(table->currentRow(), selected);
    if (opened < 0) {
        QCOMPARE(pulls.count(), 0);
        QVERIFY(!m_view->picturePage()->picture().isNull());
        return;
    }
    QCOMPARE(pulls.count(), 1);
    QCOMPARE(requested(pulls.first()), reinterpret_cast<quintptr>(m_records.at(opened)));
    QCOMPARE(pulls.first().at(1).value<DeviceManager::Mode>(), DeviceManager::UsbFile);
    QVERIFY(m_view->picturePage()->picture().isNull());
    QCOMPARE(m_view->tabWidget()->currentWidget(), m_view->picturePage());
}

void tst_DossviewSelection::neighbourKeysOnlyOnPictureTab()
{
    m_view->show();
    QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
    Mosaicview *grid = m_probe->mosaicview();
    grid->setCurrentRow(1);
    grid->setFocus();
    QSignalSpy pulls(m_view.get(), &Panelet::pullImage);
    // On the files tab the grid has the arrow keys to itself.
    QTest::keyClick(grid, Qt::Key_Right);
    QTest::keyClick(grid, Qt::Key_PageDown);
    QCOMPARE(pulls.count(), 0);
    QCOMPARE(m_view->tabWidget()->currentIndex(), 0);
}

void tst_DossviewSelection::enterOpens_data()
{
    QTest::addColumn<int>("page"); // of the stacked views
    QTest::addColumn<int>("key");
    QTest::newRow("grid, Return") << 0 << int(Qt::Key_Return);
    QTest::newRow("table, Enter") << 1 << int(Qt::Key_Enter);
}

void tst_DossviewSelection::enterOpens()
{
    QFETCH(int, page);
    QFETCH(int, key);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
    m_probe->stackedLayout()->setCurrentIndex(page);
    m_probe->ledgerview()->setCurrentCell(2, 1); // the grid follows; this cell holds no item
    QWidget *view = m_probe->stackedLayout()->currentWidget();
    view->setFocus();
    QSignalSpy pulls(m_view.get(), &Panelet::pullImage);
    QTest::keyClick(view, Qt::Key(key));
    QCOMPARE(pulls.count(), 1);
    QCOMPARE(requested(pulls.first()), reinterpret_cast<quintptr>(m_records.at(2)));
}

QTEST_MAIN(tst_DossviewSelection)
#include "tst_dossviewselection.moc"
