#include "profileplot.h"

#include "thermogramcanvas.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

ProfilePlot::ProfilePlot(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void ProfilePlot::setProfile(const QString &name, const QVector<double> &celsius)
{
    m_name = name;
    m_celsius = celsius;
    update();
}

QSize ProfilePlot::sizeHint() const
{
    return QSize(240, 8 * fontMetrics().height());
}

void ProfilePlot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const QColor text = palette().color(QPalette::WindowText);
    double low = qInf();
    double high = -qInf();
    for (const double value : m_celsius) {
        if (!std::isnan(value)) {
            low = std::min(low, value);
            high = std::max(high, value);
        }
    }
    if (!(high >= low))
        return;
    // The bounds' labels on the left, the name on top, the curve in the rest.
    const QString highText = ThermogramCanvas::celsiusText(high);
    const QString lowText = ThermogramCanvas::celsiusText(low);
    const int labels
        = std::max(metrics.horizontalAdvance(highText), metrics.horizontalAdvance(lowText)) + 6;
    const QRect plot = rect().adjusted(labels, metrics.height() + 2, -4, -metrics.height() / 2);
    if (plot.width() < 4 || plot.height() < 4)
        return;
    painter.setPen(text);
    painter.drawText(QRect(0, 0, width(), metrics.height()), Qt::AlignHCenter, m_name);
    painter.drawText(QRect(0, plot.top() - metrics.height() / 2, labels - 4, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, highText);
    painter.drawText(QRect(0, plot.bottom() - metrics.height() / 2, labels - 4, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, lowText);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    painter.drawRect(plot);

    QPainterPath path;
    bool drawing = false;
    const int n = m_celsius.size();
    for (int i = 0; i < n; ++i) {
        const double value = m_celsius.at(i);
        if (std::isnan(value)) {
            drawing = false;
            continue;
        }
        const double x = plot.left() + (n > 1 ? double(i) / (n - 1) : 0.5) * plot.width();
        const double y
            = plot.bottom() - (high > low ? (value - low) / (high - low) : 0.5) * plot.height();
        if (drawing)
            path.lineTo(x, y);
        else
            path.moveTo(x, y);
        drawing = true;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 140, 0), 1.5));
    painter.drawPath(path);
}
