#ifndef LISTINGRUN_H
#define LISTINGRUN_H

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>

class QEventLoop;
class QMdiArea;
class QTimer;
class TimedDossview;

/**
 * One Dossview of mode UsbFile, maximised in an MDI area of 1280 x 800 as the program shows
 * it, driven through its public API and watched from outside: a filter on the grid's viewport
 * sees its paints, and a 1 ms precise timer polls the last grid icon and the last table
 * picture (the worker walks the views in order) and records its own worst lateness.
 */
class ListingRun : public QObject
{
    Q_OBJECT
public:
    ListingRun();
    ~ListingRun() override;

    /**
     * Calls setUDisks({root}) and runs the event loop until the grid has painted once after
     * it. False when no listing came (setFiles never ran) or the paint did not come in time.
     */
    bool list(const QString &root, int timeoutMs);
    /** Calls setUDisks({root}) and returns at once; false when no listing came. */
    bool start(const QString &root);
    /** Runs the event loop until the grid has painted once after start(). */
    bool waitForPaint(int timeoutMs);
    /**
     * Whether a worker thread is alive: a system thread named after DiplayThumbnailThread.
     * Read from /proc, without touching Dossview's internals.
     */
    bool workerAlive() const;
    /** Runs the event loop until the last icon and label are in place; false on time-out. */
    bool waitForThumbnails(int timeoutMs);
    /** Runs the event loop for this long. */
    void runEventsFor(int ms);
    /** Whether the last grid icon and last table picture have left their placeholders. */
    bool thumbnailsInPlace() const;
    /**
     * Compares the first, middle and last grid icon and table picture with what
     * QPixmap-loading the file and scaling it as the worker is worded gives; returns how many
     * of the six differ.
     */
    int thumbnailsDifferingFromQt() const;
    /** Entries of both views still showing a placeholder. */
    int placeholdersLeft() const;
    /**
     * From the end of the listing until every grid entry of the first screen had left its
     * placeholder; -1 when that was not seen.
     */
    double firstScreenMs() const;
    /**
     * Scrolls the grid from its middle down by one screen this many times and returns how long
     * each scroll took to paint: the scroll bar's move and a repaint of the grid's viewport.
     */
    QList<double> scrollPaintsMs(int screens);
    /**
     * Shows the table as the "List" button does and returns how long that took, with a repaint
     * of the table's viewport; -1 without a table.
     */
    double showTableMs();
    /** Closes the window (its closeEvent stops the worker) and returns how long close() took. */
    double closeWindowMs();

    int listed() const;
    double searchMs() const;
    double fillMs() const;
    double setUDisksMs() const;
    /** GUI thread CPU time of the search and of the fill. */
    double searchCpuMs() const;
    double fillCpuMs() const;
    double listingMs() const;
    double thumbnailMs() const;
    double worstLatenessMs() const;
    /** From the return of setFiles until the worker thread had ended (seen by the ticks). */
    double workerMs() const;
    /** CPU time of the GUI thread and of the whole process during the thumbnail phase. */
    double guiCpuMs() const;
    double processCpuMs() const;
    /**
     * CPU time of every thread but the GUI thread from the return of setFiles until the
     * thumbnails were in place: the worker's own cost, whatever the load of the machine.
     */
    double workerCpuMs() const;
    /** The longest event deliveries on the GUI thread during the thumbnail phase. */
    QStringList slowestEvents() const { return slowest; }
    /** The same from setUDisks until the listing had painted. */
    QStringList slowestEventsWhileListing() const { return slowestWhileListing; }
    /** Event deliveries from the return of setUDisks until the paint, summed by type. */
    QStringList eventTotalsWhileListing() const { return totalsWhileListing; }
    /** The same during the thumbnail phase. */
    QStringList eventTotals() const { return totals; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Phase { Idle, Listing, Thumbnails };
    void tick();
    int lastRowOnScreen() const;
    bool placed(int row) const;
    static QStringList describeSlowest();
    static QStringList describeTotals();
    double ms(qint64 from, qint64 to) const;

    QElapsedTimer clock;
    QMdiArea *area = nullptr;
    TimedDossview *window = nullptr;
    QTimer *ticker = nullptr;
    QEventLoop *loop = nullptr;
    Phase phase = Phase::Idle;
    bool painted = false;
    qint64 started = -1;
    qint64 returned = -1;
    qint64 listedAt = -1;
    qint64 thumbnailsAt = -1;
    qint64 firstScreenAt = -1;
    int firstScreenLast = -1;
    qint64 lastTick = -1;
    qint64 worstGap = 0;
    int ticks = 0;
    qint64 guiCpuAtStart = 0;
    qint64 workerEndedAt = -1;
    qint64 guiCpuAtListed = 0, guiCpuAtThumbnails = 0;
    qint64 processCpuAtListed = 0, processCpuAtThumbnails = 0;
    QStringList slowest;
    QStringList slowestWhileListing;
    QStringList totalsWhileListing;
    QStringList totals;
};

#endif // LISTINGRUN_H
