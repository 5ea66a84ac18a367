#ifndef ICONPAINTER_H
#define ICONPAINTER_H

#include <QImage>
#include <QStringList>

/**
 * Draws every picture of the resource tree from vector shapes. Each drawing is laid out on a
 * 32-unit square and scaled to the requested size, so the same shapes serve 16 px menu icons
 * and the 256 px window icon.
 */
class IconPainter
{
public:
    /** File names of the PNG pictures, in the order they are drawn. */
    static QStringList pngNames();
    /** File names of the icon files; each is written with several sizes. */
    static QStringList icoNames();
    /** Pixel size of the PNG file @p name (square). */
    static int pngSize(const QString &name);
    /** The picture @p name (a PNG or ICO file name) drawn at @p size pixels; null if unknown. */
    static QImage render(const QString &name, int size);
};

#endif // ICONPAINTER_H
