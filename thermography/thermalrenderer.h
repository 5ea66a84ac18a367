#ifndef THERMALRENDERER_H
#define THERMALRENDERER_H

#include "thermography_global.h"

#include "colourrange.h"
#include "isotherm.h"
#include "thermalpalette.h"

#include <QImage>

class TemperaturePlane;

/**
 * Paints a plane through a palette: one pixel a cell, the range's low bound in the palette's
 * first colour and its high bound in the last, the isotherm's cells in its contrasting colour.
 * A cell without a value is NoValue (fully transparent), so whoever draws the picture shows
 * what lies behind it.
 */
class THERMOGRAPHY_EXPORT ThermalRenderer
{
public:
    static constexpr QRgb NoValue = 0x00000000;

    /** An ARGB32 image of the plane's size; null for a plane without cells. */
    static QImage render(const TemperaturePlane &plane, ThermalPalette::Kind palette,
                         const ColourRange &range, const Isotherm &isotherm = Isotherm());
};

#endif // THERMALRENDERER_H
