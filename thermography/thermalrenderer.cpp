#include "thermalrenderer.h"

#include "temperatureplane.h"

#include <algorithm>
#include <cmath>

QImage ThermalRenderer::render(const TemperaturePlane &plane, ThermalPalette::Kind palette,
                               const ColourRange &range, const Isotherm &isotherm)
{
    if (!plane.isValid())
        return QImage();
    QImage image(plane.size(), QImage::Format_ARGB32);
    const QVector<QRgb> &colours = ThermalPalette::colours(palette);
    const QRgb contrast = ThermalPalette::contrastColour(palette);
    const double low = range.lowFor(plane);
    const double high = range.highFor(plane);
    // A range without width puts every cell in the middle of the palette.
    const double span = high - low;
    const float *value = plane.values().constData();
    for (int y = 0; y < plane.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < plane.width(); ++x, ++value) {
            const double celsius = *value;
            if (std::isnan(celsius)) {
                line[x] = NoValue;
            } else if (isotherm.mode != Isotherm::Off && isotherm.covers(celsius)) {
                line[x] = contrast;
            } else {
                const double index = span > 0.0
                    ? (celsius - low) * (ThermalPalette::Size - 1) / span
                    : (ThermalPalette::Size - 1) / 2.0;
                line[x] = colours[int(std::clamp(index, 0.0, double(ThermalPalette::Size - 1)))];
            }
        }
    }
    return image;
}
