#include "thermogram.h"

#include <algorithm>
#include <cmath>

namespace {

QPoint cellOf(const QVector<quint16> &counts, QVector<quint16>::const_iterator at, int width)
{
    const int index = int(at - counts.cbegin());
    return QPoint(index % width, index / width);
}

} // namespace

bool Thermogram::isValid() const
{
    return !planeSize.isEmpty() && counts.size() == planeSize.width() * planeSize.height();
}

double Thermogram::celsiusAt(const QPoint &cell) const
{
    return celsiusAtZero + celsiusPerCount * counts.at(cell.y() * planeSize.width() + cell.x());
}

QPoint Thermogram::hottestCell() const
{
    if (!isValid())
        return QPoint();
    return cellOf(counts, std::max_element(counts.cbegin(), counts.cend()), planeSize.width());
}

QPoint Thermogram::coldestCell() const
{
    if (!isValid())
        return QPoint();
    return cellOf(counts, std::min_element(counts.cbegin(), counts.cend()), planeSize.width());
}

quint16 Thermogram::countFor(double celsius) const
{
    if (!(celsiusPerCount > 0.0))
        return 0;
    const double count = std::round((celsius - celsiusAtZero) / celsiusPerCount);
    return quint16(std::clamp(count, 0.0, 65535.0));
}
