#include "compactimage.h"
#include "democard.h"
#include "testpictures.h"
#include "thermalpalette.h"
#include "thermalscene.h"
#include "thumbnaildecoder.h"
#include "thumbnailiconengine.h"

#include <QPainter>
#include <QPixmap>
#include <QtTest>

#include <cmath>
#include <cstring>

Q_DECLARE_METATYPE(CompactImage::Form)
Q_DECLARE_METATYPE(QIcon::Mode)
Q_DECLARE_METATYPE(QIcon::State)

namespace {

// Every byte of every row, and the format: what "the same pixels" means here.
bool sameBytes(const QImage &a, const QImage &b)
{
    if (a.format() != b.format() || a.size() != b.size())
        return false;
    const int rowBytes = a.width() * a.depth() / 8;
    for (int y = 0; y < a.height(); ++y) {
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), size_t(rowBytes)) != 0)
            return false;
    }
    return true;
}

QImage gridThumbnail(const QByteArray &file)
{
    return ThumbnailDecoder::decode(file, ThumbnailDecoder::Grid).grid;
}

// A demo thermal picture: an iron palette, a cross and a bar, well under 256 colours.
QImage demoThumbnail(int seed)
{
    const QImage scene = ThermalScene(seed).render(1.5 + seed);
    return gridThumbnail(DemoCard::pictureFile(scene));
}

// Pixels that all differ: far more than 256 colours, nothing for the compression to find.
QImage noise(int width, int height, QImage::Format format, bool translucent)
{
    QImage image(width, height, format);
    quint32 value = 12345;
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            value = value * 1664525u + 1013904223u;
            const int alpha = translucent ? int(value >> 24) : 255;
            line[x] = qPremultiply(
                qRgba(int(value >> 16) & 0xff, int(value >> 8) & 0xff, int(value) & 0xff, alpha));
        }
    }
    return image;
}

// A picture of exactly this many colours, each of them used.
QImage colours(int count)
{
    QImage image(144, 108, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int c = (y * image.width() + x) % count;
            image.setPixel(x, y, qRgb(c & 0xff, c >> 8, 7));
        }
    }
    return image;
}

// A thermal picture as a sensor gives it: each pixel's palette index wanders up to three steps
// around a smooth field.
QImage sensorNoise(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 value = 777;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            value = value * 1664525u + 1013904223u;
            const int field = 128 + int(100 * std::sin(x * 0.05) * std::cos(y * 0.06));
            const int index = qBound(0, field + int(value >> 16) % 7 - 3, 255);
            image.setPixel(x, y, ThermalPalette::iron().at(index));
        }
    }
    return image;
}

QImage painted(const QIcon &icon, const QRect &rect, QIcon::Mode mode, QIcon::State state)
{
    QImage canvas(200, 200, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::darkCyan);
    QPainter painter(&canvas);
    icon.paint(&painter, rect, Qt::AlignCenter, mode, state);
    painter.end();
    return canvas;
}

} // namespace

class tst_ThumbnailIcon : public QObject
{
    Q_OBJECT
private slots:
    void keepsEveryByte_data();
    void keepsEveryByte();
    void iconAnswersAsAPixmapIcon_data();
    void iconAnswersAsAPixmapIcon();
    void nullImageGivesNullIcon();
    void expandsOnceWhileCached();
    void pixmapAtDeviceRatio_data();
    void pixmapAtDeviceRatio();
};

