#include "pictureheader.h"
#include "testpictures.h"
#include "thumbnaildecoder.h"

#include <QBuffer>
#include <QPixmap>
#include <QtEndian>
#include <QtTest>

namespace {

QImage patterned(int width, int height, QImage::Format format, int seed)
{
    QImage image(width, height, format);
    image.fill(Qt::black);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint value = uint(x * 7919 + y * 104729 + seed * 31) * 2654435761u;
            image.setPixel(x, y,
                           qRgba(int(value >> 24), int(value >> 16) & 0xff, int(value >> 8) & 0xff,
                                 format == QImage::Format_ARGB32 ? 128 : 255));
        }
    }
    return image;
}

QByteArray bmpOf(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// Little-endian field of a header, written byte by byte.
void putField(QByteArray &bytes, int offset, qint64 value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[offset + i] = char((quint64(value) >> (8 * i)) & 0xff);
}

// The same picture stored top row first, announced by a negative height.
QByteArray topDown(const QByteArray &bottomUp)
{
    QByteArray bytes = bottomUp;
    const qint32 height = qFromLittleEndian<qint32>(bytes.constData() + 22);
    const quint32 offset = qFromLittleEndian<quint32>(bytes.constData() + 10);
    const qint32 width = qFromLittleEndian<qint32>(bytes.constData() + 18);
    const int stride = (width * 3 + 3) & ~3;
    for (int row = 0; row < height; ++row)
        memcpy(bytes.data() + offset + row * stride,
               bottomUp.constData() + offset + (height - 1 - row) * stride, size_t(stride));
    putField(bytes, 22, -height, 4);
    return bytes;
}

// What the window would show: the picture loaded as a pixmap and scaled by Qt.
QImage qtThumbnail(const QByteArray &bytes, const QSize &bounds)
{
    QPixmap pixmap;
    pixmap.loadFromData(bytes);
    if (pixmap.isNull())
        return QImage();
    return pixmap.scaled(bounds, Qt::KeepAspectRatio, Qt::FastTransformation)
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QImage asRgb32(const QImage &image)
{
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class tst_ThumbnailDecoder : public QObject
{
    Q_OBJECT
private slots:
    void sameAsQt_data();
    void sameAsQt();
    void instrumentPicture();
    void truncated();
    void file();
    void pixelLimit_data();
    void pixelLimit();
    void topDownPixelLimit_data();
    void topDownPixelLimit();
    void header_data();
    void header();
};

void tst_ThumbnailDecoder::sameAsQt_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QVector<QSize> sizes
        = { { 320, 240 }, { 321, 241 }, { 100, 300 }, { 7, 5 },   { 1, 1 },   { 144, 108 },
            { 144, 192 }, { 640, 480 }, { 1000, 10 }, { 3, 700 }, { 35, 26 }, { 33, 33 },
            { 289, 217 }, { 2, 2000 },  { 34, 25 },   { 97, 1 } };
    for (const QSize &size : sizes) {
        const QByteArray bmp
            = bmpOf(patterned(size.width(), size.height(), QImage::Format_RGB888, size.width()));
        QTest::addRow("%dx%d", size.width(), size.height()) << bmp;
        QTest::addRow("%dx%d top-down", size.width(), size.height()) << topDown(bmp);
    }

    // Not the direct reader's business: Qt decodes them, with the same result.
    const QByteArray base = bmpOf(patterned(50, 40, QImage::Format_RGB888, 3));
    QTest::newRow("32-bit with alpha") << bmpOf(patterned(50, 40, QImage::Format_ARGB32, 4));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    patterned(60, 45, QImage::Format_RGB888, 5).save(&buffer, "PNG");
    QTest::newRow("png content") << png;
    QByteArray early = base;
    putField(early, 10, 20, 4);
    QTest::newRow("pixels announced inside the header") << early;
    QByteArray compressed = base;
    putField(compressed, 30, 1, 4);
    QTest::newRow("unknown compression") << compressed;
    QByteArray planes = base;
    putField(planes, 26, 2, 2);
    QTest::newRow("two planes") << planes;
    QTest::newRow("not a picture") << QByteArray(307792, 'x');
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("bare magic") << QByteArray("BM");
}

void tst_ThumbnailDecoder::sameAsQt()
{
    QFETCH(QByteArray, bytes);
    const ThumbnailDecoder::Result result = ThumbnailDecoder::decode(bytes);
    QVERIFY(result.exists);
    const QImage grid = qtThumbnail(bytes, ThumbnailDecoder::gridBounds());
    const QImage table = qtThumbnail(bytes, ThumbnailDecoder::tableBounds());
    QCOMPARE(result.grid.isNull(), grid.isNull());
    QCOMPARE(result.table.isNull(), table.isNull());
    QCOMPARE(asRgb32(result.grid), grid);
    QCOMPARE(asRgb32(result.table), table);

    const ThumbnailDecoder::Result gridOnly
        = ThumbnailDecoder::decode(bytes, ThumbnailDecoder::Grid);
    QCOMPARE(asRgb32(gridOnly.grid), grid);
    QVERIFY(gridOnly.table.isNull());
}

void tst_ThumbnailDecoder::instrumentPicture()
{
    const QByteArray bytes = TestPictures::instrumentPicture(9);
    const ThumbnailDecoder::Result result = ThumbnailDecoder::decode(bytes);
    QCOMPARE(result.grid.size(), QSize(144, 108));
    QCOMPARE(result.table.size(), QSize(34, 25));
    QCOMPARE(result.grid, qtThumbnail(bytes, ThumbnailDecoder::gridBounds()));
    QCOMPARE(result.table, qtThumbnail(bytes, ThumbnailDecoder::tableBounds()));
}

void tst_ThumbnailDecoder::truncated()
{
    // Qt decodes the rows that are there and leaves the others undefined: only the sizes and
    // the rows present can be compared. The direct reader leaves such files to Qt.
    const QByteArray bytes = TestPictures::instrumentPicture(4).left(200000);
    const ThumbnailDecoder::Result result = ThumbnailDecoder::decode(bytes);
    QCOMPARE(result.grid.size(), QSize(144, 108));
    QCOMPARE(result.table.size(), QSize(34, 25));
    const QImage grid = qtThumbnail(bytes, ThumbnailDecoder::gridBounds());
    // The file keeps the bottom rows; the picture's last grid row comes from its last row.
    QCOMPARE(QImage(result.grid).copy(0, 107, 144, 1), grid.copy(0, 107, 144, 1));
}

void tst_ThumbnailDecoder::file()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString picture = dir.filePath("p.bmp");
    const QByteArray bytes = TestPictures::instrumentPicture(2);
    QVERIFY(TestPictures::writeFile(picture, bytes));
    const QString junk = dir.filePath("junk.bmp");
    QVERIFY(TestPictures::writeFile(junk, QByteArray(1000, 'j')));

    ThumbnailDecoder decoder;
    ThumbnailDecoder::Result result = decoder.decodeFile(picture);
    QVERIFY(result.exists);
    QCOMPARE(result.grid, qtThumbnail(bytes, ThumbnailDecoder::gridBounds()));
    QCOMPARE(result.table, qtThumbnail(bytes, ThumbnailDecoder::tableBounds()));

    result = decoder.decodeFile(junk);
    QVERIFY(result.exists);
    QVERIFY(result.grid.isNull());
    QVERIFY(result.table.isNull());

    // The read buffer is reused: a smaller file after a larger one must not see old bytes.
    result = decoder.decodeFile(dir.filePath("short.bmp"));
    const QByteArray small = bmpOf(patterned(100, 80, QImage::Format_RGB888, 1));
    QVERIFY(TestPictures::writeFile(dir.filePath("short.bmp"), small));
    result = decoder.decodeFile(dir.filePath("short.bmp"));
    QCOMPARE(result.grid, qtThumbnail(small, ThumbnailDecoder::gridBounds()));

    // Headers of a picture whose rows are cut short: left to Qt, which sizes it the same.
    QVERIFY(TestPictures::writeFile(dir.filePath("cut.bmp"), bytes.left(100000)));
    result = decoder.decodeFile(dir.filePath("cut.bmp"));
    QCOMPARE(result.grid.size(), QSize(144, 108));
    QCOMPARE(result.table.size(), QSize(34, 25));

    result = decoder.decodeFile(dir.filePath("missing.bmp"));
    QVERIFY(!result.exists);
    QVERIFY(result.grid.isNull());

    // A folder is there but holds no picture.
    QVERIFY(QDir(dir.path()).mkdir("folder.bmp"));
    result = decoder.decodeFile(dir.filePath("folder.bmp"));
    QVERIFY(result.exists);
    QVERIFY(result.grid.isNull());
}

void tst_ThumbnailDecoder::pixelLimit_data()
{
    // One-bit PNG pictures of zeros: a few kilobytes that Qt decodes whole before scaling.
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("decoded");
    QTest::newRow("2048 x 2048") << QSize(2048, 2048) << true;
    QTest::newRow("8193 x 8192, over the limit") << QSize(8193, 8192) << false;
    QTest::newRow("30000 x 2300, over the limit") << QSize(30000, 2300) << false;
}

void tst_ThumbnailDecoder::topDownPixelLimit_data()
{
    // A 1-bit BMP stored top row first, its rows cut off: Qt still makes the whole picture.
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("decoded");
    QTest::newRow("2048 x 2048") << 2048 << true;
    QTest::newRow("2048 x 32769, over the limit") << 32769 << false;
}

void tst_ThumbnailDecoder::topDownPixelLimit()
{
    QFETCH(int, height);
    QFETCH(bool, decoded);
    QImage picture(2048, 2, QImage::Format_Mono);
    picture.fill(0);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(picture.save(&buffer, "BMP"));
    QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(1));
    qToLittleEndian<qint32>(-height, bytes.data() + 22);

    const ThumbnailDecoder::Result result = ThumbnailDecoder::decode(bytes);
    QCOMPARE(result.grid.isNull(), !decoded);
    QCOMPARE(result.table.isNull(), !decoded);
}

