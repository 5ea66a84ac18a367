#include "ledgerview.h"

#include "qurlinfo.h"

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
