#include "instrumentpicture.h"

#include "thermogramformat.h"

#include <QImage>
#include <QtEndian>

namespace {

void putLe32(QByteArray &bytes, int offset, quint32 value)
{
    qToLittleEndian<quint32>(value, bytes.data() + offset);
}

void putLe16(QByteArray &bytes, int offset, quint16 value)
{
    qToLittleEndian<quint16>(value, bytes.data() + offset);
}

} // namespace

QByteArray InstrumentPicture::fileBytes(const QImage &picture, const Thermogram &thermogram)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB888).scaled(Width, Height);
    const int rowBytes = Width * 3; // 960, already a multiple of four

    QByteArray bytes(int(ThermogramFormat::FileSize), '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLe32(bytes, 2, quint32(ThermogramFormat::DeclaredBmpSize));
    putLe32(bytes, 10, 54); // pixel data offset
    putLe32(bytes, 14, 40); // BITMAPINFOHEADER
    putLe32(bytes, 18, quint32(Width));
    putLe32(bytes, 22, quint32(Height)); // positive: rows stored bottom-up
    putLe16(bytes, 26, 1);
    putLe16(bytes, 28, 24);
    putLe32(bytes, 34, quint32(rowBytes * Height));
    putLe32(bytes, 38, 2835); // 72 dpi
    putLe32(bytes, 42, 2835);

    char *pixels = bytes.data() + 54;
    for (int y = 0; y < Height; ++y) {
        const uchar *line = image.constScanLine(Height - 1 - y);
        char *out = pixels + y * rowBytes;
        for (int x = 0; x < Width; ++x) {
            out[3 * x] = char(line[3 * x + 2]);
            out[3 * x + 1] = char(line[3 * x + 1]);
            out[3 * x + 2] = char(line[3 * x]);
        }
    }
    const QByteArray block = ThermogramFormat::writeBlock(thermogram);
    if (block.isEmpty()) // the trailer of a picture without temperatures: marked, empty
        bytes.replace(int(ThermogramFormat::DeclaredBmpSize), 8, "CLXTRAIL", 8);
    else
        bytes.replace(int(ThermogramFormat::DeclaredBmpSize), block.size(), block);
    return bytes;
}
