#include "mosaicview.h"

#include "qurlinfo.h"

Mosaicview::Mosaicview(QWidget *parent)
    : QListWidget(parent)
{
    setViewMode(QListView::IconMode);
    setIconSize(QSize(144, 192));
    setGridSize(QSize(160, 220));
    setSpacing(4);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setWrapping(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideMiddle);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Every cell has the grid's size: the layout needs no per-item size, and large listings
    // are laid out a batch at a time between events.
    setUniformItemSizes(true);
    setLayoutMode(QListView::Batched);
    setBatchSize(500);
}

Mosaicview::~Mosaicview() = default;

void Mosaicview::setActiveFile(const QUrlInfo *file)
{
    const quintptr wanted = reinterpret_cast<quintptr>(file);
    const QListWidgetItem *current = currentItem();
    if (current && current->data(Qt::UserRole + 1).value<quintptr>() == wanted)
        return;
    for (int row = 0; row < count(); ++row) {
        if (item(row)->data(Qt::UserRole + 1).value<quintptr>() == wanted) {
            setCurrentRow(row);
            return;
        }
    }
}

void Mosaicview::flushLayout()
{
    executeDelayedItemsLayout();
}

void Mosaicview::doItemsLayout()
{
    emit itemsLaidOut();
    QListWidget::doItemsLayout();
}
