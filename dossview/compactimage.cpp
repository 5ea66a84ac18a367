#include "compactimage.h"

#include <lz4.h>

#include <array>
#include <cstring>
#include <vector>

namespace {

// The colour bytes of a 32-bit pixel in memory: blue, green and red on a little-endian machine,
// red, green and blue after the alpha byte on a big-endian one. Three of them are kept for an
// opaque picture, copied four bytes at a time (the fourth is overwritten or ignored).
constexpr int ColourOffset = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? 0 : 1;

constexpr int MaxColours = 256;
// Larger pictures are kept as they are: a thumbnail is far smaller, and LZ4 takes blocks below
// 2 GB only.
constexpr qint64 MaxCompressedBytes = 64 * 1024 * 1024;

// Pixel values to palette indices: open addressing in a table four times the palette's size.
// Made on the stack for each picture: a table reached through thread-local storage would be
// looked up again for every pixel.
class ColourTable
{
public:
    ColourTable() { m_index.fill(Empty); }

    /** The index of colour, added when new; -1 once the palette would exceed MaxColours. */
    int indexOf(quint32 colour)
    {
        quint32 at = (colour * 2654435761u) >> (32 - Bits);
        for (;;) {
            if (m_index[at] == Empty) {
                if (m_count == MaxColours)
                    return -1;
                m_colour[at] = colour;
                m_index[at] = quint16(m_count);
                m_palette[size_t(m_count)] = colour;
                return m_count++;
            }
            if (m_colour[at] == colour)
                return m_index[at];
            at = (at + 1) & (Slots - 1);
        }
    }

    QVector<quint32> palette() const
    {
        return QVector<quint32>(m_palette.begin(), m_palette.begin() + m_count);
    }

private:
    static constexpr int Bits = 10;
    static constexpr int Slots = 1 << Bits;
    static constexpr quint16 Empty = 0xffff;
    std::array<quint32, Slots> m_colour;
    std::array<quint16, Slots> m_index;
    std::array<quint32, MaxColours> m_palette;
    int m_count = 0;
};

// Scratch space of one thread, kept between pictures so that it is not paged in each time.
struct Scratch
{
    QByteArray raw;
    QByteArray packed;
};

Scratch &scratch()
{
    thread_local Scratch s;
    return s;
}

QByteArray compressed(const QByteArray &raw)
{
    QByteArray &out = scratch().packed;
    const int bound = LZ4_compressBound(raw.size());
    if (out.size() < bound)
        out.resize(bound);
    const int length = LZ4_compress_default(raw.constData(), out.data(), raw.size(), bound);
    return length > 0 ? QByteArray(out.constData(), length) : QByteArray();
}

bool decompressed(const QByteArray &packed, QByteArray *raw, int rawSize)
{
    if (raw->size() <= rawSize)
        raw->resize(rawSize + 1);
    return LZ4_decompress_safe(packed.constData(), raw->data(), packed.size(), rawSize) == rawSize;
}

} // namespace

CompactImage CompactImage::fromImage(const QImage &image)
{
    CompactImage compact;
    if (image.isNull())
        return compact;
    compact.m_format = image.format();
    compact.m_width = image.width();
    compact.m_height = image.height();
    if (image.depth() == 32 && image.sizeInBytes() <= MaxCompressedBytes) {
        if (!compact.compressIndexed(image))
            compact.compressRows(image);
        if (!compact.m_packed.isEmpty())
            return compact;
        compact.m_palette.clear();
    }
    compact.m_form = Form::Plain;
    compact.m_plain = image;
    return compact;
}

bool CompactImage::compressIndexed(const QImage &image)
{
    ColourTable colours;
    QByteArray &indices = scratch().raw;
    const int width = m_width;
    const int height = m_height;
    indices.resize(width * height);
    quint8 *out = reinterpret_cast<quint8 *>(indices.data());
    for (int y = 0; y < height; ++y) {
        const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const int index = colours.indexOf(line[x]);
            if (index < 0)
                return false;
            *out++ = quint8(index);
        }
    }
    m_palette = colours.palette();
    m_packed = compressed(indices);
    m_form = Form::Indexed;
    return true;
}

