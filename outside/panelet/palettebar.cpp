#include "palettebar.h"

#include "thermalpalette.h"
#include "thermogramcanvas.h"
#include "thermogramformat.h"

#include <QPainter>

namespace {

constexpr int BarWidth = 14;
constexpr int Gap = 4;

} // namespace

PaletteBar::PaletteBar(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

void PaletteBar::setRange(double minimum, double maximum)
{
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
    for (int y = top; y < bottom; ++y) {
        const double fraction = double(bottom - 1 - y) / qMax(1, bottom - 1 - top);
        painter.fillRect(0, y, BarWidth, 1, QColor(ThermalPalette::colourAt(fraction)));
    }
    painter.setPen(palette().color(QPalette::WindowText));
    const int x = BarWidth + Gap;
    painter.drawText(QRect(x, 0, width() - x, metrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     m_maximumText);
    painter.drawText(QRect(x, height() - metrics.height(), width() - x, metrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, m_minimumText);
}
