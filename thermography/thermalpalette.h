#ifndef THERMALPALETTE_H
#define THERMALPALETTE_H

#include "thermography_global.h"

#include <QCoreApplication>
#include <QList>
#include <QRgb>
#include <QString>
#include <QVector>

#include <optional>

/**
 * The palettes a thermal picture is painted through, 256 colours each, the first for the
 * coldest end of the range and the last for the hottest. Iron is the instrument's own palette:
 * black through deep blue, purple, red, orange and yellow to white.
 */
class THERMOGRAPHY_EXPORT ThermalPalette
{
    Q_DECLARE_TR_FUNCTIONS(ThermalPalette)

public:
    enum Kind { Iron, Rainbow, WhiteHot, BlackHot, Contrast };
    static constexpr int Size = 256;

    /** Every palette, in the order a user is offered them. */
    static QList<Kind> kinds();
    static const QVector<QRgb> &colours(Kind kind);
    /** The stable lower-case id kept in saved analyses: "iron", "rainbow", … */
    static QString name(Kind kind);
    static std::optional<Kind> fromName(const QString &name);
    /** The name a user reads, in the user's language: "Iron", "Rainbow", … */
    static QString displayName(Kind kind);
    /** A colour that stands out against every colour of the palette, for the isotherm. */
    static QRgb contrastColour(Kind kind);

    static const QVector<QRgb> &iron() { return colours(Iron); }
    /** The colour at a fraction of the range (0 coldest, 1 hottest, clamped). */
    static QRgb colourAt(Kind kind, double fraction);
    static QRgb colourAt(double fraction) { return colourAt(Iron, fraction); }
};

#endif // THERMALPALETTE_H
