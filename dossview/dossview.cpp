#include "dossview.h"

#include "diplaythumbnailthread.h"
#include "findfiles.h"
#include "imagefile.h"
#include "ledgerview.h"
#include "localtimetext.h"
#include "mosaicview.h"
#include "picturechecks.h"
#include "picturepage.h"
#include "qurlinfo.h"
#include "thermogramcanvas.h"
#include "thumbnailbatch.h"
#include "thumbnaildecoder.h"
#include "thumbnailiconengine.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QPointer>
#include <QShortcut>
#include <QSplitter>
#include <QStackedLayout>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <utility>

namespace {

// Item data role of the record pointer, in every grid item and every table name item.
constexpr int RecordRole = Qt::UserRole + 1;

QVariant recordData(QUrlInfo *record)
{
    return QVariant::fromValue<quintptr>(reinterpret_cast<quintptr>(record));
}

QUrlInfo *recordOf(const QVariant &data)
{
    return reinterpret_cast<QUrlInfo *>(data.value<quintptr>());
}

// Qt keeps an item's data in an array that grows as roles are added one by one: to room for
// four roles, then for nine. An item read from a data stream holds exactly the roles that were
// written, and copies of it keep that size when they are given values of their own. Every item
// of a listing is such a copy of a prototype holding its roles.
template <typename Item> std::unique_ptr<Item> fitted(const Item &item)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << item;
    auto prototype = std::make_unique<Item>();
    QDataStream in(bytes);
    in >> *prototype;
    return prototype;
}

std::unique_ptr<QTableWidgetItem> tablePrototype(int alignment, bool record = false)
{
    QTableWidgetItem item { QString() };
    if (record)
        item.setData(RecordRole, recordData(nullptr));
    item.setTextAlignment(alignment);
    return fitted(item);
}

// A table cell's item: a copy of the item above when it has the same text, so that the two share
// their data (most pictures of a card are as large, many are taken in the same minute).
QTableWidgetItem *itemAfter(const QTableWidgetItem *above, const QTableWidgetItem &prototype,
                            const QString &text)
{
    // Setting even the same text would give the copy data of its own.
    if (above && above->text() == text)
        return above->clone();
    QTableWidgetItem *item = prototype.clone();
    item->setText(text);
    return item;
}

QString fileNameOf(const QString &path)
{
#ifdef Q_OS_UNIX
    // What QFileInfo gives, without parsing the whole path into an entry first.
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
#else
    return QFileInfo(path).fileName();
#endif
}

} // namespace

Dossview::Dossview(DeviceManager::Mode mode, const QString &language, QWidget *parent,
                   Qt::WindowFlags flags)
    : Panelet(mode, language, parent, flags)
    , locale(QLocale())
{
    Panelet::initAction();
    Dossview::initWidget();
    Dossview::initConnection();
}

Dossview::~Dossview()
{
    // Destroyed without a close event: the worker goes first, as on close. The views go with
    // the widget tree after this body; nothing they emit on the way may reach these slots.
    stopDiplayThumbnailThread();
    disconnect(mosaicview, nullptr, this, nullptr);
    disconnect(ledgerview, nullptr, this, nullptr);
    disconnect(ledgerview->selectionModel(), nullptr, this, nullptr);
    disconnect(diskList, nullptr, this, nullptr);
    releaseRecords(retiredFiles);
    releaseRecords(files);
}

