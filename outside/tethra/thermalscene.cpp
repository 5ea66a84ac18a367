#include "thermalscene.h"

#include "thermalpalette.h"

#include <QRandomGenerator>
#include <QVector>

#include <algorithm>
#include <cmath>

namespace {

struct Blob
{
    double x;
    double y;
    double radius;
    double heat;
};

} // namespace

ThermalScene::ThermalScene(int seed)
    : m_seed(seed)
{ }

double ThermalScene::hotSpotPeak(double time) const
{
    // Swings between about 38 and 78 degrees every 12 seconds, so an alarm threshold of 60
    // is passed now and then.
    return 58.0 + 20.0 * std::sin(time * 2.0 * M_PI / 12.0 + m_seed);
}

QImage ThermalScene::render(double time, Readings *readings) const
{
    return render(temperatures(time), readings);
}

QImage ThermalScene::render(const QVector<float> &field, Readings *readings)
{
    const auto [lowestAt, highestAt] = std::minmax_element(field.cbegin(), field.cend());
    const float lowest = *lowestAt;
    const float highest = *highestAt;

    const QVector<QRgb> &palette = ThermalPalette::iron();
    const float span = std::max(highest - lowest, 1.0f);
    QImage image(Width, Height, QImage::Format_RGB888);
    for (int y = 0; y < Height; ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < Width; ++x) {
            const int index
                = std::clamp(int((field[y * Width + x] - lowest) / span * 255.0f), 0, 255);
            const QRgb colour = palette[index];
            line[3 * x] = uchar(qRed(colour));
            line[3 * x + 1] = uchar(qGreen(colour));
            line[3 * x + 2] = uchar(qBlue(colour));
        }
    }

    // Centre cross and the palette bar on the right, as the instrument draws them.
    const QRgb white = qRgb(255, 255, 255);
    for (int d = -8; d <= 8; ++d) {
        if (std::abs(d) < 3)
            continue;
        image.setPixel(Width / 2 + d, Height / 2, white);
        image.setPixel(Width / 2, Height / 2 + d, white);
    }
    for (int y = 20; y < Height - 20; ++y) {
        const int index = 255 - (y - 20) * 255 / (Height - 41);
        for (int x = Width - 14; x < Width - 6; ++x)
            image.setPixel(x, y, palette[std::clamp(index, 0, 255)]);
    }

    if (readings) {
        readings->minimum = lowest;
        readings->maximum = highest;
        readings->centre = field[(Height / 2) * Width + Width / 2];
    }
    return image;
}

QVector<float> ThermalScene::temperatures(double time) const
{
    QRandomGenerator random(quint32(m_seed) * 2654435761u + 1);
    QVector<Blob> blobs;
    const int warmObjects = 2 + int(random.bounded(3));
    for (int i = 0; i < warmObjects; ++i) {
        blobs.append({ random.bounded(double(Width)), random.bounded(double(Height)),
                       18.0 + random.bounded(30.0), 6.0 + random.bounded(12.0) });
    }
    // The hot spot follows a Lissajous path over the picture.
    const double phase = m_seed * 0.7;
    blobs.append({ Width / 2.0 + Width * 0.35 * std::sin(time * 0.9 + phase),
                   Height / 2.0 + Height * 0.32 * std::sin(time * 1.3 + 2 * phase), 14.0,
                   hotSpotPeak(time) - 22.0 });

    QVector<float> field(Width * Height);
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            double t = 21.0 + 2.5 * y / Height + 0.4 * std::sin(x * 0.05 + m_seed);
            for (const Blob &blob : qAsConst(blobs)) {
                const double dx = x - blob.x;
                const double dy = y - blob.y;
                const double distance2 = dx * dx + dy * dy;
                if (distance2 > 25.0 * blob.radius * blob.radius)
                    continue; // below a millionth of its heat
                t += blob.heat * std::exp(-distance2 / (2.0 * blob.radius * blob.radius));
            }
            field[y * Width + x] = float(t);
        }
    }
    return field;
}
