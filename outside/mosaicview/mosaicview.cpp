#include "mosaicview.h"

#include "qurlinfo.h"

#include <QScrollBar>

namespace {

// Changed entries remembered for the next layout pass, at most; past it, the pass repaints all.
constexpr int MaxChangedRows = 256;

// What decides where the entries are and how they are painted, besides which are hidden: the
// count, the viewport, the scroll bars and the view's sizes and flow.
QVector<int> layoutOf(const QListView *view)
{
    const QScrollBar *h = view->horizontalScrollBar();
    const QScrollBar *v = view->verticalScrollBar();
    const QSize shown = view->viewport()->size();
    return { view->model() ? view->model()->rowCount() : 0,
             shown.width(),
             shown.height(),
             h->minimum(),
             h->maximum(),
             h->value(),
             v->minimum(),
             v->maximum(),
             v->value(),
             view->iconSize().width(),
             view->iconSize().height(),
             view->gridSize().width(),
             view->gridSize().height(),
             view->spacing(),
             int(view->viewMode()),
             int(view->flow()),
             int(view->isWrapping()) };
}

} // namespace

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
    // Entries added, removed, moved or sorted take other places or show other data: the next
    // layout pass repaints them all, even where the count ends as it was.
    const auto moved = [this] { m_allChanged = true; };
    connect(model(), &QAbstractItemModel::rowsInserted, this, moved);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, moved);
    connect(model(), &QAbstractItemModel::rowsMoved, this, moved);
    connect(model(), &QAbstractItemModel::layoutChanged, this, moved);
    connect(model(), &QAbstractItemModel::modelReset, this, moved);
}

Mosaicview::~Mosaicview()
{
    // QWidget's destructor deletes the model, which says it was reset on the way out; by then
    // nothing of this class is left to note it.
    disconnect(model(), nullptr, this, nullptr);
}

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

void Mosaicview::setRepaintsHeld(bool held)
{
    QWidget *area = viewport();
    if (held && m_held == 0) {
        m_held = area->testAttribute(Qt::WA_UpdatesDisabled) ? 2 : 1;
        area->setAttribute(Qt::WA_UpdatesDisabled, true);
    } else if (!held && m_held != 0) {
        area->setAttribute(Qt::WA_UpdatesDisabled, m_held == 2);
        m_held = 0;
    }
}

void Mosaicview::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                             const QVector<int> &roles)
{
    // While a layout pass is pending, the view repaints no changed entry and leaves it to the
    // pass: remember them. (Asking for their places now would run the pass at once.)
    if (topLeft.isValid() && bottomRight.isValid()) {
        if (topLeft == bottomRight && m_changedRows.size() < MaxChangedRows)
            m_changedRows.append(topLeft.row());
        else
            m_allChanged = true;
    }
    // QListView lays every entry out again for any change of data, as an entry's size may
    // follow its data: with 10,000 entries, a pass of a few tenths of a millisecond for every
    // thumbnail. In fixed cells of one size nothing moves; the item view repaints the entry.
    if (viewMode() == ListMode && uniformItemSizes() && gridSize().isValid())
        QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
    else
        QListWidget::dataChanged(topLeft, bottomRight, roles);
}

void Mosaicview::doItemsLayout()
{
    emit itemsLaidOut();
    // The pass asks for the whole viewport to be repainted; updates are held back while it
    // runs. Unless the count, the viewport, the scroll bars or the sizes changed since the last
    // pass, only the changed entries are repainted: entries are hidden and shown again with
    // repaints held only when every one ends as shown as it was.
    QWidget *area = viewport();
    const bool held = area->testAttribute(Qt::WA_UpdatesDisabled);
    if (!held)
        area->setAttribute(Qt::WA_UpdatesDisabled, true);
    QListWidget::doItemsLayout();
    if (!held)
        area->setAttribute(Qt::WA_UpdatesDisabled, false);
    const QVector<int> layout = layoutOf(this);
    if (m_allChanged || layout != m_laidOut) {
        area->update();
    } else if (!m_changedRows.isEmpty()) {
        const QRect shown = area->rect();
        QRegion changed;
        for (int row : qAsConst(m_changedRows))
            changed += visualRect(model()->index(row, 0)) & shown;
        area->update(changed);
    }
    m_laidOut = layout;
    m_changedRows.clear();
    m_allChanged = false;
}
