#include "ledgerview.h"

#include "qurlinfo.h"

#include <QEvent>
#include <QHeaderView>

namespace {

// From this many rows on, a refill hides the viewport until its cell widgets are placed.
constexpr int ManyRows = 64;

} // namespace

Ledgerview::Ledgerview(QWidget *parent)
    : QTableWidget(parent)
{
    setWordWrap(false);
}

Ledgerview::~Ledgerview() = default;

void Ledgerview::setActiveFile(const QUrlInfo *file)
{
    const quintptr wanted = reinterpret_cast<quintptr>(file);
    const int current = currentRow();
    if (current >= 0) {
        const QTableWidgetItem *nameItem = item(current, 2);
        if (nameItem && nameItem->data(Qt::UserRole + 1).value<quintptr>() == wanted)
            return;
    }
    for (int row = 0; row < rowCount(); ++row) {
        const QTableWidgetItem *nameItem = item(row, 2);
        if (nameItem && nameItem->data(Qt::UserRole + 1).value<quintptr>() == wanted) {
            setCurrentCell(row, 2);
            return;
        }
    }
}

void Ledgerview::reset()
{
    m_plainTextHeight = -1;
    QTableWidget::reset();
    if (rowCount() >= ManyRows)
        holdCellWidgets();
}

void Ledgerview::rowsInserted(const QModelIndex &parent, int start, int end)
{
    QTableWidget::rowsInserted(parent, start, end);
    if (end - start + 1 >= ManyRows)
        holdCellWidgets();
}

void Ledgerview::holdCellWidgets()
{
    // Cell widgets set while the viewport is hidden cost nothing to show and to hide again; the
    // viewport comes back once the widgets outside the view are hidden, on the next event pass.
    if (m_holding)
        return;
    m_holding = true;
    viewport()->hide();
    QMetaObject::invokeMethod(this, &Ledgerview::revealCellWidgets, Qt::QueuedConnection);
}

void Ledgerview::revealCellWidgets()
{
    m_holding = false;
    executeDelayedItemsLayout();
    updateEditorGeometries();
    viewport()->show();
}

void Ledgerview::updateEditorGeometries()
{
    QAbstractItemModel *model = this->model();
    const int rows = model->rowCount();
    if (rows == 0)
        return QTableWidget::updateEditorGeometries();

    int first = rowAt(0);
    int last = rowAt(viewport()->height() - 1);
    if (first < 0)
        first = 0;
    if (last < 0)
        last = rows - 1;
    const int columns = model->columnCount();
    for (int row = 0; row < rows; ++row) {
        const bool inView = row >= first && row <= last;
        for (int column = 0; column < columns; ++column) {
            const QModelIndex index = model->index(row, column);
            QWidget *widget = indexWidget(index);
            if (!widget)
                continue;
            if (inView) {
                widget->setGeometry(visualRect(index));
                widget->show();
            } else if (!widget->isHidden()) {
                widget->hide();
            }
        }
    }
}

void Ledgerview::scrollContentsBy(int dx, int dy)
{
    QTableWidget::scrollContentsBy(dx, dy);
    updateEditorGeometries();
}

int Ledgerview::sizeHintForRow(int row) const
{
    // A header that sizes rows to their contents asks for every row on each layout pass, and
    // Qt lays out the text of every cell to answer: with thousands of rows that freezes the
    // window whenever a thumbnail arrives. A cell of one line of plain text in the view's font
    // is as high as any other, so that height is measured once; cells that may differ (several
    // lines, an icon, a font or size of their own) are measured as Qt does.
    if (rowCount() < ManyRows || wordWrap())
        return QTableWidget::sizeHintForRow(row);
    ensurePolished();
    int hint = 0;
    for (int column = 0; column < columnCount(); ++column) {
        if (isColumnHidden(column))
            continue;
        if (const QWidget *widget = cellWidget(row, column)) {
            hint = qBound(widget->minimumHeight(), qMax(hint, widget->sizeHint().height()),
                          widget->maximumHeight());
        }
        const QTableWidgetItem *cell = item(row, column);
        if (!cell)
            continue;
        const QString text = cell->text();
        const bool plain = !text.isEmpty() && !text.contains(QLatin1Char('\n'))
            && cell->data(Qt::DecorationRole).isNull() && cell->data(Qt::FontRole).isNull()
            && cell->data(Qt::SizeHintRole).isNull();
        if (!plain)
            return QTableWidget::sizeHintForRow(row);
        hint = qMax(hint, plainTextHeight(cell));
    }
    return showGrid() ? hint + 1 : hint;
}

int Ledgerview::plainTextHeight(const QTableWidgetItem *cell) const
{
    if (m_plainTextHeight < 0) {
        const QModelIndex index = indexFromItem(cell);
        m_plainTextHeight = itemDelegate(index)->sizeHint(viewOptions(), index).height();
    }
    return m_plainTextHeight;
}

void Ledgerview::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_plainTextHeight = -1;
    QTableWidget::changeEvent(event);
}
