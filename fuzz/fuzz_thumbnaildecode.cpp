// libFuzzer target: the thumbnail worker's decode path on arbitrary bytes, both through the
// direct BMP reader and through Qt's readers, and on a file holding the same bytes.
// Thumbnails must fit their bounds; a picture that is not decodable gives null images.

#include "thumbnaildecoder.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {
QTemporaryDir *s_dir = nullptr;
ThumbnailDecoder *s_decoder = nullptr;

bool fits(const QImage &image, const QSize &bounds)
{
    return image.isNull() || (image.width() <= bounds.width() && image.height() <= bounds.height());
}

void check(const ThumbnailDecoder::Result &result)
{
    if (!result.exists || !fits(result.grid, ThumbnailDecoder::gridBounds())
        || !fits(result.table, ThumbnailDecoder::tableBounds())
        || result.grid.isNull() != result.table.isNull())
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // The worker decodes into QImage, which needs no platform; an application object gives
    // Qt's image plugins the same search paths as in the program. Never destroyed: libFuzzer
    // leaves with exit().
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(*argc, *argv);
    s_dir = new QTemporaryDir;
    s_decoder = new ThumbnailDecoder;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    const ThumbnailDecoder::Result fromBytes = ThumbnailDecoder::decode(bytes);
    check(fromBytes);

    const QString path = s_dir->filePath(QStringLiteral("picture.bmp"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();
    const ThumbnailDecoder::Result fromFile = s_decoder->decodeFile(path);
    check(fromFile);
    // The file and the bytes are the same picture. Only the shape is compared: Qt's BMP reader
    // leaves the rows of a cut-off picture as it found the memory, so their pixels may differ.
    if (fromFile.grid.isNull() != fromBytes.grid.isNull()
        || fromFile.grid.size() != fromBytes.grid.size()
        || fromFile.table.size() != fromBytes.table.size())
        std::abort();
    return 0;
}
