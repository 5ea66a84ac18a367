#ifndef THERMOGRAMCANVAS_H
#define THERMOGRAMCANVAS_H

#include "panelet_global.h"

#include "pictureanalysis.h"
#include "temperatureplane.h"
#include "thermogram.h"
#include "thermogrampainter.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <optional>

class PaletteBar;

/**
 * Draws a picture scaled to fit (aspect kept, centred, at most MaxZoom times its size). A
 * picture with temperatures is drawn by the engine's ThermogramPainter: the plane through the
 * analysis's palette, range and isotherm, its tools, and its hottest, coldest and centre cells
 * marked with their values; the pointer is followed across the plane's cells. The colour scale
 * stands beside the picture, as tall as it; picture and scale are fitted and centred together,
 * and a picture without temperatures is drawn (centred) at the size it would have with them.
 *
 * Tools are placed, selected, moved, resized, nudged and removed here; every change is
 * reported with toolsEdited(), and the owner gives the analysis back with setMeasurement().
 */
class PANELET_EXPORT ThermogramCanvas : public QWidget
{
    Q_OBJECT
public:
    static constexpr int MaxZoom = 4;
    static constexpr int MarkerReach = ThermogramPainter::MarkerReach;
    static constexpr QRgb HottestColour = ThermogramPainter::HottestColour;
    static constexpr QRgb ColdestColour = ThermogramPainter::ColdestColour;

    explicit ThermogramCanvas(QWidget *parent = nullptr);

    /** thermogram may hold no data: then the picture is shown alone. Starts a fresh
     *  analysis of the stored temperatures. */
    void setPicture(const QImage &image, const Thermogram &thermogram);
    void clear();
    /** The plane and analysis to show; the tool being dragged, if any, stays in hand. */
    void setMeasurement(const TemperaturePlane &plane, const PictureAnalysis &analysis);
    const TemperaturePlane &plane() const { return m_painter.plane(); }
    const PictureAnalysis &analysis() const { return m_painter.analysis(); }

    /** The kind a press on the picture places; none: presses select and drag tools. */
    void setPlacingKind(std::optional<MeasurementTool::Kind> kind) { m_placing = kind; }
    std::optional<MeasurementTool::Kind> placingKind() const { return m_placing; }
    int selectedTool() const { return m_selected; }
    void setSelectedTool(int index);

    /** A hint shown, centred, while there is no picture. */
    void setPlaceholderText(const QString &text);
    QString placeholderText() const { return m_placeholderText; }

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
    /** The tools after a change; finished is false while a drag goes on. */
    void toolsEdited(const QVector<MeasurementTool> &tools, bool finished);
    void selectedToolChanged(int index);
    /** A tool of placingKind() was put down. */
    void toolPlaced();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    enum class Drag { None, Move, Resize, ResizeLineStart };

    void updateScaledPicture();
    void setPointerCell(const QPoint &cell);
    int toolAt(const QPoint &position) const;
    bool onHandle(const QPoint &position, QPoint *anchor, Drag *drag) const;
    QPoint clampedCell(const QPoint &position) const;
    void editTools(const QVector<MeasurementTool> &tools, bool finished);
    void removeTool(int index);
    MeasurementTool keptInside(const MeasurementTool &tool) const;

    PaletteBar *m_paletteBar = nullptr;
    QImage m_image;
    bool m_measured = false;
    ThermogramPainter m_painter;
    QPixmap m_scaled;
    QString m_placeholderText;
    QRect m_pictureRect;
    QPoint m_pointerCell { -1, -1 };
    std::optional<QPoint> m_pointerPosition; ///< while the pointer is over the canvas
    std::optional<MeasurementTool::Kind> m_placing;
    int m_selected = -1;
    Drag m_drag = Drag::None;
    QPoint m_pressCell;
    QPoint m_anchor; ///< the corner or end that stays while resizing
    MeasurementTool m_pressTool; ///< the dragged tool as it was when the drag began
};

#endif // THERMOGRAMCANVAS_H
