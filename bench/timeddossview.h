#ifndef TIMEDDOSSVIEW_H
#define TIMEDDOSSVIEW_H

#include "dossview.h"

#include <ctime>

class Ledgerview;
class Mosaicview;
class QElapsedTimer;

/** Reading of a CPU clock (CLOCK_THREAD_CPUTIME_ID, CLOCK_PROCESS_CPUTIME_ID) in ns. */
qint64 cpuClockNs(clockid_t clock);

/**
 * The real Dossview with a stopwatch on setFiles: showFiles calls it through the virtual
 * table right after the search, so its entry ends the search and its return ends the filling
 * of both views. On return it also notes the placeholder icon of the last grid item and the
 * placeholder picture of the last table row, to tell later when the thumbnails are in place.
 */
class TimedDossview : public Dossview
{
public:
    explicit TimedDossview(const QElapsedTimer *clock);

    void setFiles(QList<QUrlInfo *> files) override;

    Mosaicview *grid() const;
    Ledgerview *table() const;

    /** Clock readings in ns, or -1 while setFiles has not run. */
    qint64 setFilesEntered = -1;
    qint64 setFilesReturned = -1;
    /** CPU clocks (ns) of the GUI thread and of the process when setFiles returned. */
    qint64 guiCpuAtEntry = 0;
    qint64 guiCpuAtReturn = 0;
    qint64 processCpuAtReturn = 0;
    int listed = 0;
    qint64 gridPlaceholder = 0;
    qint64 tablePlaceholder = 0;

private:
    const QElapsedTimer *clock;
};

#endif // TIMEDDOSSVIEW_H
