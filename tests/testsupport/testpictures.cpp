#include "testpictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QtEndian>

QByteArray TestPictures::instrumentPicture(int seed)
{
    QImage image(320, 240, QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
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
