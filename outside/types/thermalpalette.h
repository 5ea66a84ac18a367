#ifndef THERMALPALETTE_H
#define THERMALPALETTE_H

#include "outsidetypes_global.h"

#include <QRgb>
#include <QVector>

/**
 * The instrument's iron palette: 256 colours from black through deep blue, purple, red,
 * orange and yellow to white. A picture shows its coldest temperature as the first colour and
 * its hottest as the last, spread evenly in between.
 */
class OUTSIDETYPES_EXPORT ThermalPalette
{
public:
    static constexpr int Size = 256;

    static const QVector<QRgb> &iron();
    /** The colour at a fraction of the picture's range (0 coldest, 1 hottest, clamped). */
    static QRgb colourAt(double fraction);
};

#endif // THERMALPALETTE_H
