#include "listingrun.h"

#include "ledgerview.h"
#include "mosaicview.h"
#include "timedapplication.h"
#include "timeddossview.h"

#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QScrollBar>
#include <QStackedLayout>
#include <QTimer>

#include <ctime>

namespace {

constexpr int TickMs = 1;

// Qt names a QThread's system thread after the object's class (cut to 15 characters), so the
// worker shows in /proc whatever Dossview does with its pointer.
bool workerThreadExists()
{
    const QStringList tasks
        = QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &task : tasks) {
        QFile comm(QStringLiteral("/proc/self/task/%1/comm").arg(task));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().startsWith("DiplayThumbnail"))
            return true;
    }
    return false;
}

} // namespace

ListingRun::ListingRun()
    : area(new QMdiArea)
    , ticker(new QTimer(this))
{
    clock.start();
    window = new TimedDossview(&clock);
    area->resize(1280, 800);
    area->addSubWindow(window);
    window->showMaximized();
    area->show();
    ticker->setTimerType(Qt::PreciseTimer);
    ticker->setInterval(TickMs);
    connect(ticker, &QTimer::timeout, this, &ListingRun::tick);
    if (Mosaicview *grid = window->grid())
        grid->viewport()->installEventFilter(this);
    runEventsFor(100);
}

ListingRun::~ListingRun()
{
    delete area;
}

bool ListingRun::list(const QString &root, int timeoutMs)
{
    return start(root) && waitForPaint(timeoutMs);
}

bool ListingRun::start(const QString &root)
{
    painted = false;
    listedAt = thumbnailsAt = workerEndedAt = firstScreenAt = -1;
    firstScreenLast = -1;
    worstGap = 0;
    phase = Phase::Idle;
    guiCpuAtStart = cpuClockNs(CLOCK_THREAD_CPUTIME_ID);
    started = clock.nsecsElapsed();
    window->setUDisks(QStringList { root });
    returned = clock.nsecsElapsed();
    // From here on: timing each of the thousands of events sent while the views fill would
    // weigh on the fill's own time.
    TimedApplication::instance()->startRecording();
    if (window->setFilesEntered < 0)
        return false;
    phase = Phase::Listing;
    return true;
}

bool ListingRun::waitForPaint(int timeoutMs)
{
    if (phase == Phase::Idle)
        return false;
    QEventLoop waiting;
    loop = &waiting;
    QTimer::singleShot(timeoutMs, &waiting, &QEventLoop::quit);
    ticker->start();
    if (listedAt < 0)
        waiting.exec();
    loop = nullptr;
    return listedAt >= 0;
}

bool ListingRun::waitForThumbnails(int timeoutMs)
{
    if (thumbnailsAt >= 0)
        return true;
    QEventLoop waiting;
    loop = &waiting;
    QTimer::singleShot(timeoutMs, &waiting, &QEventLoop::quit);
    waiting.exec();
    loop = nullptr;
    return thumbnailsAt >= 0;
}

bool ListingRun::workerAlive() const
{
    return workerThreadExists();
}

void ListingRun::runEventsFor(int ms)
{
    QEventLoop waiting;
    QTimer::singleShot(ms, &waiting, &QEventLoop::quit);
    waiting.exec();
}

