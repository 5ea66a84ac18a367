#include "compactimage.h"

#include <zstd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

// The colour bytes of a 32-bit pixel in memory: blue, green and red on a little-endian machine,
// red, green and blue after the alpha byte on a big-endian one. Three of them are kept for an
// opaque picture, copied four bytes at a time (the fourth is overwritten or ignored).
constexpr int ColourOffset = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? 0 : 1;

constexpr int MaxColours = 256;
// Larger pictures are kept as they are: a thumbnail is far smaller.
constexpr qint64 MaxCompressedBytes = 64 * 1024 * 1024;
// Zstandard's fastest level with its entropy coder: a sensor's noise leaves few repeats for a
// match finder, but its small differences take 3 to 4 bits a pixel.
constexpr int CompressionLevel = 1;
// Matches of at least seven bytes: the rows of a picture of many colours, three bytes a pixel,
// hold many short repeats that cost more to find and to code than they save. Measured on
// generated thumbnails: 18 us and 2,366 bytes against level 1's own 34 us and 2,857 bytes;
// noisy pictures, which have few matches at all, are unchanged.
constexpr int MinMatch = 7;

// Pixel values to palette indices: open addressing in a table sixteen times the palette's size,
// where few colours meet another on their first slot (a quarter faster than four times).
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

    int count() const { return m_count; }
    const quint32 *palette() const { return m_palette.data(); }

private:
    static constexpr int Bits = 12;
    static constexpr int Slots = 1 << Bits;
    static constexpr quint16 Empty = 0xffff;
    std::array<quint32, Slots> m_colour;
    std::array<quint16, Slots> m_index;
    std::array<quint32, MaxColours> m_palette;
    int m_count = 0;
};

// Scratch space and compression contexts of one thread, kept between pictures so that they
// are not made and paged in each time.
struct Scratch
{
    Scratch() = default;
    Scratch(const Scratch &) = delete;
    Scratch &operator=(const Scratch &) = delete;
    ~Scratch()
    {
        ZSTD_freeCCtx(compressor);
        ZSTD_freeDCtx(decompressor);
    }

    QByteArray raw;
    QByteArray packed;
    std::vector<quint8> indices;
    ZSTD_CCtx *compressor = nullptr;
    ZSTD_DCtx *decompressor = nullptr;
};

Scratch &scratch()
{
    thread_local Scratch s;
    return s;
}

QByteArray compressed(const QByteArray &raw)
{
    Scratch &s = scratch();
    if (!s.compressor) {
        s.compressor = ZSTD_createCCtx();
        // Parameters stay with the context from one picture to the next.
        if (s.compressor) {
            ZSTD_CCtx_setParameter(s.compressor, ZSTD_c_compressionLevel, CompressionLevel);
            ZSTD_CCtx_setParameter(s.compressor, ZSTD_c_minMatch, MinMatch);
        }
    }
    const size_t bound = ZSTD_compressBound(size_t(raw.size()));
    if (!s.compressor || bound > size_t(MaxCompressedBytes) * 2)
        return QByteArray();
    if (size_t(s.packed.size()) < bound)
        s.packed.resize(int(bound));
    const size_t length
        = ZSTD_compress2(s.compressor, s.packed.data(), bound, raw.constData(), size_t(raw.size()));
    return ZSTD_isError(length) ? QByteArray() : QByteArray(s.packed.constData(), int(length));
}

// raw gets one byte more than rawSize, for the four-byte copies.
bool decompressed(const QByteArray &packed, QByteArray *raw, int rawSize)
{
    Scratch &s = scratch();
    if (!s.decompressor)
        s.decompressor = ZSTD_createDCtx();
    if (raw->size() <= rawSize)
        raw->resize(rawSize + 1);
    if (!s.decompressor)
        return false;
    const size_t length = ZSTD_decompressDCtx(s.decompressor, raw->data(), size_t(rawSize),
                                              packed.constData(), size_t(packed.size()));
    return !ZSTD_isError(length) && length == size_t(rawSize);
}

// Every index replaced by its number in table, eight at a time in one word: as a loop of single
// bytes the compiler gathers them into vector registers through the stack, which stalls.
void renumber(quint8 *indices, int count, const quint8 *table)
{
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        quint64 word;
        std::memcpy(&word, indices + i, 8);
        quint64 renumbered = 0;
        for (int b = 0; b < 64; b += 8)
            renumbered |= quint64(table[(word >> b) & 0xff]) << b;
        std::memcpy(indices + i, &renumbered, 8);
    }
    for (; i < count; ++i)
        indices[i] = table[indices[i]];
}