void tst_ThumbnailIcon::keepsEveryByte_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<CompactImage::Form>("form");

    for (int seed : { 0, 3, 11 }) {
        const ThumbnailDecoder::Result thumbnails
            = ThumbnailDecoder::decode(TestPictures::instrumentPicture(seed));
        QTest::addRow("instrument picture %d, grid", seed)
            << thumbnails.grid << CompactImage::Form::Opaque;
        QTest::addRow("instrument picture %d, table", seed)
            << thumbnails.table << CompactImage::Form::Opaque;
    }
    for (int seed : { 0, 4 })
        QTest::addRow("demo picture %d", seed)
            << demoThumbnail(seed) << CompactImage::Form::Indexed;
    QTest::newRow("sensor noise, grid") << sensorNoise(144, 108) << CompactImage::Form::Indexed;
    QTest::newRow("sensor noise, table") << sensorNoise(34, 25) << CompactImage::Form::Indexed;
    QTest::newRow("256 colours") << colours(256) << CompactImage::Form::Indexed;
    QTest::newRow("257 colours") << colours(257) << CompactImage::Form::Opaque;
    QTest::newRow("noise, opaque")
        << noise(144, 108, QImage::Format_RGB32, false) << CompactImage::Form::Opaque;
    QTest::newRow("noise, translucent")
        << noise(144, 108, QImage::Format_ARGB32_Premultiplied, true) << CompactImage::Form::Full;
    QTest::newRow("one pixel") << noise(1, 1, QImage::Format_RGB32, false)
                               << CompactImage::Form::Indexed;
    QTest::newRow("odd size") << noise(37, 9, QImage::Format_RGB32, false)
                              << CompactImage::Form::Opaque;
    QTest::newRow("24 bits")
        << noise(35, 9, QImage::Format_RGB32, false).convertToFormat(QImage::Format_RGB888)
        << CompactImage::Form::Plain;
}

void tst_ThumbnailIcon::keepsEveryByte()
{
    QFETCH(QImage, image);
    QFETCH(CompactImage::Form, form);
    QVERIFY(!image.isNull());

    const CompactImage compact = CompactImage::fromImage(image);
    QCOMPARE(compact.form(), form);
    QCOMPARE(compact.size(), image.size());
    QVERIFY(sameBytes(compact.toImage(), image));
    // A copy expanded again, after other pictures went through the same scratch space.
    const CompactImage copy = compact;
    CompactImage::fromImage(noise(144, 108, QImage::Format_RGB32, false)).toImage();
    QVERIFY(sameBytes(copy.toImage(), image));
    if ((form == CompactImage::Form::Indexed || form == CompactImage::Form::Opaque)
        && image.width() * image.height() > 1000)
        QVERIFY2(compact.byteCount() < image.sizeInBytes(), "not compact at all");
}

void tst_ThumbnailIcon::iconAnswersAsAPixmapIcon_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QIcon::Mode>("mode");
    QTest::addColumn<QIcon::State>("state");

    const QImage instrument = gridThumbnail(TestPictures::instrumentPicture(5));
    const QImage demo = demoThumbnail(2);
    const QImage translucent = noise(144, 108, QImage::Format_ARGB32_Premultiplied, true);
    for (QIcon::Mode mode : { QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected }) {
        for (QIcon::State state : { QIcon::Off, QIcon::On }) {
            QTest::addRow("instrument, mode %d, state %d", mode, state)
                << instrument << mode << state;
            QTest::addRow("demo, mode %d, state %d", mode, state) << demo << mode << state;
        }
    }
    QTest::newRow("translucent, selected") << translucent << QIcon::Selected << QIcon::Off;
}

