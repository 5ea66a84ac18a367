#include "timeddossview.h"

#include "ledgerview.h"
#include "mosaicview.h"

#include <QElapsedTimer>
#include <QLabel>

qint64 cpuClockNs(clockid_t clock)
{
    timespec t {};
    clock_gettime(clock, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

TimedDossview::TimedDossview(const QElapsedTimer *clock)
    : Dossview(DeviceManager::UsbFile, QStringLiteral("EN"))
    , clock(clock)
{ }

void TimedDossview::setFiles(QList<QUrlInfo *> files)
{
    setFilesEntered = clock->nsecsElapsed();
    guiCpuAtEntry = cpuClockNs(CLOCK_THREAD_CPUTIME_ID);
    Dossview::setFiles(files);
    setFilesReturned = clock->nsecsElapsed();
    guiCpuAtReturn = cpuClockNs(CLOCK_THREAD_CPUTIME_ID);
    processCpuAtReturn = cpuClockNs(CLOCK_PROCESS_CPUTIME_ID);
    listed = files.size();
    // The worker's results reach the views only through queued slots, which cannot have run
    // yet: the last entries still hold their placeholders.
    if (Mosaicview *view = grid(); view && view->count() > 0)
        gridPlaceholder = view->item(view->count() - 1)->icon().cacheKey();
    if (Ledgerview *view = table(); view && view->rowCount() > 0) {
        if (auto *label = qobject_cast<QLabel *>(view->cellWidget(view->rowCount() - 1, 1)))
            tablePlaceholder = label->pixmap(Qt::ReturnByValue).cacheKey();
    }
}

Mosaicview *TimedDossview::grid() const
{
    return findChild<Mosaicview *>();
}

Ledgerview *TimedDossview::table() const
{
    return findChild<Ledgerview *>();
}
