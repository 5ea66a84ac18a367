#include "ledgerrowheader.h"

#include <QApplication>
#include <QEvent>
#include <QStyle>
#include <QTableWidget>

namespace {

// Below this many sections the header measures every label as Qt does.
constexpr int ManySections = 64;

} // namespace

LedgerRowHeader::LedgerRowHeader(QWidget *parent)
    : QHeaderView(Qt::Vertical, parent)
{
    pinMinimumSectionSize();
}

LedgerRowHeader::~LedgerRowHeader() = default;

QSize LedgerRowHeader::sizeHint() const
{
    // The header's width is measured from the labels of the first and last sections.
    m_measuringWidth = true;
    const QSize hint = QHeaderView::sizeHint();
    m_measuringWidth = false;
    return hint;
}

QSize LedgerRowHeader::sectionSizeFromContents(int logicalIndex) const
{
    if (m_measuringWidth || count() < ManySections || !isPlainLabel(logicalIndex))
        return QHeaderView::sectionSizeFromContents(logicalIndex);
    if (m_plainHeight < 0) {
        const QSize measured = QHeaderView::sectionSizeFromContents(logicalIndex);
        m_plainHeight = measured.height();
        return measured;
    }
    // Outside sizeHint() only the height of a row's label is asked for.
    return QSize(0, m_plainHeight);
}

bool LedgerRowHeader::isPlainLabel(int logicalIndex) const
{
    const QAbstractItemModel *source = model();
    if (!source)
        return false;
    // A table's row without a header item of its own is labelled with its number alone.
    const auto *table = qobject_cast<const QTableWidget *>(parentWidget());
    if (table && table->model() == source && !table->verticalHeaderItem(logicalIndex))
        return true;
    const auto data
        = [&](int role) { return source->headerData(logicalIndex, orientation(), role); };
    if (data(Qt::SizeHintRole).isValid() || data(Qt::FontRole).isValid()
        || !data(Qt::DecorationRole).isNull())
        return false;
    // A row's number, as the table gives it, is one line without being written out.
    const QVariant label = data(Qt::DisplayRole);
    return label.userType() == QMetaType::Int
        || !label.toString().contains(QLatin1Char('\n'));
}

void LedgerRowHeader::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_plainHeight = -1;
    QHeaderView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        pinMinimumSectionSize();
}

bool LedgerRowHeader::event(QEvent *event)
{
    const bool handled = QHeaderView::event(event);
    // A style sheet takes effect when the header is polished.
    if (event->type() == QEvent::Polish)
        pinMinimumSectionSize();
    return handled;
}

void LedgerRowHeader::pinMinimumSectionSize()
{
    if (m_pinnedMinimum >= 0 && minimumSectionSize() != m_pinnedMinimum)
        return; // set from outside
    // As QHeaderView works it out for a vertical header when none is set.
    const int margin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    const int minimum = qMax(QApplication::globalStrut().height(), fontMetrics().height() + margin);
    if (minimum == m_pinnedMinimum)
        return;
    m_pinnedMinimum = minimum;
    setMinimumSectionSize(minimum);
}
