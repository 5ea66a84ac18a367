#include "bmpsampler.h"

#include <QtEndian>
#include <QtMath>

#include <cstring>
#include <vector>

namespace {

// Qt's raster engine refuses its fast scaling beyond this size and takes another path.
constexpr int MaxSide = 0x7fff;

/**
 * One axis of Qt's nearest-neighbour scaling (qt_scale_image_32bit): QImage::scaled draws the
 * picture through a scale transform of target / source, and the engine walks the source in
 * 16.16 fixed point from the centre of the first target pixel.
 */
struct Axis
{
    int count = 0; // target pixels actually drawn; the rest stay zero as in Qt
    std::vector<int> positions;
};

Axis axis(int source, int target)
{
    Axis result;
    const qreal scale = qreal(target) / qreal(source);
    const qreal mapped = qreal(source) * scale; // width of the mapped target rectangle
    const qreal factor = mapped / qreal(source);
    const int step = int(0x00010000 / factor);

    int end = qRound(mapped);
    if (end >= target)
        end = target;
    int count = end;
    if (count <= 0)
        return result;

    const quint32 first = quint32(qCeil(qreal(0.5) * step) - 1);
    // Qt drops a last pixel whose sample would fall outside the source
    const int last = int((first + quint32(step) * quint32(count - 1)) >> 16);
    if (last < 0 || last >= source)
        --count;

    result.count = count;
    result.positions.resize(size_t(count));
    quint32 position = first;
    for (int i = 0; i < count; ++i, position += quint32(step))
        result.positions[size_t(i)] = int(position >> 16);
    return result;
}

} // namespace

bool BmpSampler::parse(const char *data, qint64 length, Layout *layout)
{
    Layout result;
    if (!parseHeader(data, length, &result) || result.end() > length)
        return false;
    *layout = result;
    return true;
}

bool BmpSampler::parseHeader(const char *data, qint64 length, Layout *layout)
{
    constexpr qint64 FileHeader = 14;
    constexpr quint32 InfoHeader = 40;
    static_assert(FileHeader + InfoHeader == HeaderBytes, "the headers parsed");
    if (!data || length < FileHeader + InfoHeader || data[0] != 'B' || data[1] != 'M')
        return false;
    const auto *bytes = reinterpret_cast<const uchar *>(data);
    const quint32 offset = qFromLittleEndian<quint32>(bytes + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(bytes + 14);
    const qint32 width = qFromLittleEndian<qint32>(bytes + 18);
    const qint32 height = qFromLittleEndian<qint32>(bytes + 22);
    const quint16 planes = qFromLittleEndian<quint16>(bytes + 26);
    const quint16 bitCount = qFromLittleEndian<quint16>(bytes + 28);
    const quint32 compression = qFromLittleEndian<quint32>(bytes + 30);

    if (infoSize != InfoHeader || planes != 1 || bitCount != 24 || compression != 0)
        return false;
    if (width <= 0 || width > MaxSide || height == 0 || height < -MaxSide || height > MaxSide)
        return false;
    // Qt reads the rows from the offset only when it lies beyond the headers
    if (offset < FileHeader + InfoHeader)
        return false;

    Layout result;
    result.width = width;
    result.height = height < 0 ? -height : height;
    result.topDown = height < 0;
    result.pixelOffset = offset;
    result.stride = (qint64(width) * 3 + 3) & ~qint64(3);
    *layout = result;
    return true;
}

QImage BmpSampler::sample(const char *data, const Layout &layout, const QSize &bounds)
{
    QSize size = QSize(layout.width, layout.height).scaled(bounds, Qt::KeepAspectRatio);
    size = size.expandedTo(QSize(1, 1));

    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;

    const Axis columns = axis(layout.width, size.width());
    const Axis rows = axis(layout.height, size.height());
    // Pixels Qt leaves undrawn stay zero.
    if (columns.count < size.width() || rows.count < size.height())
        image.fill(0);

    // A pixel is read as four bytes where the fourth still lies in its row's stored bytes,
    // which takes a third of the loads; the last columns of a row without padding byte by byte.
    std::vector<int> offsets(size_t(columns.count));
    int wide = 0;
    for (int x = 0; x < columns.count; ++x) {
        offsets[size_t(x)] = 3 * columns.positions[size_t(x)];
        if (offsets[size_t(x)] + 4 <= layout.stride)
            wide = x + 1;
    }
    const auto *pixels = reinterpret_cast<const uchar *>(data + layout.pixelOffset);
    for (int y = 0; y < rows.count; ++y) {
        const int sourceRow = rows.positions[size_t(y)];
        const int storedRow = layout.topDown ? sourceRow : layout.height - 1 - sourceRow;
        const uchar *line = pixels + storedRow * layout.stride;
        auto *target = reinterpret_cast<QRgb *>(image.scanLine(y));
        int x = 0;
        for (; x < wide; ++x) {
            quint32 bgr;
            std::memcpy(&bgr, line + offsets[size_t(x)], 4);
            target[x] = 0xff000000u | qFromLittleEndian(bgr);
        }
        for (; x < columns.count; ++x) {
            const uchar *pixel = line + offsets[size_t(x)];
            target[x] = qRgb(pixel[2], pixel[1], pixel[0]);
        }
    }
    return image;
}