void Dossview::initWidget()
{
    Panelet::initWidget();

    listAction = new QAction(QIcon(QStringLiteral(":/image/list.png")), tr("List"), this);
    listAction->setData(1);
    connect(listAction, &QAction::triggered, this, &Dossview::slotActionTriggered);
    tableAction = new QAction(QIcon(QStringLiteral(":/image/table.png")), tr("Table"), this);
    tableAction->setData(0);
    connect(tableAction, &QAction::triggered, this, &Dossview::slotActionTriggered);

    toolBar = new QToolBar(this);
    auto *spacer = new QWidget(toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolBar->addWidget(spacer);
    toolBar->addAction(tableAction);
    toolBar->addAction(listAction);

    mosaicview = new Mosaicview(this);
    // The icons on screen stay expanded however large the window grows.
    ThumbnailIconEngine::followView(mosaicview);
    ledgerview = new Ledgerview(this);
    ledgerview->setColumnCount(5);
    ledgerview->setHorizontalHeaderLabels(
        { tr("No."), tr("Picture"), tr("Name"), tr("Date/Time"), tr("Size") });
    ledgerview->setFrameShape(QFrame::NoFrame);
    ledgerview->setShowGrid(false);
    ledgerview->setSelectionMode(QAbstractItemView::SingleSelection);
    ledgerview->setSelectionBehavior(QAbstractItemView::SelectRows);
    ledgerview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView *header = ledgerview->horizontalHeader();
    header->setDefaultSectionSize(150);
    header->setSectionsClickable(false);
    header->setStretchLastSection(true);
    header->setHighlightSections(false);
    header->resizeSection(0, 80);
    header->resizeSection(1, 50);
    header->resizeSection(2, 180);
    header->resizeSection(3, 180);
    ledgerview->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ledgerview->verticalHeader()->setHidden(true);

    stackedLayout = new QStackedLayout;
    stackedLayout->setContentsMargins(1, 1, 1, 1);
    stackedLayout->setSpacing(1);
    stackedLayout->addWidget(mosaicview);
    stackedLayout->addWidget(ledgerview);
    stackedLayout->setCurrentIndex(0);

    auto *viewFrame = new QFrame(this);
    viewFrame->setStyleSheet(QStringLiteral("QFrame{border: 0px;}"));
    viewFrame->setLayout(stackedLayout);

    auto *viewLayout = new QVBoxLayout;
    viewLayout->addWidget(toolBar);
    viewLayout->addWidget(viewFrame);
    auto *viewPanel = new QFrame;
    viewPanel->setLayout(viewLayout);

    diskList = new QListWidget;
    diskList->setStyleSheet(QStringLiteral("border: 0px"));
    diskList->setMinimumWidth(60);
    diskList->setMaximumWidth(160);

    auto *removable = new QLabel(tr("Removable"));
    removable->setMinimumHeight(28);
    removable->setAlignment(Qt::AlignCenter);
    removable->setStyleSheet(
        QStringLiteral("QLabel{font-weight: bold;color: #F0F0F0;background-color:#767676;"
                       "border-top-left-radius: 3px;border-top-right-radius: 3px;"
                       "border-bottom: 2px solid #DC5000;}"));

    auto *diskLayout = new QVBoxLayout;
    diskLayout->setSpacing(3);
    diskLayout->addWidget(removable);
    diskLayout->addWidget(diskList);
    auto *diskPanel = new QFrame;
    diskPanel->setLayout(diskLayout);

    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->setHandleWidth(3);
    splitter->addWidget(diskPanel);
    splitter->addWidget(viewPanel);
    splitter->setStretchFactor(1, 1);
    // The column is never wider than its list may be, so that the heading and the list keep
    // one width however the splitter is dragged (the margins are a child widget's by now).
    const QMargins margins = diskLayout->contentsMargins();
    diskPanel->setMaximumWidth(diskList->maximumWidth() + margins.left() + margins.right());

    m_picturePage->canvas()->setPlaceholderText(tr("Double-click a picture to open it here."));
    m_tabWidget->insertTab(0, splitter, tr("&Files"));
    m_tabWidget->setCurrentIndex(0);
}

void Dossview::initConnection()
{
    Panelet::initConnection();

    connect(mosaicview, &QListWidget::itemDoubleClicked, this,
            &Dossview::slotMosaicviewItemDoubleClicked);
    connect(mosaicview, &QListWidget::currentRowChanged, this,
            &Dossview::slotMosaicviewCurrentRowChanged);
    connect(ledgerview->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &Dossview::slotLedgerviewCurrentRowChanged);
    connect(ledgerview, &QTableWidget::itemDoubleClicked, this,
            &Dossview::slotLedgerviewItemDoubleClicked);
    connect(diskList, &QListWidget::itemClicked, this, &Dossview::slotDiskListItemClicked);

    // On the picture tab the arrow and page keys open the listing's neighbouring pictures.
    const std::pair<Qt::Key, int> steps[] = {
        { Qt::Key_Left, -1 }, { Qt::Key_PageUp, -1 }, { Qt::Key_Right, 1 }, { Qt::Key_PageDown, 1 }
    };
    for (const auto &[key, step] : steps) {
        auto *shortcut = new QShortcut(QKeySequence(key), m_picturePage, nullptr, nullptr,
                                       Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this,
                [this, step = step] { openNeighbourPicture(step); });
    }
    // Home and End open the listing's first and last picture.
    for (const Qt::Key key : { Qt::Key_Home, Qt::Key_End }) {
        auto *shortcut = new QShortcut(QKeySequence(key), m_picturePage, nullptr, nullptr,
                                       Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this,
                [this, key] { openPicture(key == Qt::Key_Home ? 0 : mosaicview->count() - 1); });
    }
    // Enter on the current entry of either view opens it, as a double click does.
    for (const Qt::Key key : { Qt::Key_Return, Qt::Key_Enter }) {
        auto *onGrid
            = new QShortcut(QKeySequence(key), mosaicview, nullptr, nullptr, Qt::WidgetShortcut);
        connect(onGrid, &QShortcut::activated, this,
                [this] { slotMosaicviewItemDoubleClicked(mosaicview->currentItem()); });
        auto *onTable
            = new QShortcut(QKeySequence(key), ledgerview, nullptr, nullptr, Qt::WidgetShortcut);
        connect(onTable, &QShortcut::activated, this, [this] {
            // The picture column holds a label, not an item: the row is what counts.
            const int row = ledgerview->currentRow();
            if (row >= 0)
                slotLedgerviewItemDoubleClicked(ledgerview->item(row, 2));
        });
    }
    // The picture tab takes the keys, but only in the window the user is in: focus given to a
    // window behind would bring it forward. A window brought forward later gives it then.
    connect(m_tabWidget, &QTabWidget::currentChanged, this, [this] { focusPicturePage(); });
    connect(this, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates before, Qt::WindowStates now) {
                // After the area has finished activating, which restores the old focus.
                if (now.testFlag(Qt::WindowActive) && !before.testFlag(Qt::WindowActive))
                    QTimer::singleShot(0, this, &Dossview::focusPicturePage);
            });
}

