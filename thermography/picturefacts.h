#ifndef PICTUREFACTS_H
#define PICTUREFACTS_H

#include "thermography_global.h"

#include <QDateTime>
#include <QString>

struct Thermogram;

/**
 * What every export says about a picture besides its temperatures: its name, when it was
 * taken, and the conditions its values stand for. The emissivity and reflected temperature are
 * those in effect (after a correction); the stored ones say what the instrument used.
 */
struct THERMOGRAPHY_EXPORT PictureFacts
{
    QString fileName;
    QDateTime captureTime; ///< in UTC
    double emissivity = 1.0;
    double reflectedCelsius = 0.0;
    double ambientCelsius = 0.0;
    double distanceMetres = 0.0;
    double storedEmissivity = 1.0;
    double storedReflectedCelsius = 0.0;

    /** The facts of a thermogram with the emissivity and reflected temperature in effect. */
    static PictureFacts of(const QString &fileName, const Thermogram &thermogram, double emissivity,
                           double reflectedCelsius);
    /** The facts of a thermogram as the instrument stored it. */
    static PictureFacts of(const QString &fileName, const Thermogram &thermogram);

    bool corrected() const { return emissivityChanged() || reflectedChanged(); }
    bool emissivityChanged() const;
    bool reflectedChanged() const;
    /** The capture time as ISO 8601 in UTC, "2026-12-07T10:15:00Z". */
    QString capturedText() const;
    /** "none", or what changed: "emissivity 0.95 -> 0.80; reflected 20.00 -> 25.00 °C". */
    QString correctionText() const;
};

#endif // PICTUREFACTS_H
