#include "csvexport.h"

#include "picturefacts.h"

#include <cmath>

void CsvExport::appendCelsius(QByteArray &out, double celsius)
{
    if (std::isnan(celsius))
        return;
    // Hundredths as an integer: no locale, and fast enough for a card of pictures.
    const long long hundredths = std::llround(celsius * 100.0);
    const unsigned long long magnitude
        = hundredths < 0 ? 0ULL - static_cast<unsigned long long>(hundredths) : hundredths;
    char digits[24];
    int at = sizeof digits;
    unsigned long long rest = magnitude;
    digits[--at] = char('0' + rest % 10);
    rest /= 10;
    digits[--at] = char('0' + rest % 10);
    rest /= 10;
    digits[--at] = '.';
    do {
        digits[--at] = char('0' + rest % 10);
        rest /= 10;
    } while (rest > 0);
    if (hundredths < 0)
        digits[--at] = '-';
    out.append(digits + at, int(sizeof digits) - at);
}

QByteArray CsvExport::csv(const PictureFacts &facts, const QSize &planeSize,
                          const QVector<float> &celsius)
{
    const auto number
        = [](double value, int decimals) { return QByteArray::number(value, 'f', decimals); };
    QByteArray out;
    out.reserve(planeSize.width() * planeSize.height() * 7 + 512);
    out += "# file: " + facts.fileName.toUtf8() + '\n';
    out += "# captured: " + facts.capturedText().toUtf8() + '\n';
    out += "# emissivity: " + number(facts.emissivity, 2) + '\n';
    out += "# reflected temperature: " + number(facts.reflectedCelsius, 2) + '\n';
    out += "# ambient temperature: " + number(facts.ambientCelsius, 2) + '\n';
    out += "# distance: " + number(facts.distanceMetres, 2) + " m\n";
    out += "# corrections: " + facts.correctionText().toUtf8() + '\n';
    out += "# unit: \xc2\xb0"
           "C\n";
    if (celsius.size() != planeSize.width() * planeSize.height())
        return out;
    const float *cell = celsius.constData();
    for (int y = 0; y < planeSize.height(); ++y) {
        for (int x = 0; x < planeSize.width(); ++x) {
            if (x > 0)
                out += ',';
            appendCelsius(out, *cell++);
        }
        out += '\n';
    }
    return out;
}