void tst_ThumbnailDecoder::pixelLimit()
{
    QFETCH(QSize, size);
    QFETCH(bool, decoded);
    QImage picture(size, QImage::Format_Mono);
    picture.fill(0);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(picture.save(&buffer, "PNG"));
    picture = QImage();

    QCOMPARE(ThumbnailDecoder::decode(bytes).grid.isNull(), !decoded);
    QTemporaryDir dir;
    QVERIFY(TestPictures::writeFile(dir.filePath("big.png"), bytes));
    ThumbnailDecoder decoder;
    const ThumbnailDecoder::Result result = decoder.decodeFile(dir.filePath("big.png"));
    QVERIFY(result.exists);
    QCOMPARE(result.grid.isNull(), !decoded);
    QCOMPARE(result.table.isNull(), !decoded);
    if (decoded)
        QCOMPARE(result.grid.size(), QSize(144, 144));
}

void tst_ThumbnailDecoder::header_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("picture");
    const QByteArray good = TestPictures::instrumentPicture().left(54);
    QTest::newRow("instrument picture") << good << true;
    QByteArray other = good;
    putField(other, 2, 230455, 4);
    QTest::newRow("other declared size") << other << false;
    QTest::newRow("53 bytes") << good.left(53) << false;
    QTest::newRow("55 bytes") << good + 'x' << false;
    QTest::newRow("nothing") << QByteArray() << false;
    QByteArray noMagic = good;
    noMagic[0] = 'X';
    QTest::newRow("value alone decides") << noMagic << true;
}

void tst_ThumbnailDecoder::header()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, picture);
    QCOMPARE(PictureHeader::isInstrumentPicture(bytes.constData(), bytes.size()), picture);
}

QTEST_MAIN(tst_ThumbnailDecoder)
#include "tst_thumbnaildecoder.moc"
