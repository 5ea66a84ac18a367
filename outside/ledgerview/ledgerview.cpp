#include "ledgerview.h"

#include "ledgerrowheader.h"
#include "qurlinfo.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>

namespace {

// From this many rows on, a refill hides the viewport until its cell widgets are placed.
constexpr int ManyRows = 64;
// Rows with fewer columns keep which of their cells hold one line of plain text.
constexpr int KeptColumns = 32;
constexpr quint32 UnknownCells = ~0u;
// Label looks kept with their measured heights.
constexpr size_t MeasuredLooks = 8;

// Everything that a label's size hint depends on, its ancestors' style sheets aside (labels
// compared here share their parent). Two labels that agree on all of it get the same hint once
// polished, so one of them can be measured for both.
struct LabelLook
{
    explicit LabelLook(const QLabel *label)
        : LabelLook(label, label->pixmap(Qt::ReturnByValue))
    { }

    LabelLook(const QLabel *label, const QPixmap &pixmap)
        : metaObject(label->metaObject())
        , parent(label->parentWidget())
        , pixmapSize(pixmap.size())
        , hasPixmap(!pixmap.isNull())
        , text(label->text())
        , styleSheet(label->styleSheet())
        , objectName(label->objectName())
        , font(label->font())
        , contents(label->contentsMargins())
        , minimumSize(label->minimumSize())
        , maximumSize(label->maximumSize())
        , alignment(int(label->alignment()))
        , margin(label->margin())
        , indent(label->indent())
        , frameStyle(label->frameStyle())
        , lineWidth(label->lineWidth())
        , midLineWidth(label->midLineWidth())
        , textFormat(int(label->textFormat()))
        , wordWrap(label->wordWrap())
        , enabled(label->isEnabled())
        , plainProperties(label->dynamicPropertyNames().isEmpty())
    { }

    bool operator==(const LabelLook &other) const
    {
        return metaObject == other.metaObject && parent == other.parent
            && pixmapSize == other.pixmapSize && hasPixmap == other.hasPixmap && text == other.text
            && styleSheet == other.styleSheet && objectName == other.objectName
            && font == other.font && contents == other.contents && minimumSize == other.minimumSize
            && maximumSize == other.maximumSize && alignment == other.alignment
            && margin == other.margin && indent == other.indent && frameStyle == other.frameStyle
            && lineWidth == other.lineWidth && midLineWidth == other.midLineWidth
            && textFormat == other.textFormat && wordWrap == other.wordWrap
            && enabled == other.enabled && plainProperties && other.plainProperties;
    }

    const QMetaObject *metaObject;
    const QWidget *parent;
    QSize pixmapSize;
    bool hasPixmap;
    QString text;
    QString styleSheet;
    QString objectName;
    QFont font;
    QMargins contents;
    QSize minimumSize;
    QSize maximumSize;
    int alignment;
    int margin;
    int indent;
    int frameStyle;
    int lineWidth;
    int midLineWidth;
    int textFormat;
    bool wordWrap;
    bool enabled;
    bool plainProperties;
};

} // namespace

struct Ledgerview::MeasuredLabel
{
    LabelLook look;
    CellWidgetHeight height;
};

Ledgerview::Ledgerview(QWidget *parent)
    : QTableWidget(parent)
{
    // Set up as the row header Qt makes for a table.
    auto *rowHeader = new LedgerRowHeader(this);
    rowHeader->setSectionsClickable(true);
    rowHeader->setHighlightSections(true);
    setVerticalHeader(rowHeader);
    setWordWrap(false);
    // Changes of cells come through dataChanged(), of rows through their own overrides.
    const QAbstractItemModel *cells = model();
    const auto forget = [this] { forgetCells(); };
    connect(cells, &QAbstractItemModel::layoutChanged, this, forget);
    connect(cells, &QAbstractItemModel::modelReset, this, forget);
    connect(cells, &QAbstractItemModel::rowsMoved, this, forget);
    connect(cells, &QAbstractItemModel::columnsInserted, this, forget);
    connect(cells, &QAbstractItemModel::columnsRemoved, this, forget);
    // Of the columns' widths, the rows' heights depend only on which are hidden (no word wrap).
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int, int oldSize, int newSize) {
                if (oldSize == 0 || newSize == 0)
                    forgetRowHints();
            });
}

