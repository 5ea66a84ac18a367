#include "thermalpalette.h"

#include <QColor>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

// 256 colours spread evenly along straight steps between the key colours.
QVector<QRgb> blend(std::initializer_list<QColor> keyList)
{
    const QVector<QColor> keys(keyList);
    const int segments = keys.size() - 1;
    QVector<QRgb> colours(ThermalPalette::Size);
    for (int i = 0; i < ThermalPalette::Size; ++i) {
        const double position = i / double(ThermalPalette::Size - 1) * segments;
        const int k = std::min(int(position), segments - 1);
        const double f = position - k;
        const QColor &a = keys.at(k);
        const QColor &b = keys.at(k + 1);
        colours[i] = qRgb(int(a.red() + (b.red() - a.red()) * f),
                          int(a.green() + (b.green() - a.green()) * f),
                          int(a.blue() + (b.blue() - a.blue()) * f));
    }
    return colours;
}

const QVector<QVector<QRgb>> &allColours()
{
    static const QVector<QVector<QRgb>> palettes = {
        // Iron: the instrument's, unchanged.
        blend({ QColor(0, 0, 0), QColor(30, 0, 120), QColor(140, 0, 150), QColor(220, 40, 30),
                QColor(250, 140, 0), QColor(255, 220, 40), QColor(255, 255, 255) }),
        // Rainbow: blue through cyan, green and yellow to red.
        blend({ QColor(0, 0, 140), QColor(0, 60, 255), QColor(0, 220, 255), QColor(0, 200, 60),
                QColor(240, 240, 0), QColor(255, 120, 0), QColor(220, 0, 0) }),
        blend({ QColor(0, 0, 0), QColor(255, 255, 255) }),
        blend({ QColor(255, 255, 255), QColor(0, 0, 0) }),
        // High contrast: hard steps between unlike hues so that small differences show.
        blend({ QColor(0, 0, 0), QColor(0, 0, 255), QColor(0, 255, 255), QColor(0, 160, 0),
                QColor(255, 255, 0), QColor(255, 0, 0), QColor(255, 0, 255),
                QColor(255, 255, 255) }),
    };
    return palettes;
}

const char *const Names[] = { "iron", "rainbow", "whitehot", "blackhot", "contrast" };

} // namespace

QList<ThermalPalette::Kind> ThermalPalette::kinds()
{
    return { Iron, Rainbow, WhiteHot, BlackHot, Contrast };
}

const QVector<QRgb> &ThermalPalette::colours(Kind kind)
{
    return allColours().at(kind);
}

QString ThermalPalette::name(Kind kind)
{
    return QString::fromLatin1(Names[kind]);
}

std::optional<ThermalPalette::Kind> ThermalPalette::fromName(const QString &name)
{
    for (const Kind kind : kinds()) {
        if (name == QLatin1String(Names[kind]))
            return kind;
    }
    return std::nullopt;
}

QRgb ThermalPalette::contrastColour(Kind kind)
{
    switch (kind) {
    case Iron:
    case WhiteHot:
    case BlackHot:
        return qRgb(0, 255, 0);
    case Rainbow:
    case Contrast:
        break;
    }
    // The colourful palettes hold green; a mid grey is none of their colours.
    return qRgb(128, 128, 128);
}

QRgb ThermalPalette::colourAt(Kind kind, double fraction)
{
    if (std::isnan(fraction))
        fraction = 0.0;
    const int index = int(std::clamp(fraction, 0.0, 1.0) * (Size - 1));
    return colours(kind).at(index);
}

QString ThermalPalette::displayName(Kind kind)
{
    switch (kind) {
    case Iron:
        return tr("Iron");
    case Rainbow:
        return tr("Rainbow");
    case WhiteHot:
        return tr("White hot");
    case BlackHot:
        return tr("Black hot");
    case Contrast:
        return tr("High contrast");
    }
    return name(kind);
}
