#include "thermogrampainter.h"

#include "thermalrenderer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

enum Shape { Up, Down, Cross, Ring };

constexpr int BarWidth = 14;
constexpr int Gap = 6;
const QColor HotColour(255, 60, 40);
const QColor ColdColour(80, 200, 255);
const QColor ToolColour(255, 255, 255);
const QColor SelectedColour(255, 230, 0);

// A label on a dark box, moved to stay inside bounds.
void drawLabel(QPainter &painter, const QRect &bounds, QPointF at, const QString &text,
               const QColor &colour)
{
    const QFontMetrics metrics = painter.fontMetrics();
    QRectF box(at, QSizeF(metrics.horizontalAdvance(text) + 6, metrics.height()));
    if (box.right() > bounds.right())
        box.moveRight(bounds.right());
    if (box.left() < bounds.left())
        box.moveLeft(bounds.left());
    if (box.bottom() > bounds.bottom())
        box.moveBottom(bounds.bottom());
    if (box.top() < bounds.top())
        box.moveTop(bounds.top());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 160));
    painter.drawRoundedRect(box, 3, 3);
    painter.setPen(colour);
    painter.drawText(box, Qt::AlignCenter, text);
}

void strokeTwice(QPainter &painter, const QPainterPath &path, const QColor &colour, double width)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, width + 2));
    painter.drawPath(path);
    painter.setPen(QPen(colour, width));
    painter.drawPath(path);
}

} // namespace

ThermogramPainter::ThermogramPainter(const TemperaturePlane &plane, const PictureAnalysis &analysis)
    : m_plane(plane)
    , m_analysis(analysis)
{ }

void ThermogramPainter::setPlane(const TemperaturePlane &plane)
{
    m_plane = plane;
    m_rendered = QImage();
}

void ThermogramPainter::setAnalysis(const PictureAnalysis &analysis)
{
    if (analysis.palette != m_analysis.palette || analysis.range != m_analysis.range
        || analysis.isotherm != m_analysis.isotherm)
        m_rendered = QImage();
    m_analysis = analysis;
}

QImage ThermogramPainter::rendered() const
{
    if (m_rendered.isNull())
        m_rendered = ThermalRenderer::render(m_plane, m_analysis.palette, m_analysis.range,
                                             m_analysis.isotherm);
    return m_rendered;
}

QString ThermogramPainter::celsiusText(double celsius)
{
    if (std::isnan(celsius))
        return QStringLiteral("—");
    // Digits and the unit's symbol read the same in every language the program speaks; a
    // value that rounds to zero never shows a minus sign.
    QString text = QString::number(celsius, 'f', 1);
    if (text == QLatin1String("-0.0"))
        text = QStringLiteral("0.0");
    return text + QStringLiteral(" °C");
}

ThermogramPainter::Layout ThermogramPainter::layout(const QRect &area,
                                                    const QFontMetrics &metrics) const
{
    Layout result;
    if (!m_plane.isValid() || area.isEmpty())
        return result;
    const int line = metrics.height();
    // The labels' column is as wide as the widest temperature it can show, so that it keeps
    // its width when the range changes.
    const int labelWidth
        = std::max({ metrics.horizontalAdvance(QStringLiteral("-888.8 °C")),
                     metrics.horizontalAdvance(celsiusText(m_analysis.range.lowFor(m_plane))),
                     metrics.horizontalAdvance(celsiusText(m_analysis.range.highFor(m_plane))) });
    const int scaleWidth = BarWidth + Gap + labelWidth;
    QRect free = area.adjusted(0, line / 2, -(scaleWidth + Gap), -line / 2);
    if (!m_parameters.isEmpty())
        free.setBottom(free.bottom() - line - Gap);
    QSize size = m_plane.size();
    if (m_maximumZoom > 0)
        size = size.scaled(free.size().boundedTo(m_plane.size() * m_maximumZoom),
                           Qt::KeepAspectRatio);
    else
        size.scale(free.size(), Qt::KeepAspectRatio);
    if (size.isEmpty())
        return result;
    // Picture and scale together are centred across the area.
    const int left = area.left() + (area.width() - size.width() - Gap - scaleWidth) / 2;
    const int top = free.top() + (free.height() - size.height()) / 2;
    result.picture = QRect(QPoint(left, top), size);
    result.scaleBar = QRect(result.picture.right() + 1 + Gap, top, BarWidth, size.height());
    result.scaleLabels = QRect(result.scaleBar.right() + 1 + Gap, top - line / 2, labelWidth,
                               size.height() + line);
    if (!m_parameters.isEmpty())
        result.parameters
            = QRect(area.left(), result.picture.bottom() + 1 + line / 2 + Gap, area.width(), line);
    return result;
}