void ListingRun::tick()
{
    const qint64 now = clock.nsecsElapsed();
    // Reading /proc costs tens of microseconds: every tenth tick is precise enough.
    if (++ticks % 10 == 0 && workerEndedAt < 0 && phase != Phase::Idle && !workerAlive())
        workerEndedAt = now;
    if (phase == Phase::Listing && painted) {
        listedAt = now;
        guiCpuAtListed = cpuClockNs(CLOCK_THREAD_CPUTIME_ID);
        processCpuAtListed = cpuClockNs(CLOCK_PROCESS_CPUTIME_ID);
        phase = Phase::Thumbnails;
        firstScreenLast = lastRowOnScreen();
        slowestWhileListing = describeSlowest();
        totalsWhileListing = describeTotals();
        TimedApplication::instance()->startRecording();
        lastTick = now;
        if (loop)
            loop->quit();
    }
    if (phase != Phase::Thumbnails)
        return;
    worstGap = qMax(worstGap, now - lastTick);
    lastTick = now;
    if (firstScreenAt < 0 && firstScreenLast >= 0 && placed(firstScreenLast))
        firstScreenAt = now;
    if (thumbnailsInPlace()) {
        if (firstScreenAt < 0 && firstScreenLast >= 0)
            firstScreenAt = now;
        thumbnailsAt = now;
        guiCpuAtThumbnails = cpuClockNs(CLOCK_THREAD_CPUTIME_ID);
        processCpuAtThumbnails = cpuClockNs(CLOCK_PROCESS_CPUTIME_ID);
        if (workerEndedAt < 0 && !workerAlive())
            workerEndedAt = now;
        phase = Phase::Idle;
        TimedApplication::instance()->stopRecording();
        slowest = describeSlowest();
        totals = describeTotals();
        ticker->stop();
        if (loop)
            loop->quit();
    }
}

QStringList ListingRun::describeSlowest()
{
    QStringList events;
    for (const TimedApplication::SlowEvent &event : TimedApplication::instance()->slowest())
        events << QStringLiteral("%1 ms %2").arg(event.ms, 0, 'f', 1).arg(event.what);
    return events;
}

QStringList ListingRun::describeTotals()
{
    constexpr size_t Kept = 6;
    QStringList totals;
    for (const TimedApplication::EventTotal &total : TimedApplication::instance()->totals()) {
        if (size_t(totals.size()) == Kept)
            break;
        totals << QStringLiteral("%1 ms %2 to %3 x%4")
                      .arg(total.ms, 0, 'f', 1)
                      .arg(TimedApplication::typeName(total.type))
                      .arg(QLatin1String(total.receiver))
                      .arg(total.count);
    }
    return totals;
}

bool ListingRun::thumbnailsInPlace() const
{
    Mosaicview *grid = window->grid();
    Ledgerview *table = window->table();
    if (!grid || !table || grid->count() == 0 || table->rowCount() == 0)
        return false;
    if (grid->item(grid->count() - 1)->icon().cacheKey() == window->gridPlaceholder)
        return false;
    auto *label = qobject_cast<QLabel *>(table->cellWidget(table->rowCount() - 1, 1));
    return label && label->pixmap(Qt::ReturnByValue).cacheKey() != window->tablePlaceholder;
}

int ListingRun::thumbnailsDifferingFromQt() const
{
    Mosaicview *grid = window->grid();
    Ledgerview *table = window->table();
    if (!grid || !table || grid->count() == 0)
        return -1;
    const auto same = [](const QImage &a, const QImage &b) {
        return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
    };
    int differing = 0;
    for (int row : { 0, grid->count() / 2, grid->count() - 1 }) {
        const QString path = grid->item(row)->toolTip();
        const QImage picture(path);
        const QIcon icon = grid->item(row)->icon();
        const QList<QSize> sizes = icon.availableSizes();
        const QImage expectedIcon
            = picture.scaled(QSize(144, 192), Qt::KeepAspectRatio, Qt::FastTransformation);
        if (sizes.isEmpty() || !same(icon.pixmap(sizes.first()).toImage(), expectedIcon))
            ++differing;
        auto *label = qobject_cast<QLabel *>(table->cellWidget(row, 1));
        const QImage expectedLabel
            = picture.scaled(34, 34, Qt::KeepAspectRatio, Qt::FastTransformation);
        if (!label || !same(label->pixmap(Qt::ReturnByValue).toImage(), expectedLabel))
            ++differing;
    }
    return differing;
}

int ListingRun::placeholdersLeft() const
{
    int left = 0;
    if (Mosaicview *grid = window->grid()) {
        for (int i = 0; i < grid->count(); ++i)
            left += grid->item(i)->icon().cacheKey() == window->gridPlaceholder;
    }
    if (Ledgerview *table = window->table()) {
        for (int row = 0; row < table->rowCount(); ++row) {
            auto *label = qobject_cast<QLabel *>(table->cellWidget(row, 1));
            left += !label
                || label->pixmap(Qt::ReturnByValue).cacheKey() == window->tablePlaceholder;
        }
    }
    return left;
}

