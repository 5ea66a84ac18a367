#include "thermogramcanvas.h"

#include "palettebar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

enum MarkerShape { Hottest, Coldest, Centre };

const QPoint NoCell(-1, -1);

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
    m_paletteBar->setVisible(m_thermogram.isValid());
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

QString ThermogramCanvas::celsiusText(double celsius)
{
    // Digits and the unit's symbol read the same in every language the program speaks.
    return QString::number(celsius, 'f', 1) + QStringLiteral(" °C");
}

void ThermogramCanvas::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateScaledPicture();
}

void ThermogramCanvas::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    if (m_thermogram.isValid())
        setPointerCell(cellAt(m_pictureRect, m_thermogram.planeSize, event->pos()));
}

void ThermogramCanvas::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
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
    if (m_thermogram.isValid()) {
        // The scale takes a strip on the right, and half a line above and below for its labels.
        const QSize bar = m_paletteBar->sizeHint();
        const int gap = 8;
        const int labelMargin = m_paletteBar->labelHeight() / 2;
        const QSize area(width() - bar.width() - gap, height() - 2 * labelMargin);
        m_pictureRect = fitRect(area, m_image.size());
        if (!m_pictureRect.isEmpty()) {
            m_pictureRect.translate((bar.width() + gap) / 2, labelMargin);
            m_paletteBar->setGeometry(m_pictureRect.right() + 1 + gap,
                                      m_pictureRect.top() - labelMargin, bar.width(),
                                      m_pictureRect.height() + 2 * labelMargin);
        }
    } else {
        m_pictureRect = fitRect(size(), m_image.size());
    }
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
    painter.setRenderHint(QPainter::Antialiasing);
    drawMarker(painter, m_coldest, QColor(80, 200, 255), Coldest);
    drawMarker(painter, m_thermogram.centreCell(), Qt::white, Centre);
    drawMarker(painter, m_hottest, QColor(255, 60, 40), Hottest);
    if (m_pointerCell != NoCell)
        drawMarker(painter, m_pointerCell, QColor(255, 255, 160), -1);
}

void ThermogramCanvas::drawMarker(QPainter &painter, const QPoint &cell, const QColor &colour,
                                  int shape) const
{
    const QPointF at = cellCentre(m_pictureRect, m_thermogram.planeSize, cell);
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
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 3));
    painter.drawPath(path);
    painter.setPen(QPen(colour, 1.5));
    painter.drawPath(path);

    // The value beside the marker, kept inside the picture, on a dark box so that it reads on
    // any colour.
    const QString text = celsiusText(m_thermogram.celsiusAt(cell));
    const QFontMetrics metrics = painter.fontMetrics();
    QRectF box(at + QPointF(10, -metrics.height() / 2.0),
               QSizeF(metrics.horizontalAdvance(text) + 4, metrics.height()));
    if (box.right() > m_pictureRect.right())
        box.moveRight(at.x() - 10);
    if (box.top() < m_pictureRect.top())
        box.moveTop(m_pictureRect.top());
    if (box.bottom() > m_pictureRect.bottom())
        box.moveBottom(m_pictureRect.bottom());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 150));
    painter.drawRoundedRect(box, 3, 3);
    painter.setPen(colour);
    painter.drawText(box, Qt::AlignCenter, text);
}
