#ifndef PICTUREANALYSIS_H
#define PICTUREANALYSIS_H

#include "thermography_global.h"

#include "colourrange.h"
#include "isotherm.h"
#include "measurementtool.h"
#include "radiometriccorrection.h"
#include "thermalpalette.h"

#include <QByteArray>
#include <QVector>

#include <optional>

/**
 * What a user made of one picture: the tools placed on it, the palette, the range, the
 * isotherm and the correction. Kept as a small JSON document (docs/devices.md); the reader
 * checks every member and answers std::nullopt for anything it would not write itself, and
 * what it accepts writes back to an equal analysis.
 */
struct THERMOGRAPHY_EXPORT PictureAnalysis
{
    static constexpr int MaxTools = 10;
    static constexpr int MaxCell = 4095; ///< tools' coordinates lie in 0 … MaxCell
    static constexpr double MinCelsius = -273.15; ///< bounds of a range or isotherm
    static constexpr double MaxCelsius = 10000.0;
    static constexpr int MaxFileSize = 65536;

    QVector<MeasurementTool> tools;
    ThermalPalette::Kind palette = ThermalPalette::Iron;
    ColourRange range;
    Isotherm isotherm;
    /** Empty: the stored temperatures as they are. */
    std::optional<Correction> correction;

    /** Nothing changed from how a picture first shows. */
    bool isDefault() const { return *this == PictureAnalysis(); }
    /** The name the next tool of kind gets: its prefix and the lowest number not in use. */
    QString nextToolName(MeasurementTool::Kind kind) const;

    QByteArray toJson() const;
    static std::optional<PictureAnalysis> fromJson(const QByteArray &json);

    bool operator==(const PictureAnalysis &other) const;
    bool operator!=(const PictureAnalysis &other) const { return !(*this == other); }
};

#endif // PICTUREANALYSIS_H
