#include "iconpainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <functional>
#include <map>

// Everything is drawn on a 32 x 32 unit canvas. The outlines are dark so the pictures read on
// the light menus and window background the themes leave to the platform.

namespace {

using Drawing = std::function<void(QPainter &)>;

const QColor Ink(0x2b, 0x2b, 0x2b);
const QColor Paper(0xfb, 0xfb, 0xfb);
const QColor Blue(0x1e, 0x6f, 0xc8);
const QColor LightBlue(0x6c, 0xb4, 0xf2);
const QColor Green(0x2e, 0x9e, 0x3c);
const QColor Red(0xd8, 0x2b, 0x21);
const QColor Gold(0xe8, 0xb9, 0x3a);
const QColor Folder(0xf2, 0xc2, 0x4b);
const QColor FolderDark(0xb8, 0x86, 0x16);

QPen ink(qreal width = 1.5, const QColor &color = Ink)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QLinearGradient vertical(qreal top, qreal bottom, const QColor &from, const QColor &to)
{
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return gradient;
}

QPointF onCircle(const QPointF &center, qreal radius, qreal degrees)
{
    const qreal a = qDegreesToRadians(degrees);
    return center + QPointF(radius * qCos(a), -radius * qSin(a));
}

// A filled arrow head whose tip lies at @p tip, pointing along @p direction.
void arrowHead(QPainter &p, const QPointF &tip, QPointF direction, qreal length, qreal halfWidth,
               const QColor &color)
{
    const qreal norm = qSqrt(QPointF::dotProduct(direction, direction));
    direction /= norm;
    const QPointF normal(-direction.y(), direction.x());
    const QPointF base = tip - direction * length;
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(QPolygonF({ tip, base + normal * halfWidth, base - normal * halfWidth }));
}

// An arc of the circle around @p center from @p start sweeping @p span degrees (counter-clockwise
// when positive), ending in an arrow head.
void arcArrow(QPainter &p, const QPointF &center, qreal radius, qreal start, qreal span,
              const QColor &color, qreal width = 3.2)
{
    const qreal headDegrees = qRadiansToDegrees(5.0 / radius) * (span > 0 ? 1 : -1);
    QPainterPath arc;
    const QRectF box(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius);
    arc.arcMoveTo(box, start);
    arc.arcTo(box, start, span - headDegrees * 0.6);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(arc);

    const qreal endDegrees = start + span;
    const qreal a = qDegreesToRadians(endDegrees);
    const QPointF tangent = span > 0 ? QPointF(-qSin(a), -qCos(a)) : QPointF(qSin(a), qCos(a));
    const QPointF tip = onCircle(center, radius, endDegrees);
    arrowHead(p, tip, tangent, 5.5, 4.2, color);
}

QPainterPath gearPath(const QPointF &center, int teeth, qreal outer, qreal inner, qreal hole)
{
    QPainterPath path;
    QPolygonF outline;
    const qreal step = 360.0 / teeth;
    for (int i = 0; i < teeth; ++i) {
        const qreal a = i * step;
        outline << onCircle(center, inner, a - step * 0.5)
                << onCircle(center, outer, a - step * 0.2)
                << onCircle(center, outer, a + step * 0.2)
                << onCircle(center, inner, a + step * 0.5);
    }
    outline << outline.first();
    path.addPolygon(outline);
    path.addEllipse(center, hole, hole);
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

void drawFolder(QPainter &p, const QColor &light, const QColor &dark, bool open)
{
    p.setPen(ink(1.2, dark.darker(130)));
    p.setBrush(vertical(5, 27, dark.lighter(115), dark));
    QPainterPath back;
    back.moveTo(2.5, 8);
    back.lineTo(2.5, 26.5);
    back.lineTo(29.5, 26.5);
    back.lineTo(29.5, 9.5);
    back.lineTo(15, 9.5);
    back.lineTo(12.5, 6);
    back.lineTo(4, 6);
    back.closeSubpath();
    p.drawPath(back);
    if (open) {
        p.setBrush(Paper);
        p.setPen(ink(0.8, QColor(0x99, 0x99, 0x99)));
        p.drawRect(QRectF(5, 11, 21, 12));
        p.setPen(ink(1.2, dark.darker(130)));
        p.setBrush(vertical(13, 27, light.lighter(110), light));
        p.drawPolygon(QPolygonF(
            { QPointF(6.5, 14), QPointF(31, 14), QPointF(27.5, 26.5), QPointF(2.5, 26.5) }));
    } else {
        p.setBrush(vertical(12, 27, light.lighter(110), light));
        p.drawRoundedRect(QRectF(2.5, 12, 27, 14.5), 1.2, 1.2);
    }
}

void drawPage(QPainter &p, const QColor &fill, bool withLines)
{
    QPainterPath page;
    page.moveTo(6.5, 2.5);
    page.lineTo(19.5, 2.5);
    page.lineTo(26.5, 9.5);
    page.lineTo(26.5, 29.5);
    page.lineTo(6.5, 29.5);
    page.closeSubpath();
    p.setPen(ink(1.3, QColor(0x55, 0x55, 0x55)));
    p.setBrush(fill);
    p.drawPath(page);
    p.setBrush(fill.darker(115));
    p.drawPolygon(QPolygonF({ QPointF(19.5, 2.5), QPointF(19.5, 9.5), QPointF(26.5, 9.5) }));
    if (withLines) {
        p.setPen(ink(1.6, Blue));
        for (qreal y : { 14.0, 18.5, 23.0 })
            p.drawLine(QPointF(10, y), QPointF(23, y));
        p.drawLine(QPointF(10, 9.5), QPointF(16, 9.5));
    }
}

void drawSdCard(QPainter &p, const QColor &body, const QColor &label)
{
    QPainterPath card;
    card.moveTo(7.5, 2.5);
    card.lineTo(20.5, 2.5);
    card.lineTo(25.5, 7.5);
    card.lineTo(25.5, 29.5);
    card.lineTo(7.5, 29.5);
    card.closeSubpath();
    p.setPen(ink(1.3, body.darker(160)));
    p.setBrush(vertical(2, 30, body.lighter(130), body));
    p.drawPath(card);
    p.setPen(Qt::NoPen);
    p.setBrush(Gold);
    for (int i = 0; i < 4; ++i) {
        const qreal x = 9.5 + i * 3.2;
        const qreal top = i == 3 ? 5.5 : 4.5;
        p.drawRect(QRectF(x, top, 2.0, 10.5 - top));
    }
    p.setBrush(label);
    p.drawRoundedRect(QRectF(9.5, 16.5, 14, 10.5), 1.2, 1.2);
    p.setBrush(Paper);
    p.drawRect(QRectF(11.5, 19, 10, 1.6));
    p.drawRect(QRectF(11.5, 22.5, 7, 1.6));
}

void drawPlug(QPainter &p, const QColor &color, bool connected)
{
    // Laid out along the x axis, then turned so it points to the upper right.
    p.save();
    p.translate(16, 16);
    p.rotate(-45);
    p.translate(-16, -16);
    const qreal gap = connected ? 0 : 5.0;
    const qreal shift = gap / 2;

    p.setPen(ink(3.0, Ink));
    p.drawLine(QPointF(-6 - shift, 16), QPointF(6 - shift, 16));
    p.drawLine(QPointF(26 + shift, 16), QPointF(38 + shift, 16));

    p.setPen(ink(1.2, color.darker(150)));
    p.setBrush(vertical(9, 23, color.lighter(130), color));
    p.drawRoundedRect(QRectF(5 - shift, 9.5, 8, 13), 2, 2);
    p.drawRoundedRect(QRectF(19 + shift, 9.5, 8, 13), 2, 2);
    p.setBrush(QColor(0xc8, 0xc8, 0xc8));
    p.setPen(ink(0.8, QColor(0x60, 0x60, 0x60)));
    p.drawRect(QRectF(13 - shift, 11.5, 6, 2.4));
    p.drawRect(QRectF(13 - shift, 18.1, 6, 2.4));
    p.restore();
}

void drawTrash(QPainter &p, const QColor &body)
{
    p.setPen(ink(1.3, body.darker(170)));
    p.setBrush(vertical(8, 30, body.lighter(125), body));
    p.drawPolygon(
        QPolygonF({ QPointF(7, 9), QPointF(25, 9), QPointF(23, 29.5), QPointF(9, 29.5) }));
    p.drawRoundedRect(QRectF(4.5, 5.5, 23, 3.5), 1, 1);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(12.5, 2.5, 7, 3), 1, 1);
    p.setPen(ink(1.3, body.darker(150)));
    for (qreal x : { 12.0, 16.0, 20.0 })
        p.drawLine(QPointF(x, 12.5), QPointF(x, 26.5));
}

void drawCross(QPainter &p, const QRectF &box, qreal width, const QColor &color)
{
    p.setPen(QPen(color.darker(140), width + 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(box.topLeft(), box.bottomRight());
    p.drawLine(box.topRight(), box.bottomLeft());
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(box.topLeft(), box.bottomRight());
    p.drawLine(box.topRight(), box.bottomLeft());
}

void drawCameraBody(QPainter &p, const QColor &body, const QColor &lens)
{
    p.setPen(ink(1.3, body.darker(170)));
    p.setBrush(vertical(9, 28, body.lighter(140), body));
    p.drawPolygon(
        QPolygonF({ QPointF(10, 9.5), QPointF(12, 5.5), QPointF(20, 5.5), QPointF(22, 9.5) }));
    p.drawRoundedRect(QRectF(2.5, 9.5, 27, 18), 3, 3);
    p.setBrush(Paper);
    p.drawEllipse(QPointF(16, 18.5), 7, 7);
    QRadialGradient glass(QPointF(14.5, 17), 5.5);
    glass.setColorAt(0, lens.lighter(170));
    glass.setColorAt(1, lens);
    p.setBrush(glass);
    p.drawEllipse(QPointF(16, 18.5), 4.6, 4.6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xe0, 0x66));
    p.drawRect(QRectF(23.5, 12, 3.5, 2.5));
}

void drawHeatMark(QPainter &p, bool roundedTile)
{
    QLinearGradient heat(0, 1, 0, 31);
    heat.setColorAt(0.0, QColor(0xff, 0xe8, 0x4a));
    heat.setColorAt(0.35, QColor(0xff, 0x96, 0x00));
    heat.setColorAt(0.7, QColor(0xdc, 0x3a, 0x00));
    heat.setColorAt(1.0, QColor(0x7a, 0x10, 0x00));
    p.setPen(ink(1.0, QColor(0x6a, 0x12, 0x00)));
    p.setBrush(heat);
    if (roundedTile)
        p.drawRoundedRect(QRectF(1, 1, 30, 30), 6.5, 6.5);
    else
        p.drawEllipse(QRectF(1, 1, 30, 30));

    // The thermometer: a white tube and bulb with a red column.
    QPainterPath glass;
    glass.addRoundedRect(QRectF(12.2, 3.5, 7.6, 19), 3.8, 3.8);
    glass.addEllipse(QPointF(16, 23.5), 5.6, 5.6);
    glass = glass.simplified();
    p.setPen(QPen(QColor(0x5a, 0x10, 0x00), 1.6));
    p.setBrush(Qt::white);
    p.drawPath(glass);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe0, 0x10, 0x10));
    p.drawEllipse(QPointF(16, 23.5), 3.6, 3.6);
    p.drawRoundedRect(QRectF(14.5, 9.5, 3, 14), 1.5, 1.5);
    p.setPen(QPen(QColor(0x5a, 0x10, 0x00), 1.1));
    for (qreal y : { 7.5, 11.0, 14.5 })
        p.drawLine(QPointF(19.8, y), QPointF(22.2, y));
}