void Dossview::focusPicturePage()
{
    if (m_tabWidget->currentWidget() != m_picturePage || m_picturePage->hasFocus())
        return;
    if (QMdiArea *area = mdiArea(); area && area->activeSubWindow() != this)
        return;
    m_picturePage->setFocus();
}

void Dossview::setFile(ImageFile *file)
{
    Panelet::setFile(file);
    if (file)
        m_tabWidget->setCurrentIndex(1);
}

void Dossview::setFiles(QList<QUrlInfo *> records)
{
    const QPointer<Dossview> alive(this);
    const quint64 closesBefore = closeCount;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // That pass may have closed this window, or even deleted it with its records.
    if (!alive || closeCount != closesBefore) {
        QGuiApplication::restoreOverrideCursor();
        return;
    }

    if (mode() == DeviceManager::UsbFile) {
        stopDiplayThumbnailThread();
        setFile(nullptr);
        // Each file name is written once, for both views.
        QStringList names;
        names.reserve(records.size());
        for (const QUrlInfo *record : qAsConst(records))
            names.append(record ? fileNameOf(record->name()) : QString());
        fillLedgerview(records, names);
        fillMosaicview(records, names);
        if (!records.isEmpty())
            startDiplayThumbnailThread();
    }

    QGuiApplication::restoreOverrideCursor();
}

