#ifndef THUMBNAILDECODER_H
#define THUMBNAILDECODER_H

#include "dossview_global.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

class QString;

/**
 * Makes the two thumbnails of a picture, decoding it once: the grid's, fitting 144 x 192, and
 * the table's, fitting 34 x 34, both scaled with the aspect ratio kept and Qt's fast
 * transformation. The pixels are exactly those of QPixmap::load followed by
 * QPixmap::scaled(bounds, Qt::KeepAspectRatio, Qt::FastTransformation) on a raster platform.
 *
 * Uncompressed 24-bit BMP files, the instrument's format, are read directly and only the pixels
 * the thumbnails show are sampled, at Qt's own sample positions. Anything else goes through
 * QImageReader, which picks the format from the content. Undecodable data gives null images,
 * and so does a picture whose header claims more than MaxPixels, as the picture fetcher refuses
 * to open it.
 *
 * Safe to use on any thread; one object per thread (it reuses its read buffer).
 */
class DOSSVIEW_EXPORT ThumbnailDecoder
{
public:
    enum Size { Grid = 1, Table = 2, Both = Grid | Table };

    struct Result
    {
        bool exists = false; ///< the file was there (readable or not); always true for bytes
        QImage grid; ///< fits gridBounds(); null when not asked for or undecodable
        QImage table; ///< fits tableBounds(); null when not asked for or undecodable
    };

    /** Pictures claiming more pixels than this are not decoded: 8192 x 8192. */
    static constexpr qint64 MaxPixels = 8192 * 8192;

    static QSize gridBounds() { return QSize(144, 192); }
    static QSize tableBounds() { return QSize(34, 34); }

    /** Decodes a whole picture file held in bytes. */
    static Result decode(const QByteArray &bytes, int sizes = Both);
    /**
     * Decodes the file at path. A missing file gives exists false; a file that is there but
     * cannot be read or decoded gives exists true and null images.
     */
    Result decodeFile(const QString &path, int sizes = Both);

private:
    static Result decodeData(const char *data, qint64 length, int sizes);

    QByteArray m_buffer;
};

#endif // THUMBNAILDECODER_H
