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

// Qt decodes a picture whole before it is scaled, and trusts the size in its header: a few
// bytes can ask for gigabytes. Pictures the fetcher would refuse to open get no thumbnail. Qt
// gives the height of a BMP stored top row first as negative, hence the magnitudes.
QImage readWithinLimit(QImageReader &reader)
{
    const QSize size = reader.size();
    if (qAbs(qint64(size.width())) * qAbs(qint64(size.height())) > ThumbnailDecoder::MaxPixels)
        return QImage();
    return reader.read();
}

qint64 readSome(QFile &file, char *data, qint64 length)
{
    qint64 total = 0;
    while (total < length) {
        const qint64 got = file.read(data + total, length - total);
        if (got <= 0)
            break;
        total += got;
    }
    return total;
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
    return scaledResult(readWithinLimit(reader), sizes);
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
        return scaledResult(readWithinLimit(reader), sizes);
    }

    // The headers first: of a picture the direct reader takes, only the rows are read, not
    // what follows them. Anything else is read whole (pipes and the like until their end).
    qint64 wanted = BmpSampler::HeaderBytes;
    // one byte more than the file, so that its end shows without growing the buffer
    if (m_buffer.size() < qMax<qint64>(size + 1, wanted))
        m_buffer.resize(int(qMax<qint64>(size + 1, wanted)));
    qint64 length = readSome(file, m_buffer.data(), wanted);
    BmpSampler::Layout layout;
    if (length == wanted && BmpSampler::parseHeader(m_buffer.constData(), length, &layout)
        && layout.end() <= size) {
        wanted = layout.end();
    } else {
        wanted = MaxReadSize;
    }
    while (length < wanted) {
        if (length == m_buffer.size())
            m_buffer.resize(int(qMin<qint64>(MaxReadSize, qMax<qint64>(length * 2, 65536))));
        const qint64 ask = qMin<qint64>(wanted, m_buffer.size()) - length;
        const qint64 got = readSome(file, m_buffer.data() + length, ask);
        length += got;
        if (got < ask)
            break;
    }
    file.close();
    return decodeData(m_buffer.constData(), length, sizes);
}
