#include "picturefacts.h"

#include "thermogram.h"

#include <cmath>

namespace {

// The block holds emissivity in ten-thousandths and temperatures in thousandths of a degree.
bool differ(double a, double b, double step)
{
    return std::abs(a - b) >= step / 2;
}

} // namespace

PictureFacts PictureFacts::of(const QString &fileName, const Thermogram &thermogram,
                              double emissivity, double reflectedCelsius)
{
    PictureFacts facts;
    facts.fileName = fileName;
    facts.captureTime = thermogram.captureTime.toUTC();
    facts.emissivity = emissivity;
    facts.reflectedCelsius = reflectedCelsius;
    facts.ambientCelsius = thermogram.ambientCelsius;
    facts.distanceMetres = thermogram.distanceMetres;
    facts.storedEmissivity = thermogram.emissivity;
    facts.storedReflectedCelsius = thermogram.reflectedCelsius;
    return facts;
}

PictureFacts PictureFacts::of(const QString &fileName, const Thermogram &thermogram)
{
    return of(fileName, thermogram, thermogram.emissivity, thermogram.reflectedCelsius);
}

bool PictureFacts::emissivityChanged() const
{
    return differ(emissivity, storedEmissivity, 1e-4);
}

bool PictureFacts::reflectedChanged() const
{
    return differ(reflectedCelsius, storedReflectedCelsius, 1e-3);
}

QString PictureFacts::capturedText() const
{
    return captureTime.toUTC().toString(Qt::ISODate);
}

QString PictureFacts::correctionText() const
{
    QStringList changes;
    if (emissivityChanged())
        changes << QStringLiteral("emissivity %1 -> %2")
                       .arg(storedEmissivity, 0, 'f', 2)
                       .arg(emissivity, 0, 'f', 2);
    if (reflectedChanged())
        changes << QStringLiteral("reflected %1 -> %2 \u00b0C")
                       .arg(storedReflectedCelsius, 0, 'f', 2)
                       .arg(reflectedCelsius, 0, 'f', 2);
    return changes.isEmpty() ? QStringLiteral("none") : changes.join(QStringLiteral("; "));
}
