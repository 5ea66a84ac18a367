#include "colourrange.h"

#include "temperatureplane.h"

#include <cmath>

ColourRange ColourRange::manual(double low, double high)
{
    return ColourRange { false, low, high };
}

double ColourRange::lowFor(const TemperaturePlane &plane) const
{
    if (!automatic)
        return low;
    const double minimum = plane.minimum();
    return std::isnan(minimum) ? 0.0 : minimum;
}

double ColourRange::highFor(const TemperaturePlane &plane) const
{
    if (!automatic)
        return high;
    const double maximum = plane.maximum();
    return std::isnan(maximum) ? 0.0 : maximum;
}

bool ColourRange::operator==(const ColourRange &other) const
{
    // Bounds of an automatic range are not in effect and not kept.
    return automatic == other.automatic && (automatic || (low == other.low && high == other.high));
}
