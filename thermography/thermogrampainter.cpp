#include "thermogrampainter.h"

#include "thermalrenderer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

enum Shape { Hottest, Coldest, Centre, Pointer, ToolMaximum, ToolMinimum };

constexpr int BarWidth = 14;
constexpr int Gap = 6;
constexpr int LabelOffset = 10; // from a marker's centre to its value

/** Where a label goes: the first place around at inside the picture that covers nothing. */
QRectF placeLabel(const QPointF &at, const QSizeF &size, const QRectF &picture,
                  const QVector<QRectF> &taken)
{
    const double w = size.width();
    const double h = size.height();
    const QRectF candidates[] = {
        QRectF(at.x() + LabelOffset, at.y() - h / 2, w, h), // right
        QRectF(at.x() - LabelOffset - w, at.y() - h / 2, w, h), // left
        QRectF(at.x() - w / 2, at.y() - LabelOffset - h, w, h), // above
        QRectF(at.x() - w / 2, at.y() + LabelOffset, w, h), // below
        QRectF(at.x() + LabelOffset, at.y() - LabelOffset - h, w, h), // above right
        QRectF(at.x() - LabelOffset - w, at.y() - LabelOffset - h, w, h), // above left
        QRectF(at.x() + LabelOffset, at.y() + LabelOffset, w, h), // below right
        QRectF(at.x() - LabelOffset - w, at.y() + LabelOffset, w, h), // below left
    };
    for (const QRectF &candidate : candidates) {
        if (!picture.contains(candidate))
            continue;
        const bool free = std::none_of(taken.begin(), taken.end(), [&](const QRectF &other) {
            return other.intersects(candidate);
        });
        if (free)
            return candidate;
    }
    // A crowded or tiny picture: beside the marker, kept inside as far as it goes.
    QRectF box = candidates[0];
    if (box.right() > picture.right())
        box.moveRight(candidates[1].right());
    box.moveTop(qBound(picture.top(), box.top(), qMax(picture.top(), picture.bottom() - h)));
    return box;
}

/** Light text on a dark box reads over every colour of every palette. */
void drawLabel(QPainter &painter, const QRectF &box, const QString &text, const QColor &colour)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 190));
    painter.drawRoundedRect(box, 3, 3);
    painter.setPen(colour);
    painter.drawText(box, Qt::AlignCenter, text);
}

void strokeTwice(QPainter &painter, const QPainterPath &path, const QColor &colour, double width,
                 bool filled = false)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, width + 1.5));
    painter.drawPath(path);
    painter.setBrush(filled ? QBrush(colour) : QBrush(Qt::NoBrush));
    painter.setPen(QPen(colour, width));
    painter.drawPath(path);
}

void drawMarker(QPainter &painter, const QPointF &at, const QColor &colour, Shape shape)
{
    // A tool's own extremes are drawn smaller than the picture's, without their values.
    const double s = shape == ToolMaximum || shape == ToolMinimum ? 0.6 : 1.0;
    QPainterPath path;
    switch (shape) {
    case Hottest:
    case ToolMaximum: // a triangle pointing up
        path.addPolygon(QPolygonF({ at + QPointF(0, -7) * s, at + QPointF(6, 5) * s,
                                    at + QPointF(-6, 5) * s, at + QPointF(0, -7) * s }));
        break;
    case Coldest:
    case ToolMinimum: // a triangle pointing down
        path.addPolygon(QPolygonF({ at + QPointF(0, 7) * s, at + QPointF(6, -5) * s,
                                    at + QPointF(-6, -5) * s, at + QPointF(0, 7) * s }));
        break;
    case Centre: // a cross
        path.moveTo(at + QPointF(-7, 0));
        path.lineTo(at + QPointF(7, 0));
        path.moveTo(at + QPointF(0, -7));
        path.lineTo(at + QPointF(0, 7));
        break;
    case Pointer: // a small ring
        path.addEllipse(at, 4, 4);
        break;
    }
    // The triangles are filled so that they tell hottest from coldest at a glance.
    strokeTwice(painter, path, colour, 1.5, shape != Centre && shape != Pointer);
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
    // What rounds to zero from below is written as zero, without a minus. Digits and the
    // unit's symbol read the same in every language the program speaks.
    if (celsius > -0.05 && celsius <= 0.0)
        celsius = 0.0;
    return QString::number(celsius, 'f', 1) + QStringLiteral(" °C");
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
    paintPicture(painter, parts.picture);
    paintScale(painter, parts.scaleBar, parts.scaleLabels);
    if (!parts.parameters.isEmpty()) {
        painter.save();
        painter.setPen(m_textColour);
        painter.drawText(parts.parameters, Qt::AlignLeft | Qt::AlignVCenter, m_parameters);
        painter.restore();
    }
}

QPointF ThermogramPainter::markerCentre(const QRect &picture, const QSize &plane,
                                        const QPoint &cell)
{
    const QPointF at = cellCentre(picture, plane, cell);
    const QRectF inner
        = QRectF(picture).adjusted(MarkerReach, MarkerReach, -MarkerReach, -MarkerReach);
    if (inner.width() < 0 || inner.height() < 0)
        return at;
    return QPointF(qBound(inner.left(), at.x(), inner.right()),
                   qBound(inner.top(), at.y(), inner.bottom()));
}

