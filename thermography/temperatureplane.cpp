#include "temperatureplane.h"

#include "thermogram.h"

#include <algorithm>
#include <cmath>
#include <limits>

TemperaturePlane::TemperaturePlane(const QSize &size, const QVector<float> &celsius)
{
    if (size.isEmpty() || celsius.size() != size.width() * size.height())
        return;
    m_size = size;
    m_celsius = celsius;
    int hottest = -1;
    int coldest = -1;
    for (int i = 0; i < m_celsius.size(); ++i) {
        const float value = m_celsius.at(i);
        if (std::isnan(value))
            continue;
        ++m_valued;
        if (hottest < 0 || value > m_celsius.at(hottest))
            hottest = i;
        if (coldest < 0 || value < m_celsius.at(coldest))
            coldest = i;
    }
    if (hottest >= 0) {
        m_hottest = QPoint(hottest % m_size.width(), hottest / m_size.width());
        m_coldest = QPoint(coldest % m_size.width(), coldest / m_size.width());
    }
}

TemperaturePlane TemperaturePlane::fromThermogram(const Thermogram &thermogram,
                                                  const std::optional<Correction> &correction)
{
    if (!thermogram.isValid())
        return TemperaturePlane();
    QVector<float> celsius(thermogram.counts.size());
    const auto stored = [&thermogram](quint16 count) {
        return thermogram.celsiusAtZero + thermogram.celsiusPerCount * count;
    };
    if (correction) {
        const RadiometricCorrection model(
            Correction { thermogram.emissivity, thermogram.reflectedCelsius }, *correction);
        // A picture holds far fewer distinct counts than cells: each is corrected once.
        const auto [low, high]
            = std::minmax_element(thermogram.counts.cbegin(), thermogram.counts.cend());
        const float notYet = -std::numeric_limits<float>::infinity(); // the model never gives it
        QVector<float> byCount(*high - *low + 1, notYet);
        for (int i = 0; i < celsius.size(); ++i) {
            const quint16 count = thermogram.counts.at(i);
            float &value = byCount[count - *low];
            if (value == notYet)
                value = float(model(stored(count)));
            celsius[i] = value;
        }
    } else {
        for (int i = 0; i < celsius.size(); ++i)
            celsius[i] = float(stored(thermogram.counts.at(i)));
    }
    return TemperaturePlane(thermogram.planeSize, celsius);
}

double TemperaturePlane::valueAt(const QPoint &cell) const
{
    if (!contains(cell))
        return std::numeric_limits<double>::quiet_NaN();
    return m_celsius.at(cell.y() * m_size.width() + cell.x());
}
