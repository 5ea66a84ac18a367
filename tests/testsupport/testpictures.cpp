#include "testpictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QtEndian>

QByteArray TestPictures::instrumentPicture(int seed, bool noisy)
{
    QImage image(320, 240, QImage::Format_RGB888);
    quint32 random = quint32(seed) + 1;
    for (int y = 0; y < image.height(); ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (noisy) {
                random = random * 1664525u + 1013904223u;
                const int field = (x + 2 * y + 5 * seed) / 3 + int(random >> 29); // 0 ... 7
                line[3 * x] = uchar(field);
                line[3 * x + 1] = uchar(255 - field);
                line[3 * x + 2] = uchar(field * 3);
                continue;
            }
            line[3 * x] = uchar((x + seed * 7) & 0xff);
            line[3 * x + 1] = uchar((y * 2 + seed * 13) & 0xff);
            line[3 * x + 2] = uchar((x + y + seed * 29) & 0xff);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    bytes.resize(int(InstrumentFileSize)); // zero padding after the picture, as on the card
    qToLittleEndian<quint32>(InstrumentHeaderSize, bytes.data() + 2);
    return bytes;
}

bool TestPictures::writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(bytes) == bytes.size();
}
