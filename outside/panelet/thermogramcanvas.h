#ifndef THERMOGRAMCANVAS_H
#define THERMOGRAMCANVAS_H

#include "panelet_global.h"

#include "thermogram.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <optional>

class PaletteBar;

/**
 * Draws a picture scaled to fit (aspect kept, centred, at most MaxZoom times its size) and,
 * when the picture has temperatures, marks its hottest and coldest cell and its centre with
 * their values and follows the pointer across the plane's cells. Its colour scale stands beside
 * the picture, as tall as the picture; the picture and the scale are fitted and centred together,
 * and a picture without temperatures is drawn (centred) at the size it would have with them.
 */
class PANELET_EXPORT ThermogramCanvas : public QWidget
{
    Q_OBJECT
public:
    static constexpr int MaxZoom = 4;
    /** How far a marker's drawing reaches from its centre. */
    static constexpr int MarkerReach = 9;
    /** The fill of the hottest and the coldest marker. */
    static constexpr QRgb HottestColour = 0xffff3c28;
    static constexpr QRgb ColdestColour = 0xff50c8ff;

    explicit ThermogramCanvas(QWidget *parent = nullptr);

    /** thermogram may hold no data: then the picture is shown alone. */
    void setPicture(const QImage &image, const Thermogram &thermogram);
    void clear();

    /** The colour scale beside the picture, shown while the picture has temperatures. */
    PaletteBar *paletteBar() const { return m_paletteBar; }
    /** Where the picture is drawn now; empty without a picture. */
    QRect pictureRect() const { return m_pictureRect; }
    /** The cell under the pointer, or (-1, -1) when it is not over the picture's plane. */
    QPoint pointerCell() const { return m_pointerCell; }

    /** The rectangle a picture of picture's size takes in an area of area's size. */
    static QRect fitRect(const QSize &area, const QSize &picture);
    /** The cell of a plane under a point, when the plane covers rect; (-1, -1) outside. */
    static QPoint cellAt(const QRect &rect, const QSize &plane, const QPoint &point);
    /** The centre of a cell of a plane that covers rect. */
    static QPointF cellCentre(const QRect &rect, const QSize &plane, const QPoint &cell);
    /** Where a cell's marker is drawn: its centre, pulled in from the edges of rect. */
    static QPointF markerCentre(const QRect &rect, const QSize &plane, const QPoint &cell);
    /** A temperature as the page writes it: degrees Celsius with one decimal. */
    static QString celsiusText(double celsius);

signals:
    void pointerCellChanged(const QPoint &cell);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void updateScaledPicture();
    void setPointerCell(const QPoint &cell);
    void drawMarker(QPainter &painter, const QPointF &at, const QColor &colour, int shape) const;

    PaletteBar *m_paletteBar = nullptr;
    QImage m_image;
    Thermogram m_thermogram;
    QPoint m_hottest;
    QPoint m_coldest;
    QPixmap m_scaled;
    QRect m_pictureRect;
    QPoint m_pointerCell { -1, -1 };
    std::optional<QPoint> m_pointerPosition; ///< while the pointer is over the canvas
};

#endif // THERMOGRAMCANVAS_H
