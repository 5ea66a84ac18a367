#include "thumbnailforms.h"

#include "compactimage.h"
#include "thumbnaildecoder.h"

#include <QElapsedTimer>
#include <QHash>
#include <QImage>

#include <lz4.h>
#include <zstd.h>

#include <algorithm>
#include <functional>

namespace {

struct Totals
{
    int pictures = 0;
    int fewColours = 0; ///< pictures of at most 256 colours
    int differing = 0; ///< chosen forms that did not expand to the same pixels
    double pixmap = 0;
    double indexed = 0; ///< palette and indices, where the picture allows it, else rows
    double rows = 0; ///< three bytes a pixel
    double indexedZlib = 0, rowsZlib = 0, chosen = 0;
    double indexedLz4 = 0, rowsLz4 = 0, indexedZstd = 0, rowsZstd = 0;
    double chosenMakeUs = 0, chosenExpandUs = 0, zlibMakeUs = 0, zlibExpandUs = 0;
};

// The best of a few tries: the machine is shared, the fastest is the code's own cost.
double bestUs(const std::function<void()> &work)
{
    double best = 1e18;
    QElapsedTimer timer;
    for (int i = 0; i < 5; ++i) {
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e3);
    }
    return best;
}

int lz4Bytes(const QByteArray &raw)
{
    QByteArray out(LZ4_compressBound(raw.size()), Qt::Uninitialized);
    return LZ4_compress_default(raw.constData(), out.data(), raw.size(), out.size());
}

int zstdBytes(const QByteArray &raw)
{
    QByteArray out(int(ZSTD_compressBound(size_t(raw.size()))), Qt::Uninitialized);
    return int(
        ZSTD_compress(out.data(), size_t(out.size()), raw.constData(), size_t(raw.size()), 1));
}

QByteArray indicesOf(const QImage &image, int *colours)
{
    QHash<QRgb, int> palette;
    QByteArray indices(image.width() * image.height(), Qt::Uninitialized);
    int at = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            auto found = palette.constFind(line[x]);
            if (found == palette.constEnd()) {
                if (palette.size() == 256) {
                    *colours = 257;
                    return {};
                }
                found = palette.insert(line[x], palette.size());
            }
            indices[at++] = char(found.value());
        }
    }
    *colours = palette.size();
    return indices;
}

QByteArray rowDifferences(const QImage &image)
{
    QByteArray out(image.width() * image.height() * 3, Qt::Uninitialized);
    int at = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        const auto *above
            = y > 0 ? reinterpret_cast<const QRgb *>(image.constScanLine(y - 1)) : nullptr;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb base = above ? above[x] : 0;
            out[at++] = char(qRed(line[x]) - qRed(base));
            out[at++] = char(qGreen(line[x]) - qGreen(base));
            out[at++] = char(qBlue(line[x]) - qBlue(base));
        }
    }
    return out;
}

void add(Totals &t, const QImage &image)
{
    if (image.isNull() || image.depth() != 32)
        return;
    ++t.pictures;
    t.pixmap += image.sizeInBytes();
    const QByteArray rows = rowDifferences(image);
    t.rows += rows.size();
    int colours = 0;
    const QByteArray indices = indicesOf(image, &colours);
    const QByteArray &zlibInput = colours <= 256 ? indices : rows;
    if (colours <= 256) {
        ++t.fewColours;
        t.indexed += indices.size() + colours * 4;
        t.indexedZlib += qCompress(indices, 1).size() - 4 + colours * 4;
        t.indexedLz4 += lz4Bytes(indices) + colours * 4;
        t.indexedZstd += zstdBytes(indices) + colours * 4;
    } else {
        t.indexed += rows.size();
        t.indexedZlib += qCompress(rows, 1).size() - 4;
        t.indexedLz4 += lz4Bytes(rows);
        t.indexedZstd += zstdBytes(rows);
    }
    t.rowsZlib += qCompress(rows, 1).size() - 4; // less Qt's own length field
    t.rowsLz4 += lz4Bytes(rows);
    t.rowsZstd += zstdBytes(rows);

    CompactImage compact;
    t.chosenMakeUs += bestUs([&] { compact = CompactImage::fromImage(image); });
    t.chosen += compact.byteCount();
    QImage back;
    t.chosenExpandUs += bestUs([&] { back = compact.toImage(); });
    t.differing += back != image;
    QByteArray packed;
    t.zlibMakeUs += bestUs([&] { packed = qCompress(zlibInput, 1); });
    t.zlibExpandUs += bestUs([&] { qUncompress(packed); });
}