void Dossview::fillLedgerview(const QList<QUrlInfo *> &records, const QStringList &fileNames)
{
    ledgerview->setUpdatesEnabled(false);
    ledgerview->clearContents();
    ledgerview->setRowCount(records.size());

    const QPixmap picture = QPixmap(QStringLiteral(":/image/picture.png"))
                                .scaledToHeight(24, Qt::SmoothTransformation);
    const QString dateFormat = locale.dateTimeFormat(QLocale::ShortFormat);
    LocalTimeText localTimes(locale, dateFormat);
    qint64 textedSize = 0;
    QString textedSizeText;
    const auto numbers = tablePrototype(Qt::AlignRight);
    const auto names = tablePrototype(Qt::AlignCenter, true);
    const auto dates = tablePrototype(Qt::AlignCenter);
    const auto sizes = tablePrototype(Qt::AlignRight | Qt::AlignVCenter);
    for (int i = 0; i < records.size(); ++i) {
        const QUrlInfo *record = records.at(i);

        QTableWidgetItem *number = numbers->clone();
        number->setText(QString::number(i + 1));
        ledgerview->setItem(i, 0, number);

        // Made inside the viewport, where the cell puts it anyway.
        auto *label = new QLabel(ledgerview->viewport());
        label->setAlignment(Qt::AlignCenter);
        label->setPixmap(picture);
        ledgerview->setCellWidget(i, 1, label);

        QTableWidgetItem *name = names->clone();
        name->setText(fileNames.at(i));
        name->setData(RecordRole, recordData(records.at(i)));
        ledgerview->setItem(i, 2, name);

        QString dateText;
        if (record) {
            const qint64 modified = record->lastModifiedMSecs();
            // 0: no time, or a time given as one at the epoch itself
            dateText = modified ? localTimes.text(modified)
                                : locale.toString(record->lastModified(), dateFormat);
        }
        ledgerview->setItem(i, 3, itemAfter(ledgerview->item(i - 1, 3), *dates, dateText));

        QString sizeText;
        if (record) {
            // The instrument's pictures are all as large: the text is written once.
            if (record->size() != textedSize || textedSizeText.isNull()) {
                const double kilobytes = double(record->size()) * 0.0009765625;
                textedSize = record->size();
                textedSizeText = QStringLiteral(" %1KB").arg(locale.toString(kilobytes, 'f', 1));
            }
            sizeText = textedSizeText;
        }
        ledgerview->setItem(i, 4, itemAfter(ledgerview->item(i - 1, 4), *sizes, sizeText));
    }
    ledgerview->setUpdatesEnabled(true);
}