const std::map<QString, Drawing> &drawings()
{
    static const std::map<QString, Drawing> table = {
        { "array_down.png",
          [](QPainter &p) {
              p.setPen(Qt::NoPen);
              p.setBrush(QColor(0x90, 0x90, 0x90));
              p.drawPolygon(QPolygonF({ QPointF(5, 11), QPointF(27, 11), QPointF(16, 23) }));
          } },
        { "refresh.png",
          [](QPainter &p) {
              arcArrow(p, QPointF(16, 16), 10.5, 200, -150, Green);
              arcArrow(p, QPointF(16, 16), 10.5, 20, -150, Green);
          } },
        { "disconnect.png",
          [](QPainter &p) {
              drawPlug(p, Red, false);
              p.setPen(ink(1.6, QColor(0xf0, 0xa0, 0x00)));
              p.drawLine(QPointF(9, 9), QPointF(12.5, 12.5));
              p.drawLine(QPointF(19.5, 19.5), QPointF(23, 23));
              p.drawLine(QPointF(15, 6.5), QPointF(15.5, 10.5));
              p.drawLine(QPointF(17, 25.5), QPointF(16.5, 21.5));
          } },
        { "connect.png", [](QPainter &p) { drawPlug(p, Green, true); } },
        { "options.png",
          [](QPainter &p) {
              p.setPen(ink(1.3, QColor(0x30, 0x40, 0x55)));
              QRadialGradient steel(QPointF(13, 12), 16);
              steel.setColorAt(0, QColor(0xc6, 0xd2, 0xe0));
              steel.setColorAt(1, QColor(0x5b, 0x6f, 0x88));
              p.setBrush(steel);
              p.drawPath(gearPath(QPointF(16, 16), 8, 14.5, 10.5, 4.5));
          } },
        { "exit3.png",
          [](QPainter &p) {
              p.setPen(ink(1.3, QColor(0x5a, 0x3a, 0x1a)));
              p.setBrush(QColor(0x3a, 0x2a, 0x1a));
              p.drawRect(QRectF(3.5, 2.5, 15, 27));
              p.setBrush(vertical(2, 30, QColor(0xc8, 0x8a, 0x4a), QColor(0x8a, 0x55, 0x25)));
              p.drawPolygon(QPolygonF(
                  { QPointF(3.5, 2.5), QPointF(11, 5.5), QPointF(11, 30.5), QPointF(3.5, 29.5) }));
              p.setPen(Qt::NoPen);
              p.setBrush(Gold);
              p.drawEllipse(QPointF(9, 17), 1.2, 1.2);
              p.setPen(QPen(Green.darker(130), 5.4, Qt::SolidLine, Qt::FlatCap));
              p.drawLine(QPointF(13, 16), QPointF(23, 16));
              p.setPen(QPen(Green, 3.4, Qt::SolidLine, Qt::FlatCap));
              p.drawLine(QPointF(13.8, 16), QPointF(23, 16));
              arrowHead(p, QPointF(31.5, 16), QPointF(1, 0), 10, 8, Green.darker(130));
              arrowHead(p, QPointF(30, 16), QPointF(1, 0), 8, 6.2, Green);
          } },
        { "exit2.png",
          [](QPainter &p) {
              p.setPen(Qt::NoPen);
              p.setBrush(vertical(2, 30, Red.lighter(130), Red.darker(120)));
              p.drawEllipse(QPointF(16, 16), 14, 14);
              QPainterPath ring;
              ring.arcMoveTo(QRectF(8.5, 9, 15, 15), 55);
              ring.arcTo(QRectF(8.5, 9, 15, 15), 55, 290);
              p.setPen(QPen(Qt::white, 2.8, Qt::SolidLine, Qt::RoundCap));
              p.setBrush(Qt::NoBrush);
              p.drawPath(ring);
              p.drawLine(QPointF(16, 6.5), QPointF(16, 15.5));
          } },
        { "list.png",
          [](QPainter &p) {
              for (int i = 0; i < 4; ++i) {
                  const qreal y = 4.5 + i * 6.5;
                  p.setPen(ink(1.0, Blue.darker(140)));
                  p.setBrush(Blue);
                  p.drawRect(QRectF(3.5, y, 5, 5));
                  p.setPen(Qt::NoPen);
                  p.setBrush(QColor(0x50, 0x50, 0x50));
                  p.drawRoundedRect(QRectF(11.5, y + 1, 17.5, 3), 1, 1);
              }
          } },
        { "table.png",
          [](QPainter &p) {
              p.setPen(ink(1.2, Blue.darker(150)));
              p.setBrush(vertical(3, 29, LightBlue, Blue));
              for (qreal x : { 3.5, 17.5 })
                  for (qreal y : { 3.5, 17.5 })
                      p.drawRoundedRect(QRectF(x, y, 11, 11), 1.5, 1.5);
          } },
        { "picture.png",
          [](QPainter &p) {
              p.setPen(ink(1.3, QColor(0x55, 0x55, 0x55)));
              p.setBrush(Paper);
              p.drawRect(QRectF(2.5, 5.5, 27, 21));
              p.setPen(Qt::NoPen);
              p.setBrush(vertical(8, 24, QColor(0x4a, 0x9a, 0xea), QColor(0xb8, 0xde, 0xff)));
              p.drawRect(QRectF(5, 8, 22, 16));
              p.setBrush(QColor(0xff, 0xc8, 0x20));
              p.drawEllipse(QPointF(21.5, 12.5), 2.6, 2.6);
              p.setBrush(QColor(0x2e, 0x8b, 0x3a));
              p.drawPolygon(QPolygonF({ QPointF(5, 24), QPointF(12, 13.5), QPointF(19, 24) }));
              p.setBrush(QColor(0x5d, 0xb8, 0x4a));
              p.drawPolygon(QPolygonF({ QPointF(12, 24), QPointF(19.5, 16.5), QPointF(27, 24) }));
          } },
        { "sdCard3.png",
          [](QPainter &p) { drawSdCard(p, QColor(0x1f, 0x3f, 0x7a), QColor(0x3f, 0x8f, 0xe0)); } },
        { "SDCard.png", [](QPainter &p) { drawSdCard(p, QColor(0x30, 0x30, 0x30), Red); } },
        { "sdCard2.png", [](QPainter &p) { drawSdCard(p, QColor(0x70, 0x78, 0x80), Green); } },
        { "camera.png", [](QPainter &p) { drawCameraBody(p, QColor(0x40, 0x40, 0x46), Blue); } },
        { "capture.png",
          [](QPainter &p) {
              p.setPen(QPen(Ink, 2.4, Qt::SolidLine, Qt::SquareCap));
              p.setBrush(Qt::NoBrush);
              const qreal a = 3.5, b = 28.5, l = 7;
              p.drawPolyline(QPolygonF({ QPointF(a, a + l), QPointF(a, a), QPointF(a + l, a) }));
              p.drawPolyline(QPolygonF({ QPointF(b - l, a), QPointF(b, a), QPointF(b, a + l) }));
              p.drawPolyline(QPolygonF({ QPointF(a, b - l), QPointF(a, b), QPointF(a + l, b) }));
              p.drawPolyline(QPolygonF({ QPointF(b - l, b), QPointF(b, b), QPointF(b, b - l) }));
              p.setPen(ink(1.2, Red.darker(140)));
              p.setBrush(Red);
              p.drawEllipse(QPointF(16, 16), 5.5, 5.5);
          } },
        { "capture2.png",
          [](QPainter &p) {
              drawCameraBody(p, QColor(0x2f, 0x5f, 0x9f), QColor(0x20, 0x30, 0x50));
              p.setPen(ink(1.0, Red.darker(140)));
              p.setBrush(Red);
              p.drawEllipse(QPointF(6.5, 7.5), 2.8, 2.8);
          } },
        { "capture3.png",
          [](QPainter &p) {
              p.setPen(ink(1.3, Ink));
              p.setBrush(QColor(0x40, 0x40, 0x46));
              p.drawEllipse(QPointF(16, 16), 13.5, 13.5);
              p.setPen(ink(1.1, QColor(0xd0, 0xd0, 0xd0)));
              p.setBrush(QColor(0x30, 0x60, 0xa0));
              p.drawEllipse(QPointF(16, 16), 10, 10);
              for (int i = 0; i < 6; ++i) {
                  const qreal a = i * 60.0;
                  p.drawLine(onCircle(QPointF(16, 16), 10, a),
                             onCircle(QPointF(16, 16), 4.5, a + 100));
              }
          } },
        { "circle.png",
          [](QPainter &p) {
              p.setPen(ink(2.6, Blue));
              p.setBrush(Qt::NoBrush);
              p.drawEllipse(QPointF(16, 16), 12, 12);
          } },
        { "rectangle.png",
          [](QPainter &p) {
              p.setPen(QPen(Blue, 2.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
              p.setBrush(Qt::NoBrush);
              p.drawRect(QRectF(4, 7, 24, 18));
          } },
        { "line.png",
          [](QPainter &p) {
              p.setPen(ink(2.6, Blue));
              p.drawLine(QPointF(6, 26), QPointF(26, 6));
              p.setPen(ink(1.0, Ink));
              p.setBrush(Paper);
              p.drawRect(QRectF(3, 23, 6, 6));
              p.drawRect(QRectF(23, 3, 6, 6));
          } },
        { "dot.png",
          [](QPainter &p) {
              p.setPen(ink(1.2, Blue.darker(150)));
              p.setBrush(Blue);
              p.drawEllipse(QPointF(16, 16), 6, 6);
          } },
        { "cursor.png",
          [](QPainter &p) {
              p.setPen(ink(1.4, Ink));
              p.setBrush(Qt::white);
              p.drawPolygon(
                  QPolygonF({ QPointF(8, 3), QPointF(8, 26), QPointF(13.5, 21), QPointF(17.5, 29.5),
                              QPointF(21.5, 27.5), QPointF(17.5, 19.5), QPointF(25, 19.5) }));
          } },
        { "eraser.png",
          [](QPainter &p) {
              p.save();
              p.translate(16, 16);
              p.rotate(-40);
              p.setPen(ink(1.3, QColor(0x70, 0x30, 0x40)));
              p.setBrush(QColor(0xf4, 0x8f, 0xb1));
              p.drawRoundedRect(QRectF(-4, -6.5, 15, 13), 1.5, 1.5);
              p.setBrush(QColor(0xe8, 0xe8, 0xf0));
              p.drawRoundedRect(QRectF(-13, -6.5, 9, 13), 1.5, 1.5);
              p.restore();
              p.setPen(ink(1.4, QColor(0x90, 0x90, 0x90)));
              p.drawLine(QPointF(4, 29), QPointF(28, 29));
          } },
        { "palette.png",
          [](QPainter &p) {
              QPainterPath board;
              board.addEllipse(QRectF(2.5, 4.5, 27, 23));
              board.addEllipse(QPointF(21, 21.5), 3, 3);
              board.setFillRule(Qt::OddEvenFill);
              p.setPen(ink(1.3, QColor(0x7a, 0x55, 0x2a)));
              p.setBrush(QColor(0xe8, 0xc8, 0x90));
              p.drawPath(board);
              p.setPen(Qt::NoPen);
              const QColor paints[] = { Red, Gold, Green, Blue, QColor(0x8a, 0x3f, 0xc0) };
              const QPointF spots[] = { QPointF(9, 12), QPointF(15.5, 9.5), QPointF(22.5, 11),
                                        QPointF(8, 19), QPointF(13, 23.5) };
              for (int i = 0; i < 5; ++i) {
                  p.setBrush(paints[i]);
                  p.drawEllipse(spots[i], 2.6, 2.6);
              }
          } },
        { "delete2.png", [](QPainter &p) { drawCross(p, QRectF(7, 7, 18, 18), 3.6, Red); } },
        { "deleteAll.png", [](QPainter &p) { drawTrash(p, QColor(0x7a, 0x84, 0x90)); } },
        { "deleteAll3.png",
          [](QPainter &p) {
              drawTrash(p, QColor(0x7a, 0x84, 0x90));
              drawCross(p, QRectF(17, 17, 11, 11), 2.6, Red);
          } },
        { "Directory.png", [](QPainter &p) { drawFolder(p, Folder, FolderDark, false); } },
        { "Directory2.png", [](QPainter &p) { drawFolder(p, Folder, FolderDark, true); } },
        { "Directory3.png",
          [](QPainter &p) { drawFolder(p, LightBlue, QColor(0x2a, 0x6a, 0xb0), false); } },
        { "File.png", [](QPainter &p) { drawPage(p, Paper, true); } },
        { "file.png", [](QPainter &p) { drawPage(p, QColor(0xee, 0xf3, 0xfa), false); } },
        { "export.png",
          [](QPainter &p) {
              p.setPen(ink(2.2, QColor(0x50, 0x50, 0x50)));
              p.setBrush(Qt::NoBrush);
              p.drawPolyline(
                  QPolygonF({ QPointF(4, 17), QPointF(4, 28), QPointF(28, 28), QPointF(28, 17) }));
              p.setPen(QPen(Blue, 3.4, Qt::SolidLine, Qt::FlatCap));
              p.drawLine(QPointF(16, 23.5), QPointF(16, 10));
              arrowHead(p, QPointF(16, 2.5), QPointF(0, -1), 8.5, 6.5, Blue);
          } },
        { "arrow-2.png",
          [](QPainter &p) {
              p.setPen(QPen(Blue, 3.4, Qt::SolidLine, Qt::FlatCap));
              p.drawLine(QPointF(9, 16), QPointF(23, 16));
              arrowHead(p, QPointF(2.5, 16), QPointF(-1, 0), 8, 6.5, Blue);
              arrowHead(p, QPointF(29.5, 16), QPointF(1, 0), 8, 6.5, Blue);
          } },
        { "stop2.png",
          [](QPainter &p) {
              QPolygonF octagon;
              for (int i = 0; i < 8; ++i)
                  octagon << onCircle(QPointF(16, 16), 14, 22.5 + i * 45);
              p.setPen(ink(1.2, Red.darker(150)));
              p.setBrush(vertical(2, 30, Red.lighter(120), Red.darker(110)));
              p.drawPolygon(octagon);
              p.setPen(Qt::NoPen);
              p.setBrush(Qt::white);
              p.drawRect(QRectF(8, 13.5, 16, 5));
          } },
        { "stop3.png",
          [](QPainter &p) {
              p.setPen(ink(1.3, Ink));
              p.setBrush(vertical(2, 30, QColor(0x60, 0x60, 0x66), QColor(0x30, 0x30, 0x34)));
              p.drawEllipse(QPointF(16, 16), 13.5, 13.5);
              p.setPen(Qt::NoPen);
              p.setBrush(Red);
              p.drawRoundedRect(QRectF(10, 10, 12, 12), 1.5, 1.5);
          } },
        { "USB.png",
          [](QPainter &p) {
              const QColor c(0x25, 0x35, 0x60);
              p.setPen(ink(2.4, c));
              p.setBrush(Qt::NoBrush);
              p.drawLine(QPointF(16, 8), QPointF(16, 25));
              p.drawPolyline(QPolygonF({ QPointF(16, 21), QPointF(8.5, 15), QPointF(8.5, 11) }));
              p.drawPolyline(
                  QPolygonF({ QPointF(16, 18), QPointF(23.5, 12.5), QPointF(23.5, 9.5) }));
              arrowHead(p, QPointF(16, 1.5), QPointF(0, -1), 7.5, 4.5, c);
              p.setPen(Qt::NoPen);
              p.setBrush(c);
              p.drawEllipse(QPointF(16, 27), 3.6, 3.6);
              p.drawEllipse(QPointF(8.5, 9.5), 2.6, 2.6);
              p.drawRect(QRectF(21, 5, 5, 5));
          } },
        { "Wi-Fi.png",
          [](QPainter &p) {
              const QPointF base(16, 26.5);
              p.setBrush(Qt::NoBrush);
              p.setPen(QPen(Blue, 3.4, Qt::SolidLine, Qt::RoundCap));
              for (qreal r : { 7.5, 14.0, 20.5 }) {
                  QPainterPath arc;
                  const QRectF box(base.x() - r, base.y() - r, 2 * r, 2 * r);
                  arc.arcMoveTo(box, 45);
                  arc.arcTo(box, 45, 90);
                  p.drawPath(arc);
              }
              p.setPen(Qt::NoPen);
              p.setBrush(Blue);
              p.drawEllipse(base, 2.8, 2.8);
          } },
        { "Video.png",
          [](QPainter &p) {
              const QColor body(0x40, 0x40, 0x46);
              p.setPen(ink(1.3, Ink));
              p.setBrush(vertical(9, 25, body.lighter(150), body));
              p.drawRoundedRect(QRectF(2.5, 9.5, 19, 15), 2.5, 2.5);
              p.drawPolygon(QPolygonF(
                  { QPointF(21.5, 15), QPointF(29.5, 10), QPointF(29.5, 24), QPointF(21.5, 19) }));
              p.setPen(Qt::NoPen);
              p.setBrush(Red);
              p.drawEllipse(QPointF(7, 14), 2, 2);
          } },
        { "video.png",
          [](QPainter &p) {
              p.setPen(ink(1.2, Ink));
              p.setBrush(QColor(0x30, 0x30, 0x34));
              p.drawRect(QRectF(2.5, 5.5, 27, 21));
              p.setPen(Qt::NoPen);
              p.setBrush(Qt::white);
              for (int i = 0; i < 6; ++i) {
                  p.drawRect(QRectF(4.5 + i * 4.2, 7, 2.2, 2));
                  p.drawRect(QRectF(4.5 + i * 4.2, 23, 2.2, 2));
              }
              p.setBrush(vertical(10, 22, QColor(0x4a, 0x9a, 0xea), QColor(0x2a, 0x6a, 0xb0)));
              p.drawRect(QRectF(4, 10.5, 24, 11));
              p.setBrush(Qt::white);
              p.drawPolygon(QPolygonF({ QPointF(13, 12), QPointF(20, 16), QPointF(13, 20) }));
          } },
        { "calorix.ico", [](QPainter &p) { drawHeatMark(p, true); } },
        { "app.ico", [](QPainter &p) { drawHeatMark(p, false); } },
        { "app2.ico",
          [](QPainter &p) {
              drawCameraBody(p, QColor(0x40, 0x40, 0x46), QColor(0xff, 0x60, 0x00));
          } },
        { "vendor.ico",
          [](QPainter &p) {
              QPolygonF hexagon;
              for (int i = 0; i < 6; ++i)
                  hexagon << onCircle(QPointF(16, 16), 14.5, 90 + i * 60);
              p.setPen(ink(1.2, QColor(0x10, 0x30, 0x60)));
              p.setBrush(vertical(1, 31, QColor(0x2a, 0x6a, 0xb0), QColor(0x10, 0x30, 0x60)));
              p.drawPolygon(hexagon);
              QPainterPath flame;
              flame.moveTo(16, 5);
              flame.cubicTo(22, 12, 24, 17, 22, 22);
              flame.cubicTo(20.5, 26, 11.5, 26, 10, 22);
              flame.cubicTo(8.5, 17.5, 12, 14, 13, 11);
              flame.cubicTo(14, 14, 15, 15.5, 16.5, 16);
              flame.cubicTo(17, 12, 16, 8, 16, 5);
              p.setPen(Qt::NoPen);
              p.setBrush(vertical(5, 26, QColor(0xff, 0xe0, 0x40), QColor(0xff, 0x60, 0x00)));
              p.drawPath(flame);
          } },
    };
    return table;
}

} // namespace

QStringList IconPainter::pngNames()
{
    QStringList names;
    for (const auto &entry : drawings()) {
        if (entry.first.endsWith(QLatin1String(".png")))
            names << entry.first;
    }
    return names;
}

QStringList IconPainter::icoNames()
{
    QStringList names;
    for (const auto &entry : drawings()) {
        if (entry.first.endsWith(QLatin1String(".ico")))
            names << entry.first;
    }
    return names;
}

int IconPainter::pngSize(const QString &name)
{
    // The combo arrow sits in a 20 px high drop-down box.
    return name == QLatin1String("array_down.png") ? 12 : 32;
}

QImage IconPainter::render(const QString &name, int size)
{
    const auto found = drawings().find(name);
    if (found == drawings().end())
        return QImage();
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    found->second(painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}