QJsonObject toJson(const Totals &t)
{
    const double n = std::max(1, t.pictures);
    QJsonObject o;
    o.insert(QStringLiteral("pictures"), t.pictures);
    o.insert(QStringLiteral("at_most_256_colours"), t.fewColours);
    o.insert(QStringLiteral("differing"), t.differing);
    o.insert(QStringLiteral("pixmap_bytes"), t.pixmap / n);
    o.insert(QStringLiteral("indexed_bytes"), t.indexed / n);
    o.insert(QStringLiteral("rows_bytes"), t.rows / n);
    o.insert(QStringLiteral("indexed_zlib_bytes"), t.indexedZlib / n);
    o.insert(QStringLiteral("rows_zlib_bytes"), t.rowsZlib / n);
    o.insert(QStringLiteral("indexed_lz4_bytes"), t.indexedLz4 / n);
    o.insert(QStringLiteral("rows_lz4_bytes"), t.rowsLz4 / n);
    o.insert(QStringLiteral("indexed_zstd_bytes"), t.indexedZstd / n);
    o.insert(QStringLiteral("rows_zstd_bytes"), t.rowsZstd / n);
    o.insert(QStringLiteral("chosen_bytes"), t.chosen / n);
    o.insert(QStringLiteral("chosen_make_us"), t.chosenMakeUs / n);
    o.insert(QStringLiteral("chosen_expand_us"), t.chosenExpandUs / n);
    o.insert(QStringLiteral("zlib_make_us"), t.zlibMakeUs / n);
    o.insert(QStringLiteral("zlib_expand_us"), t.zlibExpandUs / n);
    return o;
}

} // namespace

QJsonObject ThumbnailForms::measure(const QStringList &paths)
{
    Totals grid, table;
    ThumbnailDecoder decoder;
    for (const QString &path : paths) {
        const ThumbnailDecoder::Result result = decoder.decodeFile(path);
        add(grid, result.grid);
        add(table, result.table);
    }
    QJsonObject o;
    o.insert(QStringLiteral("grid"), toJson(grid));
    o.insert(QStringLiteral("table"), toJson(table));
    return o;
}

QString ThumbnailForms::describe(const QString &name, const QJsonObject &forms)
{
    QStringList lines;
    for (const char *size : { "grid", "table" }) {
        const QJsonObject o = forms.value(QLatin1String(size)).toObject();
        auto d = [&](const char *key) { return o.value(QLatin1String(key)).toDouble(); };
        lines << QStringLiteral(
                     "forms %1 %2 (%3 pictures, %4 of at most 256 colours): bytes a "
                     "picture: pixmap %5, palette+indices %6 (zlib %7, LZ4 %16, zstd %17), "
                     "rows %8 (zlib %9, LZ4 %18, zstd %19), chosen %10; make/expand: "
                     "chosen %11/%12 us, zlib %13/%14 us; %15 differ")
                     .arg(name, QLatin1String(size))
                     .arg(o.value(QStringLiteral("pictures")).toInt())
                     .arg(o.value(QStringLiteral("at_most_256_colours")).toInt())
                     .arg(d("pixmap_bytes"), 0, 'f', 0)
                     .arg(d("indexed_bytes"), 0, 'f', 0)
                     .arg(d("indexed_zlib_bytes"), 0, 'f', 0)
                     .arg(d("rows_bytes"), 0, 'f', 0)
                     .arg(d("rows_zlib_bytes"), 0, 'f', 0)
                     .arg(d("chosen_bytes"), 0, 'f', 0)
                     .arg(d("chosen_make_us"), 0, 'f', 1)
                     .arg(d("chosen_expand_us"), 0, 'f', 1)
                     .arg(d("zlib_make_us"), 0, 'f', 1)
                     .arg(d("zlib_expand_us"), 0, 'f', 1)
                     .arg(o.value(QStringLiteral("differing")).toInt())
                     .arg(d("indexed_lz4_bytes"), 0, 'f', 0)
                     .arg(d("indexed_zstd_bytes"), 0, 'f', 0)
                     .arg(d("rows_lz4_bytes"), 0, 'f', 0)
                     .arg(d("rows_zstd_bytes"), 0, 'f', 0);
    }
    return lines.join(QLatin1Char('\n'));
}
