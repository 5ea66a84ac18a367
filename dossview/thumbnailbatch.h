#ifndef THUMBNAILBATCH_H
#define THUMBNAILBATCH_H

#include "compactimage.h"

#include <QImage>
#include <QString>

#include <atomic>
#include <memory>
#include <vector>

class Ledgerview;
class Mosaicview;
class QLabel;

/**
 * What one listing's thumbnail worker works from and what it hands back, shared between the
 * GUI thread and the worker without a lock.
 *
 * The GUI thread takes the snapshot when it creates the worker: for every grid entry and table
 * row, the picture's path and, for a row, its picture label (passed back, never touched). The
 * worker then publishes one result per entry (ready, with release order) before it signals
 * the entry; the GUI thread reads a result only after it has seen it ready (acquire order), so
 * each image has one writer, then one reader. A signal whose entry is not ready in the
 * window's current batch belongs to a listing that has gone and is dropped. The count of
 * entries taken lets the worker stay only a little ahead of the GUI thread.
 */
class ThumbnailBatch
{
public:
    /** Snapshot of both views; GUI thread only. */
    static std::shared_ptr<ThumbnailBatch> fromViews(const Mosaicview *grid,
                                                     const Ledgerview *table);

    int gridCount() const { return int(m_grid.size()); }
    int tableCount() const { return int(m_table.size()); }

    // Worker side.
    /** The path of grid entry i; empty when the entry has no record. */
    const QString &gridPath(int i) const { return m_grid[size_t(i)].path; }
    /** True when table row j has a name item with a record and a picture label. */
    bool tableWanted(int j) const { return m_table[size_t(j)].label && !tablePath(j).isEmpty(); }
    const QString &tablePath(int j) const { return m_table[size_t(j)].path; }
    QLabel *tableLabel(int j) const { return m_table[size_t(j)].label; }
    /** How many published entries the GUI thread has taken so far. */
    int taken() const { return m_taken.load(std::memory_order_relaxed); }
    /** Publishes grid entry i: replace tells whether image takes the placeholder's place. */
    void putGrid(int i, bool replace, CompactImage image);
    void putTable(int j, QImage image);

    // GUI side.
    /** Whether the worker has published grid entry i (ready); no result leaves image alone. */
    bool takeGrid(int i, bool *replace, CompactImage *image);
    bool takeTable(int j, bool *fresh, QImage *image);

private:
    // A grid entry or a table row of the listing: each holds only what its kind needs.
    struct Entry
    {
        QString path;
        bool replace = false;
        bool taken = false;
        std::atomic<bool> ready { false };
    };
    struct GridEntry : Entry
    {
        CompactImage image;
    };
    struct TableEntry : Entry
    {
        QLabel *label = nullptr;
        QImage image;
    };

    explicit ThumbnailBatch(size_t gridCount, size_t tableCount);
    bool take(Entry &entry, bool *fresh);

    std::vector<GridEntry> m_grid;
    std::vector<TableEntry> m_table;
    std::atomic<int> m_taken { 0 };
};

#endif // THUMBNAILBATCH_H