void tst_ThumbnailIcon::iconAnswersAsAPixmapIcon()
{
    QFETCH(QImage, image);
    QFETCH(QIcon::Mode, mode);
    QFETCH(QIcon::State, state);

    // What the grid's icons were made of before: the thumbnail's pixmap.
    const QIcon plain(QPixmap::fromImage(image));
    const QIcon compact = ThumbnailIconEngine::icon(CompactImage::fromImage(image));
    QVERIFY(!compact.isNull());
    QCOMPARE(compact.availableSizes(mode, state), plain.availableSizes(mode, state));
    const QList<QSize> sizes { QSize(144, 192), QSize(144, 108), QSize(200, 300),
                               QSize(72, 54),   QSize(34, 34),   QSize(16, 16) };
    for (const QSize &size : sizes) {
        QCOMPARE(compact.actualSize(size, mode, state), plain.actualSize(size, mode, state));
        const QPixmap expected = plain.pixmap(size, mode, state);
        const QPixmap pixmap = compact.pixmap(size, mode, state);
        QVERIFY2(
            sameBytes(pixmap.toImage(), expected.toImage()),
            qPrintable(QStringLiteral("pixmap at %1 x %2").arg(size.width()).arg(size.height())));
    }
    for (const QRect &rect : { QRect(10, 20, 144, 192), QRect(0, 0, 60, 60) }) {
        QVERIFY2(sameBytes(painted(compact, rect, mode, state), painted(plain, rect, mode, state)),
                 "painted differently");
    }
}

void tst_ThumbnailIcon::nullImageGivesNullIcon()
{
    // An undecodable picture: the icon stays null, so that selecting the entry tries again.
    QVERIFY(CompactImage::fromImage(QImage()).isNull());
    QVERIFY(ThumbnailIconEngine::icon(CompactImage::fromImage(QImage())).isNull());
    QCOMPARE(QIcon(QPixmap::fromImage(QImage())).isNull(), true);
}

void tst_ThumbnailIcon::expandsOnceWhileCached()
{
    const QImage image = gridThumbnail(TestPictures::instrumentPicture(8));
    const QIcon icon = ThumbnailIconEngine::icon(CompactImage::fromImage(image));
    const qint64 first = icon.pixmap(QSize(144, 192)).cacheKey();
    QCOMPARE(icon.pixmap(QSize(144, 192)).cacheKey(), first);

    // Many more thumbnails than the cache holds are shown: it lets the first one go, and the
    // first one, asked again, still gives its own pixels.
    const int perIcon = image.width() * image.height() * 4;
    QList<QIcon> others;
    for (int i = 0; i < 2 * ThumbnailIconEngine::cacheLimit() / perIcon; ++i) {
        others << ThumbnailIconEngine::icon(CompactImage::fromImage(colours(1 + i % 300)));
        others.last().pixmap(QSize(144, 192));
    }
    const QPixmap again = icon.pixmap(QSize(144, 192));
    QVERIFY(again.cacheKey() != first);
    QVERIFY(sameBytes(again.toImage(), QPixmap::fromImage(image).toImage()));
}

void tst_ThumbnailIcon::pixmapAtDeviceRatio_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QIcon::Mode>("mode");
    QTest::newRow("32 x 32") << QSize(32, 32) << QIcon::Normal;
    QTest::newRow("72 x 54, disabled") << QSize(72, 54) << QIcon::Disabled;
    QTest::newRow("300 x 300, selected") << QSize(300, 300) << QIcon::Selected;
}

// ctest runs this again at the device pixel ratios 2 and 3.5 (QT_SCALE_FACTOR).
void tst_ThumbnailIcon::pixmapAtDeviceRatio()
{
    QFETCH(QSize, size);
    QFETCH(QIcon::Mode, mode);
    const qreal ratio = qApp->devicePixelRatio();
    const bool before = QCoreApplication::testAttribute(Qt::AA_UseHighDpiPixmaps);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, true);
    const QImage image = gridThumbnail(TestPictures::instrumentPicture(6));
    const QPixmap expected = QIcon(QPixmap::fromImage(image)).pixmap(size, mode);
    const QPixmap pixmap
        = ThumbnailIconEngine::icon(CompactImage::fromImage(image)).pixmap(size, mode);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, before);
    QCOMPARE(pixmap.size(), expected.size());
    QCOMPARE(pixmap.devicePixelRatio(), expected.devicePixelRatio());
    QVERIFY(sameBytes(pixmap.toImage(), expected.toImage()));
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        QCOMPARE(ratio, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
}

QTEST_MAIN(tst_ThumbnailIcon)
#include "tst_thumbnailicon.moc"