int ListingRun::lastRowOnScreen() const
{
    Mosaicview *grid = window->grid();
    if (!grid)
        return -1;
    const QRect screen = grid->viewport()->rect();
    int last = -1;
    for (int row = 0; row < grid->count(); ++row) {
        if (!grid->visualItemRect(grid->item(row)).intersects(screen))
            break;
        last = row;
    }
    return last;
}

bool ListingRun::placed(int row) const
{
    const QListWidgetItem *item = window->grid()->item(row);
    return item && item->icon().cacheKey() != window->gridPlaceholder;
}

double ListingRun::firstScreenMs() const
{
    return ms(listedAt, firstScreenAt);
}

QList<double> ListingRun::scrollPaintsMs(int screens)
{
    QList<double> paints;
    Mosaicview *grid = window->grid();
    if (!grid)
        return paints;
    grid->flushLayout();
    QScrollBar *bar = grid->verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    grid->viewport()->repaint();
    for (int i = 0; i < screens && bar->value() < bar->maximum(); ++i) {
        const qint64 before = clock.nsecsElapsed();
        bar->setValue(bar->value() + bar->pageStep());
        grid->viewport()->repaint();
        paints << ms(before, clock.nsecsElapsed());
    }
    return paints;
}

double ListingRun::showTableMs()
{
    Ledgerview *table = window->table();
    QStackedLayout *pages = table ? qobject_cast<QStackedLayout *>(
                                table->parentWidget() ? table->parentWidget()->layout() : nullptr)
                                  : nullptr;
    if (!pages)
        return -1;
    const qint64 before = clock.nsecsElapsed();
    pages->setCurrentWidget(table);
    table->viewport()->repaint();
    return ms(before, clock.nsecsElapsed());
}

double ListingRun::closeWindowMs()
{
    ticker->stop();
    phase = Phase::Idle;
    const qint64 before = clock.nsecsElapsed();
    window->close();
    return ms(before, clock.nsecsElapsed());
}

bool ListingRun::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && phase == Phase::Listing)
        painted = true;
    return QObject::eventFilter(watched, event);
}

double ListingRun::ms(qint64 from, qint64 to) const
{
    return from < 0 || to < 0 ? -1 : (to - from) / 1e6;
}

int ListingRun::listed() const
{
    return window->listed;
}

double ListingRun::searchMs() const
{
    return ms(started, window->setFilesEntered);
}

double ListingRun::fillMs() const
{
    return ms(window->setFilesEntered, window->setFilesReturned);
}

double ListingRun::setUDisksMs() const
{
    return ms(started, returned);
}

double ListingRun::listingMs() const
{
    return ms(started, listedAt);
}

double ListingRun::thumbnailMs() const
{
    return ms(listedAt, thumbnailsAt);
}

double ListingRun::worstLatenessMs() const
{
    return worstGap > 0 ? worstGap / 1e6 - TickMs : -1;
}

double ListingRun::workerMs() const
{
    return ms(window->setFilesReturned, workerEndedAt);
}

double ListingRun::guiCpuMs() const
{
    return thumbnailsAt < 0 ? -1 : (guiCpuAtThumbnails - guiCpuAtListed) / 1e6;
}

double ListingRun::processCpuMs() const
{
    return thumbnailsAt < 0 ? -1 : (processCpuAtThumbnails - processCpuAtListed) / 1e6;
}

double ListingRun::workerCpuMs() const
{
    if (thumbnailsAt < 0)
        return -1;
    const qint64 process = processCpuAtThumbnails - window->processCpuAtReturn;
    const qint64 gui = guiCpuAtThumbnails - window->guiCpuAtReturn;
    return (process - gui) / 1e6;
}

double ListingRun::searchCpuMs() const
{
    return window->setFilesEntered < 0 ? -1 : (window->guiCpuAtEntry - guiCpuAtStart) / 1e6;
}

double ListingRun::fillCpuMs() const
{
    return window->setFilesReturned < 0 ? -1
                                        : (window->guiCpuAtReturn - window->guiCpuAtEntry) / 1e6;
}