Ledgerview::~Ledgerview()
{
    // QWidget's destructor deletes the model and the headers, which may still signal changes;
    // by then nothing of this class is left to note them.
    disconnect(model(), nullptr, this, nullptr);
    disconnect(horizontalHeader(), &QHeaderView::sectionResized, this, nullptr);
}

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
    forgetMeasurements();
    m_widgetColumns.clear();
    QTableWidget::reset();
    if (rowCount() >= ManyRows)
        holdCellWidgets();
}

void Ledgerview::rowsInserted(const QModelIndex &parent, int start, int end)
{
    forgetCells();
    QTableWidget::rowsInserted(parent, start, end);
    if (end - start + 1 >= ManyRows)
        holdCellWidgets();
}

void Ledgerview::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    forgetCells();
    QTableWidget::rowsAboutToBeRemoved(parent, start, end);
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
    passOnHeldChanges();
    // A hidden view is laid out when it is shown, as Qt does with its delayed layouts.
    if (isVisible())
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

    // Nothing is in view while the view is hidden: its geometry is not the one it will show.
    int first = 0;
    int last = -1;
    if (isVisible() && viewport()->height() > 0) {
        first = qMax(0, rowAt(0));
        last = rowAt(viewport()->height() - 1);
        if (last < 0)
            last = rows - 1;
    }
    const int columns = model->columnCount();
    QHash<QWidget *, QPointer<QWidget>> inView;
    for (int row = first; row <= last; ++row) {
        for (int column = 0; column < columns; ++column) {
            const QModelIndex index = model->index(row, column);
            QWidget *widget = indexWidget(index);
            if (!widget)
                continue;
            polishCellWidget(widget);
            widget->setGeometry(visualRect(index));
            widget->show();
            inView.insert(widget, widget);
        }
    }

    // The widgets placed last time and now out of view are hidden by that record. Any other
    // shown child was shown by someone else (Qt shows every cell widget it is given): only a
    // look at the cells tells whether it is one. The columns known to hold cell widgets are
    // looked at first; the others only if a stranger is left, such as an editor Qt opened.
    const auto strangerShown = [&](bool hidePlaced) {
        bool found = false;
        for (QObject *child : viewport()->children()) {
            if (!child->isWidgetType())
                continue;
            auto *widget = static_cast<QWidget *>(child);
            if (widget->isHidden() || inView.contains(widget))
                continue;
            if (hidePlaced && m_placed.value(widget) == widget)
                widget->hide();
            else
                found = true;
        }
        return found;
    };
    const auto hideOutOfView = [&](const QList<int> &scanned) {
        for (int row = 0; row < rows; ++row) {
            if (row == first && last >= first) {
                row = last;
                continue;
            }
            for (int column : scanned) {
                QWidget *widget = indexWidget(model->index(row, column));
                if (widget && !widget->isHidden())
                    widget->hide();
            }
        }
    };
    if (strangerShown(true)) {
        hideOutOfView(m_widgetColumns.values());
        if (strangerShown(false)) {
            QList<int> others;
            for (int column = 0; column < columns; ++column) {
                if (!m_widgetColumns.contains(column))
                    others.append(column);
            }
            hideOutOfView(others);
        }
    }
    m_placed = std::move(inView);
}

void Ledgerview::updateGeometries()
{
    // Qt lays out the items of a hidden view when it is shown, but would measure every row of
    // a header sized to its contents on each geometry update meanwhile (a row resized, a
    // refill, a resize). The update is put off to the layout that the showing does: the scroll
    // bars are right before the current row is scrolled to.
    if (!isVisible() && rowCount() >= ManyRows) {
        m_geometriesHeld = true;
        scheduleDelayedItemsLayout();
        return;
    }
    m_geometriesHeld = false;
    ++m_updatingGeometries;
    QTableWidget::updateGeometries();
    --m_updatingGeometries;
}

