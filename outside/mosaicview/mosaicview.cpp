#include "mosaicview.h"

#include "qurlinfo.h"

#include <QScrollBar>

#include <algorithm>

namespace {

// What a layout pass shows: the entries on screen and their places, the scroll bars, and what
// else decides how the entries are painted.
struct Screen
{
    QVector<QPair<int, QRect>> entries;
    QVector<int> numbers;
    QVector<QSize> sizes;

    bool operator==(const Screen &other) const
    {
        return entries == other.entries && numbers == other.numbers && sizes == other.sizes;
    }
};

Screen screenOf(const QListView *view)
{
    Screen screen;
    const QRect shown = view->viewport()->rect();
    const QScrollBar *h = view->horizontalScrollBar();
    const QScrollBar *v = view->verticalScrollBar();
    screen.numbers = { view->model() ? view->model()->rowCount() : 0,
                       h->minimum(),
                       h->maximum(),
                       h->value(),
                       v->minimum(),
                       v->maximum(),
                       v->value(),
                       int(view->viewMode()),
                       int(view->flow()),
                       int(view->isWrapping()),
                       view->spacing() };
    screen.sizes = { shown.size(), view->iconSize(), view->gridSize() };
    // Every entry on screen is hit by a point of a lattice finer than the grid's cells.
    const QSize cell = view->gridSize().isValid() ? view->gridSize() : view->iconSize();
    const int dx = qMax(8, cell.width() / 2);
    const int dy = qMax(8, cell.height() / 2);
    int last = -1;
    for (int y = 0; y < shown.height(); y += dy) {
        for (int x = 0; x < shown.width(); x += dx) {
            const QModelIndex index = view->indexAt(QPoint(x, y));
            if (index.isValid() && index.row() != last) {
                last = index.row();
                screen.entries.append({ index.row(), view->visualRect(index) });
            }
        }
    }
    std::sort(
        screen.entries.begin(), screen.entries.end(),
        [](const QPair<int, QRect> &a, const QPair<int, QRect> &b) { return a.first < b.first; });
    screen.entries.erase(std::unique(screen.entries.begin(), screen.entries.end()),
                         screen.entries.end());
    return screen;
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
    // pass: remember where they are.
    if (topLeft.isValid() && bottomRight.isValid()) {
        const QRect shown = viewport()->rect();
        if (topLeft == bottomRight) {
            m_changed += visualRect(topLeft) & shown;
        } else {
            m_changed = shown;
        }
    }
    QListWidget::dataChanged(topLeft, bottomRight, roles);
}

void Mosaicview::doItemsLayout()
{
    emit itemsLaidOut();
    // A pass that moves nothing on screen repaints only what changed. The pass itself asks for
    // the whole viewport; updates are held back while it runs.
    QWidget *area = viewport();
    const bool held = area->testAttribute(Qt::WA_UpdatesDisabled);
    const Screen before = screenOf(this);
    if (!held)
        area->setAttribute(Qt::WA_UpdatesDisabled, true);
    QListWidget::doItemsLayout();
    if (!held)
        area->setAttribute(Qt::WA_UpdatesDisabled, false);
    if (!(screenOf(this) == before))
        area->update();
    else if (!m_changed.isEmpty())
        area->update(m_changed);
    m_changed = QRegion();
}