// An index is predicted from its neighbours on the left and above: their mean, which halves
// the weight of a sensor's noise in the prediction. The first row has only the left one, the
// first column only the one above. A row of residuals is made from its row and the one above.
void residuals(const quint8 *row, const quint8 *above, int width, quint8 *out)
{
    if (!above) {
        out[0] = row[0];
        for (int x = 1; x < width; ++x)
            out[x] = quint8(row[x] - row[x - 1]);
        return;
    }
    out[0] = quint8(row[0] - above[0]);
    // Independent of each other: a loop the compiler turns into vector code.
    for (int x = 1; x < width; ++x)
        out[x] = quint8(row[x] - ((row[x - 1] + above[x] + 1) >> 1));
}

// The row back from its residuals; each index depends on the one left of it.
void unresiduals(const quint8 *in, const quint8 *above, int width, quint8 *row)
{
    if (!above) {
        quint8 left = row[0] = in[0];
        for (int x = 1; x < width; ++x)
            left = row[x] = quint8(in[x] + left);
        return;
    }
    quint8 left = row[0] = quint8(in[0] + above[0]);
    for (int x = 1; x < width; ++x)
        left = row[x] = quint8(in[x] + ((left + above[x] + 1) >> 1));
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
        compact.m_colours = 0;
    }
    compact.m_form = Form::Plain;
    compact.m_plain = image;
    return compact;
}

bool CompactImage::compressIndexed(const QImage &image)
{
    ColourTable colours;
    const int width = m_width;
    const int height = m_height;
    const int pixels = width * height;
    std::vector<quint8> &found = scratch().indices;
    if (found.size() < size_t(pixels))
        found.resize(size_t(pixels));
    quint8 *out = found.data();
    for (int y = 0; y < height; ++y) {
        const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const int index = colours.indexOf(line[x]);
            if (index < 0)
                return false;
            *out++ = quint8(index);
        }
    }

    // The palette in the order of its values: a colour map that grows in red, then green, as
    // the instrument's iron one does, keeps its order, so neighbouring indices are near
    // temperatures and their differences small. Each entry is kept as its difference to the
    // one before, byte by byte.
    // Sorted as one key a colour, its index in the low byte: no look-up in the comparisons.
    const int count = colours.count();
    const quint32 *palette = colours.palette();
    std::array<quint64, MaxColours> order;
    for (int i = 0; i < count; ++i)
        order[size_t(i)] = quint64(palette[i]) << 8 | quint64(i);
    std::sort(order.begin(), order.begin() + count);
    std::array<quint8, MaxColours> sortedIndex;
    QByteArray &raw = scratch().raw;
    raw.resize(count * 4 + pixels);
    auto *bytes = reinterpret_cast<quint8 *>(raw.data());
    quint32 previous = 0;
    for (int i = 0; i < count; ++i) {
        sortedIndex[order[size_t(i)] & 0xff] = quint8(i);
        const quint32 colour = quint32(order[size_t(i)] >> 8);
        for (int b = 0; b < 4; ++b)
            *bytes++ = quint8((colour >> (8 * b)) - (previous >> (8 * b)));
        previous = colour;
    }
    quint8 *indices = found.data();
    renumber(indices, pixels, sortedIndex.data());
    for (int y = 0; y < height; ++y, bytes += width) {
        const quint8 *row = indices + y * width;
        residuals(row, y > 0 ? row - width : nullptr, width, bytes);
    }
    m_colours = count;
    m_packed = compressed(raw);
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
        return m_packed.size();
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
    const int width = m_width;
    const int height = m_height;
    const int count = m_colours;
    QByteArray &raw = scratch().raw;
    QImage image(width, height, m_format);
    if (image.isNull() || !decompressed(m_packed, &raw, count * 4 + width * height))
        return QImage();
    const auto *in = reinterpret_cast<const quint8 *>(raw.constData());
    std::array<quint32, MaxColours> palette;
    quint32 colour = 0;
    for (int i = 0; i < count; ++i) {
        quint32 next = 0;
        for (int b = 0; b < 4; ++b)
            next |= quint32(quint8((colour >> (8 * b)) + *in++)) << (8 * b);
        palette[size_t(i)] = colour = next;
    }
    std::vector<quint8> indices(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y, in += width) {
        quint8 *row = indices.data() + size_t(y) * size_t(width);
        unresiduals(in, y > 0 ? row - width : nullptr, width, row);
        quint8 highest = 0;
        for (int x = 0; x < width; ++x)
            highest = qMax(highest, row[x]);
        if (highest >= count)
            return QImage();
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = palette[row[x]];
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
