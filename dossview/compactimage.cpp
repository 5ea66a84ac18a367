#include "compactimage.h"

#include <lz4.h>

#include <array>
#include <cstring>

namespace {

// Byte-wise a - b and a + b of four bytes at once, each byte modulo 256, so that the rows'
// differences are lossless whatever the values.
inline quint32 bytesMinus(quint32 a, quint32 b)
{
    return ((a | 0x80808080u) - (b & 0x7f7f7f7fu)) ^ ((a ^ ~b) & 0x80808080u);
}

inline quint32 bytesPlus(quint32 a, quint32 b)
{
    return ((a & 0x7f7f7f7fu) + (b & 0x7f7f7f7fu)) ^ ((a ^ b) & 0x80808080u);
}

constexpr int MaxColours = 256;

// Pixel values to palette indices: open addressing in a table four times the palette's size,
// stamped per use so that it needs no clearing between pictures.
class ColourTable
{
public:
    /** The index of colour, added when new; -1 once the palette would exceed MaxColours. */
    int indexOf(quint32 colour, QVector<quint32> *palette)
    {
        quint32 slot = (colour * 2654435761u) >> (32 - Bits);
        for (;;) {
            if (m_stamp[slot] != m_use) {
                if (palette->size() == MaxColours)
                    return -1;
                m_stamp[slot] = m_use;
                m_colour[slot] = colour;
                m_index[slot] = quint8(palette->size());
                palette->append(colour);
                return m_index[slot];
            }
            if (m_colour[slot] == colour)
                return m_index[slot];
            slot = (slot + 1) & (Slots - 1);
        }
    }

    void reset()
    {
        if (++m_use == 0) {
            m_stamp.fill(0);
            m_use = 1;
        }
    }

private:
    static constexpr int Bits = 10;
    static constexpr int Slots = 1 << Bits;
    std::array<quint32, Slots> m_stamp {};
    std::array<quint32, Slots> m_colour {};
    std::array<quint8, Slots> m_index {};
    quint32 m_use = 0;
};

// Scratch space of one thread, kept between pictures so that it is not paged in each time.
struct Scratch
{
    QByteArray raw;
    QByteArray packed;
    ColourTable colours;
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
    return QByteArray(out.constData(), length);
}

bool decompressed(const QByteArray &packed, QByteArray *raw, int rawSize)
{
    if (raw->size() < rawSize)
        raw->resize(rawSize);
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
    if (image.depth() != 32) {
        compact.m_form = Form::Plain;
        compact.m_plain = image;
        return compact;
    }
    if (!compact.compressIndexed(image))
        compact.compressRows(image);
    return compact;
}

bool CompactImage::compressIndexed(const QImage &image)
{
    ColourTable &colours = scratch().colours;
    colours.reset();
    QByteArray &indices = scratch().raw;
    indices.resize(m_width * m_height);
    auto *out = reinterpret_cast<quint8 *>(indices.data());
    // Neighbours are mostly alike: the last colour is checked before the table.
    quint32 last = 0;
    int lastIndex = -1;
    for (int y = 0; y < m_height; ++y) {
        const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        for (int x = 0; x < m_width; ++x) {
            if (line[x] != last || lastIndex < 0) {
                last = line[x];
                lastIndex = colours.indexOf(last, &m_palette);
                if (lastIndex < 0) {
                    m_palette.clear();
                    return false;
                }
            }
            *out++ = quint8(lastIndex);
        }
    }
    m_palette.squeeze();
    m_packed = compressed(indices);
    m_form = Form::Indexed;
    return true;
}

void CompactImage::compressRows(const QImage &image)
{
    // The first row is kept as it is (its difference to a row of zeros).
    QByteArray &raw = scratch().raw;
    raw.resize(m_width * m_height * 4);
    auto *out = reinterpret_cast<quint8 *>(raw.data());
    quint32 alpha = 0xff000000u;
    for (int y = 0; y < m_height; ++y) {
        const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        const auto *above
            = y > 0 ? reinterpret_cast<const quint32 *>(image.constScanLine(y - 1)) : nullptr;
        for (int x = 0; x < m_width; ++x) {
            const quint32 difference = bytesMinus(line[x], above ? above[x] : 0);
            alpha &= line[x];
            out[0] = quint8(difference);
            out[1] = quint8(difference >> 8);
            out[2] = quint8(difference >> 16);
            out += 3;
        }
    }
    if ((alpha & 0xff000000u) == 0xff000000u) {
        raw.resize(m_width * m_height * 3);
        m_form = Form::Opaque;
    } else {
        // Not every pixel is opaque: all four bytes, as words.
        auto *words = reinterpret_cast<quint32 *>(raw.data());
        for (int y = 0; y < m_height; ++y) {
            const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
            const auto *above
                = y > 0 ? reinterpret_cast<const quint32 *>(image.constScanLine(y - 1)) : nullptr;
            for (int x = 0; x < m_width; ++x)
                *words++ = bytesMinus(line[x], above ? above[x] : 0);
        }
        m_form = Form::Full;
    }
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
    QByteArray &raw = scratch().raw;
    QImage image(m_width, m_height, m_format);
    if (image.isNull() || !decompressed(m_packed, &raw, m_width * m_height * (opaque ? 3 : 4)))
        return QImage();
    const auto *in = reinterpret_cast<const quint8 *>(raw.constData());
    for (int y = 0; y < m_height; ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        const auto *above
            = y > 0 ? reinterpret_cast<const quint32 *>(image.constScanLine(y - 1)) : nullptr;
        for (int x = 0; x < m_width; ++x) {
            quint32 difference;
            if (opaque) {
                difference
                    = 0xff000000u | quint32(in[0]) | quint32(in[1]) << 8 | quint32(in[2]) << 16;
                in += 3;
            } else {
                std::memcpy(&difference, in, 4);
                in += 4;
            }
            // The alpha byte of an opaque picture is 0xff in every row, not a difference.
            const quint32 base = above ? (opaque ? above[x] & 0x00ffffffu : above[x]) : 0;
            line[x] = bytesPlus(difference, base);
        }
    }
    return image;
}
