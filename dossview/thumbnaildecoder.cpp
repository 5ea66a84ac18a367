#include "thumbnaildecoder.h"

#include "bmpsampler.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

// Larger files are decoded by Qt straight from the disk instead of being read whole.
constexpr qint64 MaxReadSize = 64 * 1024 * 1024;

// What a raster QPixmap makes of a decoded image before it is scaled.
QImage pixmapFormat(const QImage &image)
{
    if (image.isNull())
        return image;
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(line[x]) != 255)
                return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        }
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

ThumbnailDecoder::Result scaledResult(const QImage &decoded, int sizes)
{
    ThumbnailDecoder::Result result;
    result.exists = true;
    const QImage picture = pixmapFormat(decoded);
    if (picture.isNull())
        return result;
    if (sizes & ThumbnailDecoder::Grid)
        result.grid = picture.scaled(ThumbnailDecoder::gridBounds(), Qt::KeepAspectRatio,
                                     Qt::FastTransformation);
    if (sizes & ThumbnailDecoder::Table)
        result.table = picture.scaled(ThumbnailDecoder::tableBounds(), Qt::KeepAspectRatio,
                                      Qt::FastTransformation);
    return result;
}

} // namespace

ThumbnailDecoder::Result ThumbnailDecoder::decode(const QByteArray &bytes, int sizes)
{
    return decodeData(bytes.constData(), bytes.size(), sizes);
}

ThumbnailDecoder::Result ThumbnailDecoder::decodeData(const char *data, qint64 length, int sizes)
{
    BmpSampler::Layout layout;
    if (BmpSampler::parse(data, length, &layout)) {
        Result result;
        result.exists = true;
        if (sizes & Grid)
            result.grid = BmpSampler::sample(data, layout, gridBounds());
        if (sizes & Table)
            result.table = BmpSampler::sample(data, layout, tableBounds());
        return result;
    }
    // QImageReader wants a device; the bytes are not copied.
    QByteArray bytes = QByteArray::fromRawData(data, int(length));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return scaledResult(reader.read(), sizes);
}

ThumbnailDecoder::Result ThumbnailDecoder::decodeFile(const QString &path, int sizes)
{
    Result result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        // there but not readable: an empty picture, as a failed load gives
        result.exists = QFileInfo::exists(path);
        return result;
    }
    const qint64 size = file.size();
    if (size > MaxReadSize) {
        QImageReader reader(&file);
        return scaledResult(reader.read(), sizes);
    }

    // Regular files come in one read; pipes and the like until their end.
    qint64 length = 0;
    if (m_buffer.size() < size + 1)
        m_buffer.resize(int(size + 1));
    for (;;) {
        if (length == m_buffer.size()) {
            if (length >= MaxReadSize)
                break;
            m_buffer.resize(int(qMin<qint64>(MaxReadSize, length * 2)));
        }
        const qint64 got = file.read(m_buffer.data() + length, m_buffer.size() - length);
        if (got <= 0)
            break;
        length += got;
    }
    file.close();
    return decodeData(m_buffer.constData(), length, sizes);
}
