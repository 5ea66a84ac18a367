#include "thermogramcanvas.h"

#include "palettebar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

enum MarkerShape { Hottest, Coldest, Centre, Pointer };

const QPoint NoCell(-1, -1);
constexpr int ScaleGap = 8; // between the picture and its scale
constexpr int LabelOffset = 10; // from a marker's centre to its value

/** Where a marker's value goes: the first place inside the picture that covers nothing. */
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

} // namespace

ThermogramCanvas::ThermogramCanvas(QWidget *parent)
    : QWidget(parent)
    , m_paletteBar(new PaletteBar(this))
{
    m_paletteBar->hide();
    setMouseTracking(true);
    setMinimumSize(1, 1);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
}

void ThermogramCanvas::setPicture(const QImage &image, const Thermogram &thermogram)
{
    m_image = image;
    m_thermogram = thermogram.isValid() ? thermogram : Thermogram();
    m_hottest = m_thermogram.hottestCell();
    m_coldest = m_thermogram.coldestCell();
    if (m_thermogram.isValid())
        m_paletteBar->setRange(m_thermogram.celsiusAt(m_coldest),
                               m_thermogram.celsiusAt(m_hottest));
    updateScaledPicture();
    // The pointer may already be over the new picture.
    const QPoint pointer = mapFromGlobal(QCursor::pos());
    setPointerCell(underMouse() && m_thermogram.isValid()
                       ? cellAt(m_pictureRect, m_thermogram.planeSize, pointer)
                       : NoCell);
    update();
}

void ThermogramCanvas::clear()
{
    setPicture(QImage(), Thermogram());
}

QRect ThermogramCanvas::fitRect(const QSize &area, const QSize &picture)
{
    if (picture.isEmpty() || area.isEmpty())
        return QRect();
    const QSize size = picture.scaled(area.boundedTo(picture * MaxZoom), Qt::KeepAspectRatio);
    return QRect(QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2),
                 size);
}

QPoint ThermogramCanvas::cellAt(const QRect &rect, const QSize &plane, const QPoint &point)
{
    if (rect.isEmpty() || plane.isEmpty() || !rect.contains(point))
        return NoCell;
    // A pixel stands for the cell under its centre.
    const int x = int(std::floor((point.x() - rect.x() + 0.5) * plane.width() / rect.width()));
    const int y = int(std::floor((point.y() - rect.y() + 0.5) * plane.height() / rect.height()));
    return QPoint(qBound(0, x, plane.width() - 1), qBound(0, y, plane.height() - 1));
}

QPointF ThermogramCanvas::cellCentre(const QRect &rect, const QSize &plane, const QPoint &cell)
{
    return QPointF(rect.x() + (cell.x() + 0.5) * rect.width() / plane.width(),
                   rect.y() + (cell.y() + 0.5) * rect.height() / plane.height());
}

QPointF ThermogramCanvas::markerCentre(const QRect &rect, const QSize &plane, const QPoint &cell)
{
    // A marker at the picture's edge is pulled in so that all of it shows on the picture.
    const QPointF at = cellCentre(rect, plane, cell);
    const QRectF inner
        = QRectF(rect).adjusted(MarkerReach, MarkerReach, -MarkerReach, -MarkerReach);
    if (inner.width() < 0 || inner.height() < 0)
        return at;
    return QPointF(qBound(inner.left(), at.x(), inner.right()),
                   qBound(inner.top(), at.y(), inner.bottom()));
}

QString ThermogramCanvas::celsiusText(double celsius)
{
    // What rounds to zero from below is written as zero, without a minus.
    if (celsius > -0.05 && celsius <= 0.0)
        celsius = 0.0;
    // Digits and the unit's symbol read the same in every language the program speaks.
    return QString::number(celsius, 'f', 1) + QStringLiteral(" °C");
}

void ThermogramCanvas::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateScaledPicture();
    // The picture moved under a pointer that stayed where it was.
    if (m_thermogram.isValid() && m_pointerPosition)
        setPointerCell(cellAt(m_pictureRect, m_thermogram.planeSize, *m_pointerPosition));
}

void ThermogramCanvas::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    m_pointerPosition = event->pos();
    if (m_thermogram.isValid())
        setPointerCell(cellAt(m_pictureRect, m_thermogram.planeSize, event->pos()));
}

void ThermogramCanvas::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    m_pointerPosition.reset();
    setPointerCell(NoCell);
}

void ThermogramCanvas::setPointerCell(const QPoint &cell)
{
    if (cell == m_pointerCell)
        return;
    m_pointerCell = cell;
    update();
    emit pointerCellChanged(cell);
}

