#ifndef TEMPERATUREPLANE_H
#define TEMPERATUREPLANE_H

#include "thermography_global.h"

#include "radiometriccorrection.h"

#include <QPoint>
#include <QSize>
#include <QVector>

#include <optional>

struct Thermogram;

/**
 * A picture's temperatures in degrees Celsius, one float per cell, row by row from the top.
 * NaN marks a cell with no value (a correction can leave cells outside what the model
 * covers); every statistic leaves such cells out. The hottest and coldest valued cells are
 * found once, the first of equals in row order.
 */
class THERMOGRAPHY_EXPORT TemperaturePlane
{
public:
    TemperaturePlane() = default;
    TemperaturePlane(const QSize &size, const QVector<float> &celsius);

    /** The thermogram's temperatures, recomputed under correction when one is given. */
    static TemperaturePlane fromThermogram(const Thermogram &thermogram,
                                           const std::optional<Correction> &correction = {});

    bool isValid() const { return !m_size.isEmpty(); }
    QSize size() const { return m_size; }
    int width() const { return m_size.width(); }
    int height() const { return m_size.height(); }
    bool contains(const QPoint &cell) const
    {
        return cell.x() >= 0 && cell.y() >= 0 && cell.x() < m_size.width()
            && cell.y() < m_size.height();
    }
    const QVector<float> &values() const { return m_celsius; }
    /** The cell's temperature; NaN without a value or outside the plane. */
    double valueAt(const QPoint &cell) const;

    /** (-1, -1) when no cell has a value. */
    QPoint hottestCell() const { return m_hottest; }
    QPoint coldestCell() const { return m_coldest; }
    QPoint centreCell() const { return QPoint(m_size.width() / 2, m_size.height() / 2); }
    /** NaN when no cell has a value. */
    double minimum() const { return valueAt(m_coldest); }
    double maximum() const { return valueAt(m_hottest); }
    int valuedCount() const { return m_valued; }

private:
    QSize m_size;
    QVector<float> m_celsius;
    QPoint m_hottest { -1, -1 };
    QPoint m_coldest { -1, -1 };
    int m_valued = 0;
};

#endif // TEMPERATUREPLANE_H
