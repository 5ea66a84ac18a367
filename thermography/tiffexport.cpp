#include "tiffexport.h"

#include <QBuffer>

#include <algorithm>

#include <tiffio.h>

namespace {

// libtiff writes through these into a QBuffer: the whole file stays in memory.
QBuffer *bufferOf(thandle_t handle)
{
    return static_cast<QBuffer *>(handle);
}

tmsize_t readProc(thandle_t handle, void *data, tmsize_t size)
{
    return bufferOf(handle)->read(static_cast<char *>(data), size);
}

tmsize_t writeProc(thandle_t handle, void *data, tmsize_t size)
{
    return bufferOf(handle)->write(static_cast<const char *>(data), size);
}

toff_t seekProc(thandle_t handle, toff_t offset, int whence)
{
    QBuffer *buffer = bufferOf(handle);
    qint64 to = qint64(offset);
    if (whence == SEEK_CUR)
        to += buffer->pos();
    else if (whence == SEEK_END)
        to += buffer->size();
    if (to > buffer->size()) // seeking past the end: the gap reads as zeros
        buffer->buffer().append(QByteArray(int(to - buffer->size()), '\0'));
    return buffer->seek(to) ? toff_t(to) : toff_t(-1);
}

int closeProc(thandle_t)
{
    return 0;
}

toff_t sizeProc(thandle_t handle)
{
    return toff_t(bufferOf(handle)->size());
}

int mapProc(thandle_t, void **, toff_t *)
{
    return 0;
}

void unmapProc(thandle_t, void *, toff_t) { }

} // namespace

QByteArray TiffExport::tiff(const QSize &planeSize, const QVector<float> &celsius,
                            const QString &description)
{
    const int width = planeSize.width();
    const int height = planeSize.height();
    if (width <= 0 || height <= 0 || celsius.size() != width * height)
        return QByteArray();

    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    TIFF *tiff = TIFFClientOpen("temperatures", "w", &buffer, readProc, writeProc, seekProc,
                                closeProc, sizeProc, mapProc, unmapProc);
    if (!tiff)
        return QByteArray();
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(width));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(height));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, uint16_t(1));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, uint16_t(32));
    TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, uint16_t(SAMPLEFORMAT_IEEEFP));
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, uint16_t(PHOTOMETRIC_MINISBLACK));
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, uint16_t(PLANARCONFIG_CONTIG));
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, uint16_t(COMPRESSION_NONE));
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, uint32_t(height));
    if (!description.isEmpty())
        TIFFSetField(tiff, TIFFTAG_IMAGEDESCRIPTION, description.toUtf8().constData());
    bool written = true;
    QVector<float> row(width);
    for (int y = 0; y < height && written; ++y) {
        // libtiff may change the row in place while writing it, so it gets a copy.
        std::copy_n(celsius.constData() + y * width, width, row.data());
        written = TIFFWriteScanline(tiff, row.data(), uint32_t(y), 0) == 1;
    }
    written = written && TIFFWriteDirectory(tiff) == 1;
    TIFFClose(tiff);
    return written ? buffer.data() : QByteArray();
}