QPointF ThermogramPainter::cellCentre(const QRect &picture, const QSize &plane, const QPoint &cell)
{
    return QPointF(picture.x() + (cell.x() + 0.5) * picture.width() / plane.width(),
                   picture.y() + (cell.y() + 0.5) * picture.height() / plane.height());
}

QRectF ThermogramPainter::cellsRect(const QRect &picture, const QSize &plane, const QRect &cells)
{
    const double sx = double(picture.width()) / plane.width();
    const double sy = double(picture.height()) / plane.height();
    return QRectF(picture.x() + cells.x() * sx, picture.y() + cells.y() * sy, cells.width() * sx,
                  cells.height() * sy);
}

QPoint ThermogramPainter::cellAt(const QRect &picture, const QSize &plane, const QPoint &point)
{
    if (picture.isEmpty() || plane.isEmpty() || !picture.contains(point))
        return QPoint(-1, -1);
    // A pixel stands for the cell under its centre.
    const int x
        = int(std::floor((point.x() - picture.x() + 0.5) * plane.width() / picture.width()));
    const int y
        = int(std::floor((point.y() - picture.y() + 0.5) * plane.height() / picture.height()));
    return QPoint(qBound(0, x, plane.width() - 1), qBound(0, y, plane.height() - 1));
}

void ThermogramPainter::paint(QPainter &painter, const QRect &area) const
{
    const Layout parts = layout(area, painter.fontMetrics());
    if (parts.picture.isEmpty())
        return;
    painter.save();
    // Cells without a value show as hatching behind the transparent pixels.
    if (m_plane.valuedCount() < m_plane.width() * m_plane.height()) {
        painter.fillRect(parts.picture, QColor(60, 60, 60));
        painter.fillRect(parts.picture, QBrush(QColor(150, 150, 150), Qt::BDiagPattern));
    }
    // Each cell as it is, a block of pixels, so that the tools' edges line up with the cells.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(parts.picture, rendered());
    painter.setRenderHint(QPainter::Antialiasing);
    paintScale(painter, parts);

    painter.setClipRect(parts.picture);
    for (int i = 0; i < m_analysis.tools.size(); ++i)
        paintTool(painter, parts.picture, i);
    paintValueMarker(painter, parts.picture, m_plane.coldestCell(), ColdColour, Down, true);
    paintValueMarker(painter, parts.picture, m_plane.centreCell(), Qt::white, Cross, true);
    paintValueMarker(painter, parts.picture, m_plane.hottestCell(), HotColour, Up, true);
    if (m_plane.contains(m_pointer))
        paintValueMarker(painter, parts.picture, m_pointer, QColor(255, 255, 160), Ring, false);
    painter.setClipping(false);

    if (!parts.parameters.isEmpty()) {
        painter.setPen(m_textColour);
        painter.drawText(parts.parameters, Qt::AlignLeft | Qt::AlignVCenter, m_parameters);
    }
    painter.restore();
}

void ThermogramPainter::paintScale(QPainter &painter, const Layout &parts) const
{
    const QRect bar = parts.scaleBar;
    const double low = m_analysis.range.lowFor(m_plane);
    const double high = m_analysis.range.highFor(m_plane);
    // The palette as a column of its colours, hottest at the top, stretched over the bar.
    QImage column(1, ThermalPalette::Size, QImage::Format_RGB32);
    const QVector<QRgb> &colours = ThermalPalette::colours(m_analysis.palette);
    for (int i = 0; i < ThermalPalette::Size; ++i) {
        const double celsius = low + (high - low) * i / (ThermalPalette::Size - 1);
        column.setPixel(0, ThermalPalette::Size - 1 - i,
                        m_analysis.isotherm.mode != Isotherm::Off
                                && m_analysis.isotherm.covers(celsius)
                            ? ThermalPalette::contrastColour(m_analysis.palette)
                            : colours.at(i));
    }
    painter.drawImage(bar, column);
    painter.setPen(m_textColour);
    const int line = painter.fontMetrics().height();
    const QRect labels = parts.scaleLabels;
    painter.drawText(QRect(labels.left(), labels.top(), labels.width(), line),
                     Qt::AlignLeft | Qt::AlignVCenter, celsiusText(high));
    painter.drawText(QRect(labels.left(), labels.bottom() + 1 - line, labels.width(), line),
                     Qt::AlignLeft | Qt::AlignVCenter, celsiusText(low));
}

