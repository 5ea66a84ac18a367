#include "mosaicview.h"

#include "qurlinfo.h"

Mosaicview::Mosaicview(QWidget *parent)
    : QListWidget(parent)
{
    // Icon mode's free-placement layout costs ten times more per entry than a list flowing left
    // to right in fixed cells, which looks the same with the icons on top (viewOptions).
    setViewMode(QListView::ListMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setIconSize(QSize(144, 192));
    setGridSize(QSize(160, 220));
    setUniformItemSizes(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideMiddle);
    setSelectionMode(QAbstractItemView::SingleSelection);
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

QStyleOptionViewItem Mosaicview::viewOptions() const
{
    QStyleOptionViewItem option = QListWidget::viewOptions();
    option.showDecorationSelected = false;
    option.decorationPosition = QStyleOptionViewItem::Top;
    option.displayAlignment = Qt::AlignCenter;
    return option;
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