void Ledgerview::showEvent(QShowEvent *event)
{
    QTableWidget::showEvent(event);
    if (m_geometriesHeld)
        updateGeometries(); // which places the cell widgets too
    else
        updateEditorGeometries();
}

void Ledgerview::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                             const QVector<int> &roles)
{
    forgetRowHints();
    if (!m_plainCells.empty() && topLeft.isValid() && bottomRight.isValid()) {
        const size_t last = qMin(size_t(bottomRight.row()) + 1, m_plainCells.size());
        for (size_t row = size_t(topLeft.row()); row < last; ++row)
            m_plainCells[row] = UnknownCells;
    }
    const bool oneCell = topLeft == bottomRight && topLeft.isValid();
    // Qt announces every cell widget it is given as a change of its cell, calling this
    // directly; the model's changes come through its signal and never bring a widget.
    if (oneCell && !m_widgetColumns.contains(topLeft.column()) && sender() != model()
        && indexWidget(topLeft)) {
        m_widgetColumns.insert(topLeft.column());
    }
    // A refill changes every cell once and gives every cell widget. While the cells are held
    // nothing of the view is shown, so those changes are passed on together when they are
    // revealed: taken one by one, each looks its cell up among the cell widgets. Changes that
    // assistive tools listen to are passed on as they come.
    if (m_holding && oneCell && !QAccessible::isActive()) {
        m_changesHeld = true;
        return;
    }
    QTableWidget::dataChanged(topLeft, bottomRight, roles);
}

void Ledgerview::passOnHeldChanges()
{
    // Rows may have come and gone since: the whole table is announced, which costs no more
    // than a look at the editors.
    const bool held = m_changesHeld;
    m_changesHeld = false;
    const QAbstractItemModel *cells = model();
    const int rows = cells->rowCount();
    const int columns = cells->columnCount();
    if (!held || rows == 0 || columns == 0)
        return;
    QTableWidget::dataChanged(cells->index(0, 0), cells->index(rows - 1, columns - 1));
}

bool Ledgerview::eventFilter(QObject *watched, QEvent *event)
{
    // Qt filters the events of every cell widget through its view. Widgets given while the
    // cells are held are polished once they first come into view, not all at once here, and
    // the ones Qt shows are hidden at once: the reveal shows those in view.
    const QEvent::Type type = event->type();
    if (m_holding && (type == QEvent::Polish || type == QEvent::ShowToParent)
        && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->parentWidget() == viewport()) {
        if (type == QEvent::ShowToParent) {
            static_cast<QWidget *>(watched)->hide();
            return false;
        }
        if (watched != m_polishing)
            return true;
    }
    return QTableWidget::eventFilter(watched, event);
}

void Ledgerview::polishCellWidget(QWidget *widget) const
{
    if (widget->testAttribute(Qt::WA_WState_Polished))
        return;
    m_polishing = widget;
    widget->ensurePolished();
    if (!widget->testAttribute(Qt::WA_WState_Polished)) {
        // Its polish was asked for while held and put off: deliver it now.
        QEvent polish(QEvent::Polish);
        QCoreApplication::sendEvent(widget, &polish);
    }
    m_polishing = nullptr;
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
        return measuredByQt(row);
    // Only the geometry updates reuse heights: a caller that resizes the rows itself may
    // have changed a cell widget just before.
    if (!m_updatingGeometries)
        return measuredHint(row);
    if (m_rowHints.empty()) {
        m_rowHints.assign(size_t(rowCount()), -1);
        QMetaObject::invokeMethod(
            const_cast<Ledgerview *>(this), [this] { forgetRowHints(); }, Qt::QueuedConnection);
    }
    if (size_t(row) >= m_rowHints.size())
        return measuredHint(row);
    int &kept = m_rowHints[size_t(row)];
    if (kept < 0)
        kept = measuredHint(row);
    return kept;
}

