#ifndef ISOTHERM_H
#define ISOTHERM_H

#include "thermography_global.h"

/**
 * Marks the cells at or above a threshold, or within a band, in one colour that stands out
 * against the palette (ThermalPalette::contrastColour).
 */
struct THERMOGRAPHY_EXPORT Isotherm
{
    enum Mode { Off, Above, Within };

    Mode mode = Off;
    double low = 0.0; ///< the threshold, or the band's lower bound
    double high = 0.0; ///< the band's upper bound (Within only), low <= high

    /** Whether a cell of this temperature is painted in the isotherm's colour. */
    bool covers(double celsius) const;

    bool operator==(const Isotherm &other) const;
    bool operator!=(const Isotherm &other) const { return !(*this == other); }
};

#endif // ISOTHERM_H