void ThermogramPainter::paintTool(QPainter &painter, const QRect &picture, int index) const
{
    const MeasurementTool &tool = m_analysis.tools.at(index);
    const QSize plane = m_plane.size();
    const bool selected = index == m_selected;
    const QColor colour = selected ? SelectedColour : ToolColour;
    QPainterPath path;
    QPointF labelAt;
    switch (tool.kind) {
    case MeasurementTool::Spot: {
        const QPointF at = cellCentre(picture, plane, tool.start);
        path.addEllipse(at, 5, 5);
        path.moveTo(at + QPointF(-9, 0));
        path.lineTo(at + QPointF(-5, 0));
        path.moveTo(at + QPointF(5, 0));
        path.lineTo(at + QPointF(9, 0));
        path.moveTo(at + QPointF(0, -9));
        path.lineTo(at + QPointF(0, -5));
        path.moveTo(at + QPointF(0, 5));
        path.lineTo(at + QPointF(0, 9));
        labelAt = at + QPointF(8, 4);
        break;
    }
    case MeasurementTool::Box:
    case MeasurementTool::Ellipse: {
        const QRectF r = cellsRect(picture, plane, tool.rect);
        if (tool.kind == MeasurementTool::Box)
            path.addRect(r);
        else
            path.addEllipse(r);
        labelAt = r.topLeft() + QPointF(2, 2);
        break;
    }
    case MeasurementTool::Line: {
        const QPointF from = cellCentre(picture, plane, tool.start);
        const QPointF to = cellCentre(picture, plane, tool.end);
        path.moveTo(from);
        path.lineTo(to);
        labelAt = from + QPointF(4, 4);
        break;
    }
    }
    strokeTwice(painter, path, colour, selected ? 2.5 : 1.5);
    if (selected) {
        // Handles where a drag resizes the tool.
        QVector<QPointF> handles;
        if (tool.kind == MeasurementTool::Line) {
            handles
                = { cellCentre(picture, plane, tool.start), cellCentre(picture, plane, tool.end) };
        } else if (tool.kind != MeasurementTool::Spot) {
            const QRectF r = cellsRect(picture, plane, tool.rect);
            handles = { r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight() };
        }
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(SelectedColour);
        for (const QPointF &handle : handles)
            painter.drawRect(QRectF(handle - QPointF(3, 3), QSizeF(6, 6)));
    }
    if (tool.kind != MeasurementTool::Spot) {
        const ToolStatistics statistics = tool.measure(m_plane);
        if (statistics.hasValue()) {
            paintValueMarker(painter, picture, statistics.maximumCell, HotColour, Up, false);
            paintValueMarker(painter, picture, statistics.minimumCell, ColdColour, Down, false);
        }
    }
    drawLabel(painter, picture, labelAt, tool.name, colour);
}

void ThermogramPainter::paintValueMarker(QPainter &painter, const QRect &picture,
                                         const QPoint &cell, const QColor &colour, int shape,
                                         bool withValue) const
{
    if (!m_plane.contains(cell))
        return;
    const QPointF at = cellCentre(picture, m_plane.size(), cell);
    const double s = withValue ? 1.0 : 0.6; // a tool's own extremes are drawn smaller
    QPainterPath path;
    switch (shape) {
    case Up:
        path.addPolygon(QPolygonF({ at + QPointF(0, -7) * s, at + QPointF(6, 5) * s,
                                    at + QPointF(-6, 5) * s, at + QPointF(0, -7) * s }));
        break;
    case Down:
        path.addPolygon(QPolygonF({ at + QPointF(0, 7) * s, at + QPointF(6, -5) * s,
                                    at + QPointF(-6, -5) * s, at + QPointF(0, 7) * s }));
        break;
    case Cross:
        path.moveTo(at + QPointF(-7, 0));
        path.lineTo(at + QPointF(7, 0));
        path.moveTo(at + QPointF(0, -7));
        path.lineTo(at + QPointF(0, 7));
        break;
    default:
        path.addEllipse(at, 4, 4);
        break;
    }
    strokeTwice(painter, path, colour, 1.5);
    if (!withValue)
        return;
    const QString text = celsiusText(m_plane.valueAt(cell));
    const QFontMetrics metrics = painter.fontMetrics();
    QPointF labelAt = at + QPointF(10, -metrics.height() / 2.0);
    // On the marker's left when the right would leave the picture.
    if (labelAt.x() + metrics.horizontalAdvance(text) + 6 > picture.right())
        labelAt.setX(at.x() - 10 - metrics.horizontalAdvance(text) - 6);
    drawLabel(painter, picture, labelAt, text, colour);
}