void CompactImage::compressRows(const QImage &image)
{
    // Locals, not members: every byte written through out could alias a member.
    const int width = m_width;
    const int height = m_height;
    const size_t rowBytes = size_t(width) * 4;
    // The first row is kept as it is: its difference to a row of zeros. One byte more in each
    // row, for the four-byte copies.
    const std::vector<uchar> zeros(rowBytes + 1, 0);
    std::vector<uchar> differences(rowBytes + 1, 0);

    quint32 alpha = 0xff000000u;
    for (int y = 0; y < height; ++y) {
        const auto *pixels = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        for (int x = 0; x < width; ++x)
            alpha &= pixels[x];
    }
    const bool opaque = (alpha & 0xff000000u) == 0xff000000u;
    m_form = opaque ? Form::Opaque : Form::Full;

    QByteArray &raw = scratch().raw;
    raw.resize(width * height * (opaque ? 3 : 4) + 1);
    uchar *out = reinterpret_cast<uchar *>(raw.data());
    for (int y = 0; y < height; ++y) {
        const uchar *line = image.constScanLine(y);
        const uchar *above = y > 0 ? image.constScanLine(y - 1) : zeros.data();
        uchar *difference = differences.data();
        // Byte by byte, modulo 256: a loop the compiler turns into vector code.
        for (size_t i = 0; i < rowBytes; ++i)
            difference[i] = uchar(line[i] - above[i]);
        if (opaque) {
            for (int x = 0; x < width; ++x, out += 3)
                std::memcpy(out, difference + 4 * x + ColourOffset, 4);
        } else {
            std::memcpy(out, difference, rowBytes);
            out += rowBytes;
        }
    }
    raw.resize(width * height * (opaque ? 3 : 4));
    m_packed = compressed(raw);
}

qint64 CompactImage::byteCount() const
{
    switch (m_form) {
    case Form::Null:
        return 0;
    case Form::Plain:
        return m_plain.sizeInBytes();
    default:
        return m_packed.size() + qint64(m_palette.size()) * 4;
    }
}

QImage CompactImage::toImage() const
{
    switch (m_form) {
    case Form::Null:
        return QImage();
    case Form::Plain:
        return m_plain;
    case Form::Indexed:
        return expandIndexed();
    default:
        return expandRows();
    }
}

QImage CompactImage::expandIndexed() const
{
    QByteArray &indices = scratch().raw;
    QImage image(m_width, m_height, m_format);
    if (image.isNull() || !decompressed(m_packed, &indices, m_width * m_height))
        return QImage();
    const auto *in = reinterpret_cast<const quint8 *>(indices.constData());
    const quint32 *palette = m_palette.constData();
    const int colours = m_palette.size();
    for (int y = 0; y < m_height; ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < m_width; ++x) {
            const int index = *in++;
            if (index >= colours)
                return QImage();
            line[x] = palette[index];
        }
    }
    return image;
}

QImage CompactImage::expandRows() const
{
    const bool opaque = m_form == Form::Opaque;
    const int width = m_width;
    const int height = m_height;
    const size_t rowBytes = size_t(width) * 4;
    QByteArray &raw = scratch().raw;
    QImage image(width, height, m_format);
    const int rawSize = width * height * (opaque ? 3 : 4);
    // One byte more, for the four-byte copies.
    if (image.isNull() || !decompressed(m_packed, &raw, rawSize) || raw.size() <= rawSize)
        return QImage();
    const std::vector<uchar> zeros(rowBytes + 1, 0);
    std::vector<uchar> differences(rowBytes + 4, 0);
    const uchar *in = reinterpret_cast<const uchar *>(raw.constData());
    for (int y = 0; y < height; ++y) {
        const uchar *difference = in;
        if (opaque) {
            uchar *unpacked = differences.data();
            for (int x = 0; x < width; ++x, in += 3)
                std::memcpy(unpacked + 4 * x + ColourOffset, in, 4);
            difference = unpacked;
        } else {
            in += rowBytes;
        }
        uchar *line = image.scanLine(y);
        const uchar *above = y > 0 ? image.constScanLine(y - 1) : zeros.data();
        for (size_t i = 0; i < rowBytes; ++i)
            line[i] = uchar(difference[i] + above[i]);
        if (opaque) {
            // The alpha bytes were not kept: every one is 0xff.
            auto *pixels = reinterpret_cast<quint32 *>(line);
            for (int x = 0; x < width; ++x)
                pixels[x] |= 0xff000000u;
        }
    }
    return image;
}
