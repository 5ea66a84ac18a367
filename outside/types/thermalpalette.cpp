#include "thermalpalette.h"

#include <QColor>

#include <algorithm>
#include <iterator>

const QVector<QRgb> &ThermalPalette::iron()
{
    static const QVector<QRgb> palette = [] {
        const QColor keys[] = { QColor(0, 0, 0),      QColor(30, 0, 120),  QColor(140, 0, 150),
                                QColor(220, 40, 30),  QColor(250, 140, 0), QColor(255, 220, 40),
                                QColor(255, 255, 255) };
        const int segments = int(std::size(keys)) - 1;
        QVector<QRgb> colours(Size);
        for (int i = 0; i < Size; ++i) {
            const double position = i / double(Size - 1) * segments;
            const int k = std::min(int(position), segments - 1);
            const double f = position - k;
            const QColor &a = keys[k];
            const QColor &b = keys[k + 1];
            colours[i] = qRgb(int(a.red() + (b.red() - a.red()) * f),
                              int(a.green() + (b.green() - a.green()) * f),
                              int(a.blue() + (b.blue() - a.blue()) * f));
        }
        return colours;
    }();
    return palette;
}

QRgb ThermalPalette::colourAt(double fraction)
{
    const int index = int(std::clamp(fraction, 0.0, 1.0) * (Size - 1));
    return iron().at(index);
}
