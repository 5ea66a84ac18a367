#ifndef THUMBNAILFORMS_H
#define THUMBNAILFORMS_H

#include <QJsonObject>
#include <QStringList>

/**
 * What a listing's thumbnails cost to hold, in each form they could be held in: the 32-bit
 * pixels of a pixmap, a palette with one index a pixel (pictures of at most 256 colours), the
 * rows' differences three bytes a pixel, each of the last two compressed by zlib (level 1), LZ4
 * and Zstandard (level 1), and CompactImage's own choice. Also the best time of making and
 * expanding the chosen form and the zlib ones, and a check that every chosen form expands to the
 * same pixels.
 */
class ThumbnailForms
{
public:
    /** Measures the grid and table thumbnails of these pictures. */
    static QJsonObject measure(const QStringList &paths);
    /** One line per size for the report. */
    static QString describe(const QString &name, const QJsonObject &forms);
};

#endif // THUMBNAILFORMS_H
