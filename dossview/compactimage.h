#ifndef COMPACTIMAGE_H
#define COMPACTIMAGE_H

#include "dossview_global.h"

#include <QByteArray>
#include <QImage>
#include <QVector>

/**
 * A thumbnail held in a compact lossless form: toImage() gives back an image of the same size
 * and format whose every byte of pixel data equals the original's.
 *
 * 32-bit images are kept as LZ4-compressed rows. A picture of at most 256 distinct pixel values
 * (the instrument's palette pictures) is kept as a palette and one compressed index a pixel;
 * any other as the difference of each row to the row above, three bytes a pixel where every
 * pixel is opaque, four otherwise. Images of other depths, and large ones, are kept as they are.
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
    /** The bytes this form holds for the picture: palette, compressed rows or plain pixels. */
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
    QVector<quint32> m_palette;
    QByteArray m_packed; ///< LZ4 block of the indices or of the row differences
    QImage m_plain; ///< the image itself, for depths other than 32
};

#endif // COMPACTIMAGE_H
