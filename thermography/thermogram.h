#ifndef THERMOGRAM_H
#define THERMOGRAM_H

#include "thermography_global.h"

#include <QDateTime>
#include <QPoint>
#include <QSize>
#include <QVector>

/**
 * The measurement an instrument stores with a picture: a plane of temperatures, coarser than
 * the picture and covering the same view, and the conditions it was measured under.
 *
 * A default-made Thermogram holds no data (isValid() is false); ThermogramFormat only ever
 * gives valid ones or none.
 */
struct THERMOGRAPHY_EXPORT Thermogram
{
    QSize planeSize; ///< cells across and down
    QVector<quint16> counts; ///< one per cell, row by row from the top
    double celsiusPerCount = 0.0; ///< a count's step in degrees Celsius
    double celsiusAtZero = 0.0; ///< the temperature of count 0
    double emissivity = 0.0; ///< 0.01 to 1
    double reflectedCelsius = 0.0;
    double ambientCelsius = 0.0;
    double distanceMetres = 0.0;
    QDateTime captureTime; ///< in UTC

    bool isValid() const;
    /** The temperature of a cell; the cell must lie inside the plane. */
    double celsiusAt(const QPoint &cell) const;
    QPoint hottestCell() const;
    QPoint coldestCell() const;
    /** The cell under the picture's centre. */
    QPoint centreCell() const { return QPoint(planeSize.width() / 2, planeSize.height() / 2); }
    /** The count nearest to a temperature, kept within what a count can hold. */
    quint16 countFor(double celsius) const;
};

#endif // THERMOGRAM_H
