#include "colourrange.h"

#include "temperatureplane.h"

ColourRange ColourRange::manual(double low, double high)
{
    return ColourRange { false, low, high };
}

double ColourRange::lowFor(const TemperaturePlane &plane) const
{
    return automatic ? plane.minimum() : low;
}

double ColourRange::highFor(const TemperaturePlane &plane) const
{
    return automatic ? plane.maximum() : high;
}

bool ColourRange::operator==(const ColourRange &other) const
{
    // Bounds of an automatic range are not in effect and not kept.
    return automatic == other.automatic && (automatic || (low == other.low && high == other.high));
}
