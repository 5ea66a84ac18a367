#include "palettebar.h"

#include "thermalpalette.h"
#include "thermogramcanvas.h"
#include "thermogramformat.h"
#include "thermogrampainter.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {

constexpr int BarWidth = 14;
constexpr int Gap = 4;
constexpr double SmallestSpan = 0.1; // a dragged range keeps at least this much

} // namespace

PaletteBar::PaletteBar(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    setCursor(Qt::SizeVerCursor);
}

void PaletteBar::setRange(double minimum, double maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
    m_minimumText = ThermogramCanvas::celsiusText(minimum);
    m_maximumText = ThermogramCanvas::celsiusText(maximum);
    update();
}

int PaletteBar::labelHeight() const
{
    return fontMetrics().height();
}

QSize PaletteBar::sizeHint() const
{
    // As wide as the widest label a block can give, so that the bar never changes its width.
    const QFontMetrics metrics = fontMetrics();
    const int text = qMax(
        metrics.horizontalAdvance(ThermogramCanvas::celsiusText(ThermogramFormat::MinCelsius)),
        metrics.horizontalAdvance(ThermogramCanvas::celsiusText(ThermogramFormat::MaxCelsius)));
    return QSize(BarWidth + Gap + text, 4 * metrics.height());
}

QSize PaletteBar::minimumSizeHint() const
{
    return sizeHint();
}

void PaletteBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int top = metrics.height() / 2;
    const int bottom = height() - metrics.height() / 2;
    if (bottom <= top)
        return;
    const QRect bar(0, top, BarWidth, bottom - top);
    const QRect labels(BarWidth + Gap, 0, width() - BarWidth - Gap, height());
    if (m_painter && m_painter->plane().isValid()) {
        ThermogramPainter scale = *m_painter;
        scale.setTextColour(palette().color(QPalette::WindowText));
        scale.paintScale(painter, bar, labels);
        return;
    }
    for (int y = top; y < bottom; ++y) {
        const double fraction = double(bottom - 1 - y) / qMax(1, bottom - 1 - top);
        painter.fillRect(0, y, BarWidth, 1, QColor(ThermalPalette::colourAt(fraction)));
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(labels.x(), 0, labels.width(), metrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, m_maximumText);
    painter.drawText(
        QRect(labels.x(), height() - metrics.height(), labels.width(), metrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter, m_minimumText);
}

void PaletteBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !(m_maximum > m_minimum)) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragging = event->pos().y() < height() / 2 ? Bound::High : Bound::Low;
    m_pressLow = m_minimum;
    m_pressHigh = m_maximum;
}

void PaletteBar::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging == Bound::None)
        return;
    // The temperature under the pointer on the scale as it was when the drag began.
    const int top = labelHeight() / 2;
    const int bottom = height() - labelHeight() / 2;
    const double fraction = double(bottom - event->pos().y()) / qMax(1, bottom - top);
    const double celsius = m_pressLow + fraction * (m_pressHigh - m_pressLow);
    double low = m_minimum;
    double high = m_maximum;
    if (m_dragging == Bound::High)
        high = qMax(celsius, low + SmallestSpan);
    else
        low = qMin(celsius, high - SmallestSpan);
    // Tenths, as the labels show them.
    low = std::round(low * 10.0) / 10.0;
    high = std::round(high * 10.0) / 10.0;
    if (low != m_minimum || high != m_maximum)
        emit rangeDragged(low, high, false);
}

void PaletteBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_dragging == Bound::None || event->button() != Qt::LeftButton)
        return;
    m_dragging = Bound::None;
    emit rangeDragged(m_minimum, m_maximum, true);
}