int Ledgerview::measuredHint(int row) const
{
    ensurePolished();
    const int columns = columnCount();
    // The cells' text is looked at once until it changes; cell widgets are asked every time,
    // as nothing tells of their changes.
    quint32 *plainCells = nullptr;
    if (columns < KeptColumns) {
        if (m_plainCells.empty())
            m_plainCells.assign(size_t(rowCount()), UnknownCells);
        if (size_t(row) < m_plainCells.size())
            plainCells = &m_plainCells[size_t(row)];
    }
    const bool known = plainCells && *plainCells != UnknownCells && m_plainTextHeight >= 0;
    quint32 plain = 0;
    bool someHidden = false;
    int hint = 0;
    for (int column = 0; column < columns; ++column) {
        if (isColumnHidden(column)) {
            someHidden = true;
            continue;
        }
        const QWidget *widget
            = m_widgetColumns.contains(column) ? cellWidget(row, column) : nullptr;
        if (widget) {
            // As Qt does: the widget's bounds apply to the row's hint so far.
            const CellWidgetHeight height = cellWidgetHeight(widget);
            hint = qBound(height.minimum, qMax(hint, height.hint), height.maximum);
        }
        const quint32 bit = 1u << column;
        if (known) {
            if (*plainCells & bit)
                hint = qMax(hint, m_plainTextHeight);
            continue;
        }
        const QTableWidgetItem *cell = item(row, column);
        if (!cell)
            continue;
        const QString text = cell->text();
        const bool plainCell = !text.isEmpty() && !text.contains(QLatin1Char('\n'))
            && cell->data(Qt::DecorationRole).isNull() && cell->data(Qt::FontRole).isNull()
            && cell->data(Qt::SizeHintRole).isNull();
        if (!plainCell)
            return measuredByQt(row);
        plain |= bit;
        hint = qMax(hint, plainTextHeight(cell));
    }
    // Hidden columns were not looked at: rows are kept only with every column in view.
    if (plainCells && !known && !someHidden)
        *plainCells = plain;
    return showGrid() ? hint + 1 : hint;
}

int Ledgerview::measuredByQt(int row) const
{
    for (int column = 0; column < columnCount(); ++column) {
        if (QWidget *widget = cellWidget(row, column))
            polishCellWidget(widget);
    }
    return QTableWidget::sizeHintForRow(row);
}

int Ledgerview::plainTextHeight(const QTableWidgetItem *cell) const
{
    if (m_plainTextHeight < 0) {
        const QModelIndex index = indexFromItem(cell);
        m_plainTextHeight = itemDelegate(index)->sizeHint(viewOptions(), index).height();
    }
    return m_plainTextHeight;
}

Ledgerview::CellWidgetHeight Ledgerview::cellWidgetHeight(const QWidget *widget) const
{
    const auto height = [](const QWidget *measured) {
        const int hint = measured->sizeHint().height();
        return CellWidgetHeight { hint, measured->minimumHeight(), measured->maximumHeight() };
    };
    // A label not polished yet is measured by an alike label that is: polishing every one
    // would cost what putting their polish off saves.
    const auto *label = qobject_cast<const QLabel *>(widget);
    if (!label || label->testAttribute(Qt::WA_WState_Polished)) {
        polishCellWidget(const_cast<QWidget *>(widget));
        return height(widget);
    }
    LabelLook look(label);
    for (const MeasuredLabel &measured : m_measuredLabels) {
        if (measured.look == look)
            return measured.height;
    }
    polishCellWidget(const_cast<QLabel *>(label));
    const CellWidgetHeight measured = height(label);
    if (look.plainProperties) {
        // A few looks at a time: labels that all differ gain nothing from being compared.
        if (m_measuredLabels.size() >= MeasuredLooks)
            m_measuredLabels.erase(m_measuredLabels.begin());
        m_measuredLabels.push_back({ std::move(look), measured });
    }
    return measured;
}

void Ledgerview::forgetRowHints() const
{
    std::vector<int>().swap(m_rowHints);
}

void Ledgerview::forgetCells() const
{
    forgetRowHints();
    std::vector<quint32>().swap(m_plainCells);
}

void Ledgerview::forgetMeasurements()
{
    forgetCells();
    m_plainTextHeight = -1;
    m_measuredLabels.clear();
}

void Ledgerview::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        forgetMeasurements();
    QTableWidget::changeEvent(event);
}
