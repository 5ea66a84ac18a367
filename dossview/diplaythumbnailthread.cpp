#include "diplaythumbnailthread.h"

#include "thumbnailbatch.h"
#include "thumbnaildecoder.h"

DiplayThumbnailThread::DiplayThumbnailThread(QObject *parent)
    : QThread(parent)
{ }

DiplayThumbnailThread::~DiplayThumbnailThread()
{
    // QThread::wait() synchronises through Qt's own futex-based mutex, which ThreadSanitizer
    // cannot see; this acquire pairs with the release at the end of run(), so everything run()
    // did happens before the batch is freed, visibly to the tool too.
    (void)m_runDone.load(std::memory_order_acquire);
}

void DiplayThumbnailThread::setBatch(std::shared_ptr<ThumbnailBatch> batch)
{
    m_batch = std::move(batch);
}

void DiplayThumbnailThread::run()
{
    struct Done
    {
        std::atomic<bool> &flag;
        ~Done() { flag.store(true, std::memory_order_release); }
    } done { m_runDone };
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

    int i = 0;
    int j = 0;
    for (;;) {
        if (i < gridCount) {
            const QString &path = batch.gridPath(i);
            bool replace = false;
            QImage grid;
            if (!path.isEmpty()) {
                const bool tableToo
                    = j < tableCount && batch.tableWanted(j) && batch.tablePath(j) == path;
                ThumbnailDecoder::Result result = decoder.decodeFile(
                    path, tableToo ? ThumbnailDecoder::Both : ThumbnailDecoder::Grid);
                replace = result.exists;
                grid = std::move(result.grid);
                kept = tableToo && result.exists;
                if (kept) {
                    keptPath = path;
                    keptTable = std::move(result.table);
                }
            }
            batch.putGrid(i, replace, std::move(grid));
            emit refreshLister1(i);
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
                    emit addLabel(j, batch.tableLabel(j));
                }
            }
            kept = false;
            keptTable = QImage();
            if (stopRequested.load())
                break;
            ++j;
        }
        if (i >= gridCount && j >= tableCount)
            break;
    }
}
