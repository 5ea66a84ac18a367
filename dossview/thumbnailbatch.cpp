#include "thumbnailbatch.h"

#include "ledgerview.h"
#include "mosaicview.h"
#include "qurlinfo.h"

#include <QLabel>

#include <utility>

namespace {

const QUrlInfo *recordOf(const QVariant &data)
{
    return reinterpret_cast<const QUrlInfo *>(data.value<quintptr>());
}

} // namespace

ThumbnailBatch::ThumbnailBatch(size_t gridCount, size_t tableCount)
    : m_grid(gridCount)
    , m_table(tableCount)
{ }

std::shared_ptr<ThumbnailBatch> ThumbnailBatch::fromViews(const Mosaicview *grid,
                                                          const Ledgerview *table)
{
    std::shared_ptr<ThumbnailBatch> batch(
        new ThumbnailBatch(size_t(grid->count()), size_t(table->rowCount())));
    for (int i = 0; i < grid->count(); ++i) {
        if (const QListWidgetItem *item = grid->item(i)) {
            if (const QUrlInfo *record = recordOf(item->data(Qt::UserRole + 1)))
                batch->m_grid[size_t(i)].path = record->name();
        }
    }
    for (int j = 0; j < table->rowCount(); ++j) {
        const QTableWidgetItem *item = table->item(j, 2);
        if (!item)
            continue;
        TableEntry &entry = batch->m_table[size_t(j)];
        if (const QUrlInfo *record = recordOf(item->data(Qt::UserRole + 1)))
            entry.path = record->name();
        entry.label = qobject_cast<QLabel *>(table->cellWidget(j, 1));
    }
    return batch;
}

void ThumbnailBatch::putGrid(int i, bool replace, CompactImage image)
{
    GridEntry &entry = m_grid[size_t(i)];
    entry.replace = replace;
    entry.image = std::move(image);
    entry.ready.store(true, std::memory_order_release);
}

void ThumbnailBatch::putTable(int j, QImage image)
{
    TableEntry &entry = m_table[size_t(j)];
    entry.replace = true;
    entry.image = std::move(image);
    entry.ready.store(true, std::memory_order_release);
}

bool ThumbnailBatch::take(Entry &entry, bool *fresh)
{
    if (!entry.ready.load(std::memory_order_acquire))
        return false;
    m_taken.fetch_add(1, std::memory_order_relaxed);
    *fresh = entry.replace && !entry.taken;
    entry.taken = entry.taken || *fresh;
    return true;
}

bool ThumbnailBatch::takeGrid(int i, bool *replace, CompactImage *image)
{
    if (i < 0 || i >= gridCount())
        return false;
    GridEntry &entry = m_grid[size_t(i)];
    if (!take(entry, replace))
        return false;
    if (*replace)
        *image = std::exchange(entry.image, CompactImage());
    return true;
}

bool ThumbnailBatch::takeTable(int j, bool *fresh, QImage *image)
{
    if (j < 0 || j >= tableCount())
        return false;
    TableEntry &entry = m_table[size_t(j)];
    if (!take(entry, fresh))
        return false;
    if (*fresh)
        *image = std::exchange(entry.image, QImage());
    return true;
}
