#include "diplaythumbnailthread.h"

#include "compactimage.h"
#include "thumbnailbatch.h"
#include "thumbnaildecoder.h"

#include <QCoreApplication>
#include <QPointer>

#include <vector>

namespace {

// Signalled entries the GUI thread may have waiting at most. A worker far ahead would leave the
// GUI thread one long pass of queued signals to work through, with the window frozen meanwhile.
constexpr int MaxAhead = 64;
// Pictures decoded before their entries are signalled together.
constexpr int Burst = 8;

// Workers let go while running. A deleteLater that comes after the event loop has ended is
// never carried out, so the application's end deletes those that have finished by then.
QList<QPointer<DiplayThumbnailThread>> s_letGo;
bool s_reaperAdded = false;

void deleteFinishedWorkers()
{
    for (const QPointer<DiplayThumbnailThread> &worker : qAsConst(s_letGo)) {
        if (worker && worker->wait(0))
            delete worker.data();
    }
    s_letGo.clear();
    s_reaperAdded = false;
}

} // namespace

DiplayThumbnailThread::DiplayThumbnailThread(QObject *parent)
    : QThread(parent)
{ }

DiplayThumbnailThread::~DiplayThumbnailThread()
{
    // Only a finished thread is deleted, and QThread orders its end before this; but it does so
    // inside Qt, out of a race detector's sight. This pairs with the store at the end of run().
    m_ranToEnd.load(std::memory_order_acquire);
}

void DiplayThumbnailThread::setBatch(std::shared_ptr<ThumbnailBatch> batch)
{
    m_batch = std::move(batch);
}

void DiplayThumbnailThread::letGo()
{
    stopRequested = true;
    connect(this, &QThread::finished, this, &QObject::deleteLater);
    // One that finished just now has already sent its finished(): it goes with the next pass of
    // the event loop, or at the application's end if no loop runs any more.
    if (isFinished())
        deleteLater();
    s_letGo.removeAll(QPointer<DiplayThumbnailThread>());
    s_letGo.append(this);
    if (!s_reaperAdded) {
        qAddPostRoutine(deleteFinishedWorkers);
        s_reaperAdded = true;
    }
}

void DiplayThumbnailThread::run()
{
    work();
    m_ranToEnd.store(true, std::memory_order_release);
}

void DiplayThumbnailThread::work()
{
    if (!m_batch)
        return;
    ThumbnailBatch &batch = *m_batch;
    ThumbnailDecoder decoder;
    const int gridCount = batch.gridCount();
    const int tableCount = batch.tableCount();

    // The grid entry and the table row of one picture come one after the other: the table's
    // thumbnail is made with the grid's from the same decode and kept for the row.
    QString keptPath;
    QImage keptTable;
    bool kept = false;

    // Entries published and not yet signalled, in the order of their signals: a table row is
    // stored as -1 - j. They are signalled a burst at a time: the GUI thread, which sleeps
    // between two thumbnails, then wakes once for the burst instead of once a signal, and
    // waking it costs this thread more than many a thumbnail's share of decoding.
    std::vector<int> unsignalled;
    unsignalled.reserve(2 * Burst);
    int signalled = 0;
    auto signalAll = [&] {
        for (const int entry : unsignalled) {
            while (signalled - batch.taken() >= MaxAhead && !stopRequested.load())
                QThread::msleep(1);
            if (stopRequested.load())
                break;
            ++signalled;
            if (entry >= 0)
                emit refreshLister1(entry);
            else
                emit addLabel(-1 - entry, batch.tableLabel(-1 - entry));
        }
        unsignalled.clear();
    };

    int i = 0;
    int j = 0;
    for (;;) {
        if (i < gridCount) {
            const QString &path = batch.gridPath(i);
            bool replace = false;
            CompactImage grid;
            if (!path.isEmpty()) {
                const bool tableToo
                    = j < tableCount && batch.tableWanted(j) && batch.tablePath(j) == path;
                ThumbnailDecoder::Result result = decoder.decodeFile(
                    path, tableToo ? ThumbnailDecoder::Both : ThumbnailDecoder::Grid);
                replace = result.exists;
                // Held compactly from here on: the window keeps thousands of them.
                grid = CompactImage::fromImage(result.grid);
                kept = tableToo && result.exists;
                if (kept) {
                    keptPath = path;
                    keptTable = std::move(result.table);
                }
            }
            batch.putGrid(i, replace, std::move(grid));
            unsignalled.push_back(i);
            if (stopRequested.load())
                break;
            ++i;
        }
        if (j < tableCount) {
            if (batch.tableWanted(j)) {
                const QString &path = batch.tablePath(j);
                bool exists = true;
                QImage table;
                if (kept && keptPath == path) {
                    table = std::move(keptTable);
                } else {
                    ThumbnailDecoder::Result result
                        = decoder.decodeFile(path, ThumbnailDecoder::Table);
                    exists = result.exists;
                    table = std::move(result.table);
                }
                if (exists) {
                    batch.putTable(j, std::move(table));
                    unsignalled.push_back(-1 - j);
                }
            }
            kept = false;
            keptTable = QImage();
            if (stopRequested.load())
                break;
            ++j;
        }
        const bool done = i >= gridCount && j >= tableCount;
        if (done || int(unsignalled.size()) >= 2 * Burst)
            signalAll();
        if (done || stopRequested.load())
            break;
    }
}
