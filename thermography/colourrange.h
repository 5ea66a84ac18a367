#ifndef COLOURRANGE_H
#define COLOURRANGE_H

#include "thermography_global.h"

class TemperaturePlane;

/**
 * The temperatures the palette spans: automatic (the plane's coldest to its hottest valued
 * cell) or manual bounds the user gave. Colder cells take the first colour, hotter the last.
 */
struct THERMOGRAPHY_EXPORT ColourRange
{
    bool automatic = true;
    double low = 0.0; ///< manual bounds, low < high
    double high = 0.0;

    static ColourRange manual(double low, double high);

    /** The bounds in effect on plane; (0, 0) when it has no valued cell. */
    double lowFor(const TemperaturePlane &plane) const;
    double highFor(const TemperaturePlane &plane) const;

    bool operator==(const ColourRange &other) const;
    bool operator!=(const ColourRange &other) const { return !(*this == other); }
};

#endif // COLOURRANGE_H
