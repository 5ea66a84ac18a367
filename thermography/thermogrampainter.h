#ifndef THERMOGRAMPAINTER_H
#define THERMOGRAMPAINTER_H

#include "thermography_global.h"

#include "pictureanalysis.h"
#include "temperatureplane.h"

#include <QColor>
#include <QImage>
#include <QRect>

class QFontMetrics;
class QPainter;

/**
 * Draws a measured picture as the picture page shows it, on any QPainter: the plane through
 * the analysis's palette, range and isotherm; each tool with its name and the cells of its
 * maximum and minimum; the hottest, coldest and centre cells with their values; the colour
 * scale labelled with its bounds; and, when given, a line of parameters under the picture.
 * The page, the PNG export, the report and the command line all draw with it, so they never
 * disagree. Texts are drawn in the painter's font.
 */
class THERMOGRAPHY_EXPORT ThermogramPainter
{
public:
    /** Where each part goes within the area given to paint(). */
    struct Layout
    {
        QRect picture; ///< the plane, aspect kept
        QRect scaleBar; ///< the colours, hottest at the top
        QRect scaleLabels; ///< the bounds' labels, beside the bar
        QRect parameters; ///< the parameter line; empty without one
    };

    /** How far a marker's drawing reaches from its centre. */
    static constexpr int MarkerReach = 9;
    /** The fill of the hottest and the coldest marker. */
    static constexpr QRgb HottestColour = 0xffff3c28;
    static constexpr QRgb ColdestColour = 0xff50c8ff;
    /** The colour of the tools, and of the selected one. */
    static constexpr QRgb ToolColour = 0xffffffff;
    static constexpr QRgb SelectedToolColour = 0xffffe600;

    ThermogramPainter() = default;
    ThermogramPainter(const TemperaturePlane &plane, const PictureAnalysis &analysis);

    void setPlane(const TemperaturePlane &plane);
    const TemperaturePlane &plane() const { return m_plane; }
    void setAnalysis(const PictureAnalysis &analysis);
    const PictureAnalysis &analysis() const { return m_analysis; }
    /** The tool drawn as selected (thicker, with its handles); -1 for none. */
    void setSelectedTool(int index) { m_selected = index; }
    /** A ring on the cell under the pointer; (-1, -1) for none. */
    void setPointerCell(const QPoint &cell) { m_pointer = cell; }
    void setParameterLine(const QString &text) { m_parameters = text; }
    /** The colour of the scale's labels and the parameter line. */
    void setTextColour(const QColor &colour) { m_textColour = colour; }
    /** The picture is drawn at most this many times the plane's size; 0 for no limit. */
    void setMaximumZoom(int zoom) { m_maximumZoom = zoom; }

    /** The plane through palette, range and isotherm, one pixel a cell. */
    QImage rendered() const;

    Layout layout(const QRect &area, const QFontMetrics &metrics) const;
    /** Everything, laid out in area. */
    void paint(QPainter &painter, const QRect &area) const;
    /** The picture with its tools and markers, filling picture (whose aspect the caller keeps). */
    void paintPicture(QPainter &painter, const QRect &picture) const;
    /** The colour scale: its colours in bar, hottest at the top; its bounds' labels in labels,
     *  the high one on the first line and the low one on the last. */
    void paintScale(QPainter &painter, const QRect &bar, const QRect &labels) const;

    /** The centre of a cell, and the rectangle a range of cells takes, in picture. */
    static QPointF cellCentre(const QRect &picture, const QSize &plane, const QPoint &cell);
    static QRectF cellsRect(const QRect &picture, const QSize &plane, const QRect &cells);
    /** Where a cell's marker is drawn: its centre, pulled in from the picture's edges so that
     *  all of the marker shows. */
    static QPointF markerCentre(const QRect &picture, const QSize &plane, const QPoint &cell);
    /** The cell under a point of picture; (-1, -1) outside it. */
    static QPoint cellAt(const QRect &picture, const QSize &plane, const QPoint &point);
    /** A temperature as every page and file writes it: one decimal and "°C"; "—" for none. */
    static QString celsiusText(double celsius);

private:
    void paintTool(QPainter &painter, const QRect &picture, int index,
                   QVector<QRectF> *taken) const;

    TemperaturePlane m_plane;
    PictureAnalysis m_analysis;
    mutable QImage m_rendered; // rendered on demand, dropped on any change
    int m_selected = -1;
    QPoint m_pointer { -1, -1 };
    QString m_parameters;
    QColor m_textColour = Qt::black;
    int m_maximumZoom = 0;
};

#endif // THERMOGRAMPAINTER_H
