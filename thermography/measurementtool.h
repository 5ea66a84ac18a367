#ifndef MEASUREMENTTOOL_H
#define MEASUREMENTTOOL_H

#include "thermography_global.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

#include <optional>

class TemperaturePlane;

/** What a tool finds on a plane. Cells without a value are left out of every figure. */
struct THERMOGRAPHY_EXPORT ToolStatistics
{
    int cellCount = 0; ///< covered cells inside the plane
    int valuedCount = 0; ///< of them, those with a value
    double minimum = 0.0;
    double maximum = 0.0;
    double average = 0.0; ///< a spot's value
    QPoint minimumCell { -1, -1 }; ///< the first of equals along the tool's cells
    QPoint maximumCell { -1, -1 };

    bool hasValue() const { return valuedCount > 0; }
};

/**
 * A spot, box, ellipse or line placed on a picture, in plane cells, with the name the user
 * reads it by ("Sp1", "Bx2", …). The cells a tool covers follow fixed rules, written in
 * docs/devices.md, so that the page, the command line and the tests agree:
 * - a spot covers its cell;
 * - a box X,Y,W,H covers cells x in [X, X+W) and y in [Y, Y+H);
 * - an ellipse covers the cells whose centres lie inside or on the ellipse inscribed in its box;
 * - a line takes n = max(|dx|, |dy|) + 1 evenly spaced points from its start to its end, each
 *   rounded half away from zero to its cell.
 * Cells outside the plane are left out.
 */
struct THERMOGRAPHY_EXPORT MeasurementTool
{
    enum Kind { Spot, Box, Ellipse, Line };

    Kind kind = Spot;
    QString name;
    QPoint start; ///< a spot's cell; a line's first end
    QPoint end; ///< a line's second end
    QRect rect; ///< a box's or ellipse's cells, width and height at least 1

    static MeasurementTool spot(const QString &name, const QPoint &cell);
    static MeasurementTool box(const QString &name, const QRect &rect);
    static MeasurementTool ellipse(const QString &name, const QRect &rect);
    static MeasurementTool line(const QString &name, const QPoint &from, const QPoint &to);

    /** "spot", "box", "ellipse", "line": the ids kept in saved analyses. */
    static QString kindName(Kind kind);
    static std::optional<Kind> kindFromName(const QString &name);
    /** "Sp", "Bx", "El", "Li". */
    static QString namePrefix(Kind kind);

    /** The covered cells inside a plane of planeSize; a line's in order from its start. */
    QVector<QPoint> cells(const QSize &planeSize) const;
    /** The smallest rectangle of cells that holds the tool. */
    QRect bounds() const;
    /** The same tool moved by offset cells. */
    MeasurementTool translated(const QPoint &offset) const;

    ToolStatistics measure(const TemperaturePlane &plane) const;
    /** A line's temperatures along its cells inside the plane (NaN where a cell has none). */
    QVector<double> profile(const TemperaturePlane &plane) const;

    bool operator==(const MeasurementTool &other) const;
    bool operator!=(const MeasurementTool &other) const { return !(*this == other); }
};

#endif // MEASUREMENTTOOL_H
