#ifndef COMPACTIMAGE_H
#define COMPACTIMAGE_H

#include "dossview_global.h"

#include <QByteArray>
#include <QImage>

/**
 * A thumbnail held in a compact lossless form: toImage() gives back an image of the same size
 * and format whose every byte of pixel data equals the original's.
 *
 * 32-bit images are kept compressed by Zstandard. A picture of at most 256 distinct pixel values
 * (the instrument's palette pictures) is kept as its palette in the order of the colours' values
 * and one index a pixel, each less the mean of its neighbours on the left and above; any other
 * as the difference of each row to the row above, three bytes a pixel where every pixel is
 * opaque, four otherwise. Images of other depths, and large ones, are kept as they are.
 *
 * A value type, implicitly shared: copies are cheap and may travel between threads.
 */
class DOSSVIEW_EXPORT CompactImage
{
public:
    enum class Form { Null, Plain, Indexed, Opaque, Full };

    CompactImage() = default;
    static CompactImage fromImage(const QImage &image);

    bool isNull() const { return m_form == Form::Null; }
    Form form() const { return m_form; }
    QSize size() const { return QSize(m_width, m_height); }
    QImage::Format format() const { return m_format; }
    /** The bytes this form holds for the picture: the compressed data or the plain pixels. */
    qint64 byteCount() const;
    /** The image as it was given; a null image when the data cannot be expanded. */
    QImage toImage() const;

private:
    bool compressIndexed(const QImage &image);
    void compressRows(const QImage &image);
    QImage expandIndexed() const;
    QImage expandRows() const;

    Form m_form = Form::Null;
    QImage::Format m_format = QImage::Format_Invalid;
    int m_width = 0;
    int m_height = 0;
    int m_colours = 0; ///< palette entries, in the indexed form
    QByteArray m_packed; ///< Zstandard frame of the palette and indices, or of the rows
    QImage m_plain; ///< the image itself, for depths other than 32
};

#endif // COMPACTIMAGE_H