void ThermogramPainter::paintPicture(QPainter &painter, const QRect &picture) const
{
    if (!m_plane.isValid() || picture.isEmpty())
        return;
    painter.save();
    // Cells without a value show as hatching behind the transparent pixels.
    if (m_plane.valuedCount() < m_plane.width() * m_plane.height()) {
        painter.fillRect(picture, QColor(60, 60, 60));
        painter.fillRect(picture, QBrush(QColor(150, 150, 150), Qt::BDiagPattern));
    }
    // Each cell as it is, a block of pixels, so that the tools' edges line up with the cells.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(picture, rendered());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(picture);

    QVector<QRectF> taken; // markers and labels that later labels keep clear of
    for (int i = 0; i < m_analysis.tools.size(); ++i)
        paintTool(painter, picture, i, &taken);

    struct Marker
    {
        QPoint cell;
        QColor colour;
        QColor textColour; // light, for the dark box
        Shape shape;
    };
    QVector<Marker> markers;
    if (m_plane.valuedCount() > 0)
        markers
            = { { m_plane.centreCell(), Qt::white, Qt::white, Centre },
                { m_plane.hottestCell(), QColor(HottestColour), QColor(255, 175, 165), Hottest },
                { m_plane.coldestCell(), QColor(ColdestColour), QColor(175, 230, 255), Coldest } };
    if (m_plane.contains(m_pointer))
        markers.append({ m_pointer, QColor(255, 255, 160), QColor(255, 255, 190), Pointer });
    for (const Marker &marker : markers) {
        const QPointF at = markerCentre(picture, m_plane.size(), marker.cell);
        taken.append(QRectF(at - QPointF(MarkerReach, MarkerReach),
                            QSizeF(2 * MarkerReach, 2 * MarkerReach)));
        drawMarker(painter, at, marker.colour, marker.shape);
    }
    const QFontMetrics metrics = painter.fontMetrics();
    for (const Marker &marker : markers) {
        const QPointF at = markerCentre(picture, m_plane.size(), marker.cell);
        const QString text = celsiusText(m_plane.valueAt(marker.cell));
        const QRectF box = placeLabel(
            at, QSizeF(metrics.horizontalAdvance(text) + 6, metrics.height() + 2), picture, taken);
        taken.append(box);
        drawLabel(painter, box, text, marker.textColour);
    }
    painter.restore();
}

void ThermogramPainter::paintScale(QPainter &painter, const QRect &bar, const QRect &labels) const
{
    if (bar.isEmpty())
        return;
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
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(bar, column);
    painter.setPen(m_textColour);
    const int line = painter.fontMetrics().height();
    painter.drawText(QRect(labels.left(), labels.top(), labels.width(), line),
                     Qt::AlignLeft | Qt::AlignVCenter, celsiusText(high));
    painter.drawText(QRect(labels.left(), labels.bottom() + 1 - line, labels.width(), line),
                     Qt::AlignLeft | Qt::AlignVCenter, celsiusText(low));
    painter.restore();
}

void ThermogramPainter::paintTool(QPainter &painter, const QRect &picture, int index,
                                  QVector<QRectF> *taken) const
{
    const MeasurementTool &tool = m_analysis.tools.at(index);
    const QSize plane = m_plane.size();
    const bool selected = index == m_selected;
    const QColor colour(selected ? SelectedToolColour : ToolColour);
    QPainterPath path;
    QPointF labelAt;
    switch (tool.kind) {
    case MeasurementTool::Spot: {
        const QPointF at = cellCentre(picture, plane, tool.start);
        path.addEllipse(at, 5, 5);
        for (const QPointF &d : { QPointF(1, 0), QPointF(-1, 0), QPointF(0, 1), QPointF(0, -1) }) {
            path.moveTo(at + 5 * d);
            path.lineTo(at + 9 * d);
        }
        labelAt = at;
        break;
    }
    case MeasurementTool::Box:
    case MeasurementTool::Ellipse: {
        const QRectF r = cellsRect(picture, plane, tool.rect);
        if (tool.kind == MeasurementTool::Box)
            path.addRect(r);
        else
            path.addEllipse(r);
        labelAt = r.topLeft();
        break;
    }
    case MeasurementTool::Line:
        path.moveTo(cellCentre(picture, plane, tool.start));
        path.lineTo(cellCentre(picture, plane, tool.end));
        labelAt = cellCentre(picture, plane, tool.start);
        break;
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
        painter.setBrush(colour);
        for (const QPointF &handle : handles)
            painter.drawRect(QRectF(handle - QPointF(3, 3), QSizeF(6, 6)));
    }
    if (tool.kind != MeasurementTool::Spot) {
        const ToolStatistics statistics = tool.measure(m_plane);
        if (statistics.hasValue()) {
            drawMarker(painter, cellCentre(picture, plane, statistics.maximumCell),
                       QColor(HottestColour), ToolMaximum);
            drawMarker(painter, cellCentre(picture, plane, statistics.minimumCell),
                       QColor(ColdestColour), ToolMinimum);
        }
    }
    const QFontMetrics metrics = painter.fontMetrics();
    const QRectF box = placeLabel(
        labelAt, QSizeF(metrics.horizontalAdvance(tool.name) + 6, metrics.height() + 2), picture,
        *taken);
    taken->append(box);
    drawLabel(painter, box, tool.name, colour);
}