void Dossview::fillMosaicview(const QList<QUrlInfo *> &records, const QStringList &fileNames)
{
    const QIcon picture(QPixmap(QStringLiteral(":/image/picture.png"))
                            .scaled(144, 192, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    QListWidgetItem roles;
    roles.setData(RecordRole, recordData(nullptr));
    roles.setData(Qt::DecorationRole, QIcon());
    roles.setText(QString());
    roles.setToolTip(QString());
    roles.setStatusTip(QString());
    const auto prototype = fitted(roles);
    prototype->setIcon(picture);
    mosaicview->setUpdatesEnabled(false);
    mosaicview->clear();
    for (int i = 0; i < records.size(); ++i) {
        QUrlInfo *record = records.at(i);
        const QString path = record ? record->name() : QString();
        auto *item = new QListWidgetItem(*prototype);
        item->setData(RecordRole, recordData(record));
        item->setText(fileNames.at(i));
        item->setToolTip(path);
        item->setStatusTip(path);
        mosaicview->insertItem(mosaicview->count(), item);
    }
    mosaicview->setUpdatesEnabled(true);
}

void Dossview::startDiplayThumbnailThread()
{
    thumbnails = ThumbnailBatch::fromViews(mosaicview, ledgerview);
    thumbnailThread = new DiplayThumbnailThread;
    thumbnailThread->owner = this;
    thumbnailThread->setBatch(thumbnails);
    connect(thumbnailThread, &DiplayThumbnailThread::addLabel, this,
            &Dossview::slotLister2AddLabel);
    connect(thumbnailThread, &DiplayThumbnailThread::refreshLister1, this,
            &Dossview::slotRefreshLister1);
    if (!thumbnailThread->isRunning())
        thumbnailThread->start(QThread::InheritPriority);
}

void Dossview::setUDisks(QStringList newDisks)
{
    disks = newDisks;
    diskList->clear();
    const QIcon card(QStringLiteral(":/image/sdCard3.png"));
    for (const QString &disk : qAsConst(disks)) {
        auto *item = new QListWidgetItem(card, disk);
        item->setToolTip(QDir::toNativeSeparators(disk));
        diskList->addItem(item);
    }
    if (diskList->count() > 0) {
        diskList->setCurrentRow(0);
        showFiles(diskList->currentItem()->text());
    }
}

void Dossview::closeEvent(QCloseEvent *event)
{
    stopDiplayThumbnailThread();
    setFile(nullptr);
    Panelet::closeEvent(event);
    if (event->isAccepted())
        ++closeCount; // a listing in progress ends where it stands
}

void Dossview::setNewPath(const QString &path, bool)
{
    setFile(nullptr);
    const QString root = QString("%1").arg(path);
    // The candidates of each folder are checked while the walk goes on.
    QFileInfoList found;
    PictureChecks checks;
    int handedOver = 0;
    findFiles(root, QStringLiteral("bmp"), found, [&] {
        checks.add(found.mid(handedOver));
        handedOver = found.size();
    });

    // The views may still show these records until the new listing replaces them.
    retiredFiles.append(files);
    files.clear();

    files = checks.records();
}

void Dossview::showFiles(const QString &path)
{
    // A listing passes through the event loop twice, and a click on a disk or a fresh disk
    // list may arrive there. Such a listing is noted, the latest one only, and runs when the
    // one in progress is done: no listing ever fills the views from records another retired.
    if (listingInProgress) {
        pendingListing = path;
        return;
    }
    listingInProgress = true;
    QString next = path;
    for (;;) {
        if (!listDisk(next))
            return; // the window is gone, or closed: nothing more to list
        if (!pendingListing)
            break;
        next = *std::exchange(pendingListing, std::nullopt);
    }
    listingInProgress = false;
}

bool Dossview::listDisk(const QString &path)
{
    const QPointer<Dossview> alive(this);
    const quint64 closesBefore = closeCount;
    const auto stillListing = [&] { return alive && closeCount == closesBefore; };

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents(QEventLoop::AllEvents);

    bool listed = stillListing();
    if (listed) {
        setNewPath(path, false);
        setFiles(files);
        listed = stillListing();
    }
    if (listed) {
        m_tabWidget->setCurrentIndex(0);
        emit updateFiles(files, DeviceManager::UsbFile);
        // The views show the new listing, the old worker is gone and Tethra has the new list:
        // nothing refers to the previous records any more.
        if (mode() == DeviceManager::UsbFile)
            releaseRecords(retiredFiles);
    } else if (alive) {
        // Closed meanwhile: what was noted is not listed either.
        listingInProgress = false;
        pendingListing.reset();
    }

    QGuiApplication::restoreOverrideCursor();
    return listed;
}

void Dossview::releaseRecords(QList<QUrlInfo *> &records)
{
    qDeleteAll(records);
    records.clear();
}

void Dossview::stopDiplayThumbnailThread()
{
    if (!thumbnailThread)
        return;
    DiplayThumbnailThread *worker = thumbnailThread;
    thumbnailThread = nullptr;
    thumbnails.reset();

    if (worker->isRunning()) {
        worker->stopRequested = true;
        worker->wait(5000);
    }
    if (worker->isRunning()) {
        // Never delete a running thread: cut it off and let it go when it finishes.
        disconnect(worker, nullptr, this, nullptr);
        worker->letGo();
        return;
    }
    delete worker;
}

void Dossview::slotActionTriggered(bool)
{
    auto *action = qobject_cast<QAction *>(sender());
    if (!action)
        return;
    stackedLayout->setCurrentIndex(action->data().toInt());
}

void Dossview::slotMosaicviewItemDoubleClicked(QListWidgetItem *item)
{
    if (!item)
        return;
    QUrlInfo *record = recordOf(item->data(RecordRole));
    if (!record)
        return;
    setFile(nullptr);
    emit pullImage(reinterpret_cast<QObject *>(record), mode());
}

void Dossview::slotMosaicviewCurrentRowChanged(int row)
{
    if (row < 0)
        return;
    QListWidgetItem *item = mosaicview->item(row);
    if (!item)
        return;
    QUrlInfo *record = recordOf(item->data(RecordRole));
    if (item->icon().isNull()) {
        if (record) {
            const QFileInfo info(record->name());
            if (info.exists()) {
                ThumbnailDecoder decoder;
                item->setIcon(ThumbnailIconEngine::icon(CompactImage::fromImage(
                    decoder.decodeFile(info.absoluteFilePath(), ThumbnailDecoder::Grid).grid)));
            }
        }
        item->setHidden(true);
        item->setHidden(false);
    }
    ledgerview->setActiveFile(record);
}

void Dossview::slotLedgerviewCurrentRowChanged(const QModelIndex &current, const QModelIndex &)
{
    if (!current.isValid())
        return;
    auto *label = qobject_cast<QLabel *>(ledgerview->cellWidget(current.row(), 1));
    const QTableWidgetItem *nameItem = ledgerview->item(current.row(), 2);
    QUrlInfo *record = nameItem ? recordOf(nameItem->data(RecordRole)) : nullptr;
    if (label && label->pixmap(Qt::ReturnByValue).isNull() && record) {
        const QFileInfo info(record->name());
        if (info.exists()) {
            ThumbnailDecoder decoder;
            label->setPixmap(QPixmap::fromImage(
                decoder.decodeFile(info.absoluteFilePath(), ThumbnailDecoder::Table).table));
        }
    }
    mosaicview->setActiveFile(record);
}

void Dossview::slotLedgerviewItemDoubleClicked(QTableWidgetItem *item)
{
    if (!item)
        return;
    const QTableWidgetItem *nameItem = ledgerview->item(item->row(), 2);
    QUrlInfo *record = nameItem ? recordOf(nameItem->data(RecordRole)) : nullptr;
    if (!record)
        return;
    setFile(nullptr);
    emit pullImage(reinterpret_cast<QObject *>(record), mode());
}

void Dossview::openNeighbourPicture(int step)
{
    // The grid's current entry is the picture on show: a double click in either view made it
    // current. The table follows the grid through the row-change slots.
    const int current = mosaicview->currentRow();
    if (current >= 0)
        openPicture(current + step);
}

void Dossview::openPicture(int row)
{
    // The picture on show stays as it is.
    if (row < 0 || row >= mosaicview->count()
        || (row == mosaicview->currentRow() && !m_picturePage->picture().isNull()))
        return;
    mosaicview->setCurrentRow(row);
    slotMosaicviewItemDoubleClicked(mosaicview->item(row));
}

void Dossview::slotDiskListItemClicked(QListWidgetItem *item)
{
    if (!item || item->text().trimmed().isEmpty())
        return;
    showFiles(item->text());
}

void Dossview::slotLister2AddLabel(int row, QLabel *label)
{
    bool fresh = false;
    QImage image;
    // Only rows of the current listing, and only the label still in that row's cell. The
    // label is checked first: a stale signal of an old worker must not take the row's entry.
    if (!thumbnails || ledgerview->cellWidget(row, 1) != label
        || !thumbnails->takeTable(row, &fresh, &image)) {
        return;
    }
    if (fresh)
        label->setPixmap(QPixmap::fromImage(std::move(image)));
    ledgerview->setCellWidget(row, 1, label);
}

void Dossview::slotRefreshLister1(int row)
{
    bool fresh = false;
    CompactImage image;
    if (!thumbnails || !thumbnails->takeGrid(row, &fresh, &image))
        return;
    QListWidgetItem *item = mosaicview->item(row);
    if (!item)
        return;
    if (fresh)
        item->setIcon(ThumbnailIconEngine::icon(image));
    if (row % 10 == 0 || row == mosaicview->count() - 1) {
        // The grid lays itself out again; it repaints what the new layout changed on screen.
        mosaicview->setRepaintsHeld(true);
        item->setHidden(true);
        item->setHidden(false);
        mosaicview->setRepaintsHeld(false);
    }
}