void ThermogramCanvas::updateScaledPicture()
{
    // The picture is fitted beside a strip that the scale takes on its right, with half a line
    // above and below for the scale's labels, and the two are centred together. A picture
    // without temperatures is fitted the same way, so that it is drawn at the same size.
    const QSize bar = m_paletteBar->sizeHint();
    const int labelMargin = m_paletteBar->labelHeight() / 2;
    const QSize area(width() - bar.width() - ScaleGap, height() - 2 * labelMargin);
    m_pictureRect = fitRect(area, m_image.size());
    if (!m_pictureRect.isEmpty()) {
        const int strip = m_thermogram.isValid() ? ScaleGap + bar.width() : 0;
        const int left = (width() - (m_pictureRect.width() + strip)) / 2;
        m_pictureRect.moveTo(left, (height() - m_pictureRect.height()) / 2);
        m_paletteBar->setGeometry(m_pictureRect.right() + 1 + ScaleGap,
                                  m_pictureRect.top() - labelMargin, bar.width(),
                                  m_pictureRect.height() + 2 * labelMargin);
    }
    m_paletteBar->setVisible(m_thermogram.isValid() && !m_pictureRect.isEmpty());
    m_scaled = m_pictureRect.isEmpty()
        ? QPixmap()
        : QPixmap::fromImage(
            m_image.scaled(m_pictureRect.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    update();
}

void ThermogramCanvas::paintEvent(QPaintEvent *)
{
    if (m_scaled.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(m_pictureRect.topLeft(), m_scaled);
    if (!m_thermogram.isValid())
        return;

    struct Marker
    {
        QPoint cell;
        QColor colour;
        QColor textColour; // light, for the dark box
        MarkerShape shape;
    };
    QVector<Marker> markers = { { m_thermogram.centreCell(), Qt::white, Qt::white, Centre },
                                { m_hottest, HottestColour, QColor(255, 175, 165), Hottest },
                                { m_coldest, ColdestColour, QColor(175, 230, 255), Coldest } };
    if (m_pointerCell != NoCell)
        markers.append({ m_pointerCell, QColor(255, 255, 160), QColor(255, 255, 190), Pointer });

    painter.setRenderHint(QPainter::Antialiasing);
    // The labels go where they cover no marker and no other label.
    QVector<QRectF> taken;
    for (const Marker &marker : markers) {
        const QPointF at = markerCentre(m_pictureRect, m_thermogram.planeSize, marker.cell);
        taken.append(QRectF(at - QPointF(MarkerReach, MarkerReach),
                            QSizeF(2 * MarkerReach, 2 * MarkerReach)));
        drawMarker(painter, at, marker.colour, marker.shape);
    }
    const QFontMetrics metrics = painter.fontMetrics();
    for (const Marker &marker : markers) {
        const QPointF at = markerCentre(m_pictureRect, m_thermogram.planeSize, marker.cell);
        const QString text = celsiusText(m_thermogram.celsiusAt(marker.cell));
        const QRectF box
            = placeLabel(at, QSizeF(metrics.horizontalAdvance(text) + 6, metrics.height() + 2),
                         m_pictureRect, taken);
        taken.append(box);
        // Light text on a dark box reads over every colour of the palette.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 190));
        painter.drawRoundedRect(box, 3, 3);
        painter.setPen(marker.textColour);
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

void ThermogramCanvas::drawMarker(QPainter &painter, const QPointF &at, const QColor &colour,
                                  int shape) const
{
    QPainterPath path;
    switch (shape) {
    case Hottest: // a triangle pointing up
        path.addPolygon(QPolygonF(
            { at + QPointF(0, -7), at + QPointF(6, 5), at + QPointF(-6, 5), at + QPointF(0, -7) }));
        break;
    case Coldest: // a triangle pointing down
        path.addPolygon(QPolygonF(
            { at + QPointF(0, 7), at + QPointF(6, -5), at + QPointF(-6, -5), at + QPointF(0, 7) }));
        break;
    case Centre: // a cross
        path.moveTo(at + QPointF(-7, 0));
        path.lineTo(at + QPointF(7, 0));
        path.moveTo(at + QPointF(0, -7));
        path.lineTo(at + QPointF(0, 7));
        break;
    default: // the pointer: a small ring
        path.addEllipse(at, 4, 4);
        break;
    }
    // The triangles are filled so that they tell hottest from coldest at a glance.
    const bool filled = shape == Hottest || shape == Coldest;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 3));
    painter.drawPath(path);
    painter.setBrush(filled ? QBrush(colour) : QBrush(Qt::NoBrush));
    painter.setPen(QPen(colour, 1.5));
    painter.drawPath(path);
}
