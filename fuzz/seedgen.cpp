// Writes the seed corpora of the fuzz targets, so no binary sample is kept in the tree.
// Usage: fuzz_seedgen <folder>; makes <folder>/options, <folder>/header, <folder>/decode and
// <folder>/thermogram.

#include "optionsfile.h"
#include "pictureanalysis.h"
#include "thermogramformat.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolBar>
#include <QtEndian>

#include <cstdio>

namespace {

bool put(const QString &folder, const QString &name, const QByteArray &bytes)
{
    QFile file(folder + QLatin1Char('/') + name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray document(const QByteArray &geometry, const QByteArray &state, const OptionParam &param)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    OptionsFile::write(&buffer, geometry, state, param);
    return bytes;
}

QImage pattern(int width, int height, QImage::Format format)
{
    QImage image(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 7, y * 5, (x ^ y) & 0xff));
    return image;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// The instrument's picture: a 320 x 240 24-bit BMP whose header claims 230454 bytes, padded
// to 307792 bytes.
QByteArray instrumentPicture()
{
    QByteArray bytes = encoded(pattern(320, 240, QImage::Format_RGB888), "BMP");
    bytes.resize(307792);
    qToLittleEndian<quint32>(230454, bytes.data() + 2);
    return bytes;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString options = root + QStringLiteral("/options");
    const QString header = root + QStringLiteral("/header");
    const QString decode = root + QStringLiteral("/decode");
    const QString thermogram = root + QStringLiteral("/thermogram");
    const QString analysis = root + QStringLiteral("/analysis");
    for (const QString &folder : { options, header, decode, thermogram, analysis })
        if (!QDir().mkpath(folder))
            return 1;

    bool ok = true;
    OptionParam param;
    param.language = QStringLiteral("CH");
    param.historyFilesPath = QStringLiteral("/tmp");
    param.allowAlarm = true;
    param.allowLogGeneration = true;
    // Real blobs of a main window with a tool bar and a status bar, as the program has.
    QMainWindow window;
    window.addToolBar(QStringLiteral("File"))->setObjectName(QStringLiteral("fileToolBar"));
    window.statusBar();
    window.setGeometry(40, 50, 900, 640);
    const QByteArray geometry = window.saveGeometry();
    const QByteArray state = window.saveState(0);
    const QByteArray full = document(geometry, state, param);
    ok &= put(options, QStringLiteral("full.xml"), full);
    ok &= put(options, QStringLiteral("half.xml"), full.left(full.size() / 2));
    param.language.clear();
    param.allowAlarm = false;
    ok &= put(options, QStringLiteral("empty-language.xml"), document({}, {}, param));
    ok &= put(options, QStringLiteral("odd.xml"),
              "<?xml version=\"1.0\"?><root><!-- c --><x><Language>EN</Language><?pi x?>"
              "<AllowAlarm>-1</AllowAlarm><AllowAlarmSound> yes </AllowAlarmSound>"
              "<Language>CH</Language><State>zz0f</State></x><Geometry a='1'>0g</Geometry>"
              "<![CDATA[<Language>]]>&amp;&#x4e2d;</root>");
    // Declared UTF-7, with a Language that decodes to a lone surrogate ("+2AA-" is U+D800):
    // no writer can put such a value back.
    ok &= put(options, QStringLiteral("utf7-lone-surrogate.xml"),
              "<?xml version=\"1.0\" encoding=\"UTF-7\"?>\n<options>\n"
              "    <Language>+2AA-</Language>\n    <AllowAlarm>1</AllowAlarm>\n</options>\n");
    // A carriage return as a character reference, which the writer must not write as such.
    ok &= put(options, QStringLiteral("carriage-return.xml"),
              "<options><Language>C&#13;H</Language><HistoryFilesPath>/tmp</HistoryFilesPath>"
              "</options>");

    const QByteArray picture = instrumentPicture();
    ok &= put(header, QStringLiteral("instrument"), picture.left(54));
    QByteArray wrongSize = picture.left(54);
    qToLittleEndian<quint32>(230455, wrongSize.data() + 2);
    ok &= put(header, QStringLiteral("other-size"), wrongSize);
    ok &= put(header, QStringLiteral("short"), picture.left(20));

    ok &= put(decode, QStringLiteral("instrument.bmp"), picture);
    ok &= put(decode, QStringLiteral("small.bmp"),
              encoded(pattern(9, 7, QImage::Format_RGB32), "BMP"));
    ok &= put(decode, QStringLiteral("small-8bit.bmp"),
              encoded(pattern(5, 3, QImage::Format_RGB32).convertToFormat(QImage::Format_Indexed8),
                      "BMP"));
    ok &= put(decode, QStringLiteral("small.png"),
              encoded(pattern(9, 7, QImage::Format_ARGB32), "PNG"));
    ok &= put(decode, QStringLiteral("small.ppm"),
              encoded(pattern(6, 4, QImage::Format_RGB32), "PPM"));
    ok &= put(decode, QStringLiteral("small.xpm"),
              encoded(pattern(3, 3, QImage::Format_RGB32), "XPM"));

    // Temperature blocks: the instrument's plane and a small one, whole and cut.
    for (const QSize &size : { QSize(160, 120), QSize(4, 3) }) {
        Thermogram t;
        t.planeSize = size;
        t.celsiusPerCount = 0.01;
        t.celsiusAtZero = -100.0;
        t.emissivity = 0.95;
        t.reflectedCelsius = 20.0;
        t.ambientCelsius = 22.0;
        t.distanceMetres = 1.5;
        t.captureTime = QDateTime(QDate(2026, 11, 2), QTime(9, 12), Qt::UTC);
        t.counts.resize(size.width() * size.height());
        for (int i = 0; i < t.counts.size(); ++i)
            t.counts[i] = quint16(12000 + (i * 131) % 9000);
        const QByteArray block = ThermogramFormat::writeBlock(t);
        const QString name = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        ok &= !block.isEmpty() && put(thermogram, name, block);
        ok &= put(thermogram, name + QStringLiteral("-cut"), block.left(block.size() / 2));
    }
    ok &= put(thermogram, QStringLiteral("older-trailer"), QByteArrayLiteral("CLXTRAIL"));

    // Kept analyses: an empty one and one with every kind of tool, range, isotherm and
    // correction.
    PictureAnalysis kept;
    ok &= put(analysis, QStringLiteral("default.json"), kept.toJson());
    kept.tools = { MeasurementTool::spot(QStringLiteral("Sp1"), QPoint(3, 4)),
                   MeasurementTool::box(QStringLiteral("Bx1"), QRect(1, 2, 8, 5)),
                   MeasurementTool::ellipse(QStringLiteral("El1"), QRect(0, 0, 5, 3)),
                   MeasurementTool::line(QStringLiteral("Li1"), QPoint(15, 0), QPoint(0, 11)) };
    kept.palette = ThermalPalette::Contrast;
    kept.range = ColourRange::manual(-12.5, 87.25);
    kept.isotherm = Isotherm { Isotherm::Within, 10.0, 20.5 };
    kept.correction = Correction { 0.8, 23.75 };
    ok &= put(analysis, QStringLiteral("full.json"), kept.toJson());
    kept.isotherm = Isotherm { Isotherm::Above, 30.0, 0.0 };
    ok &= put(analysis, QStringLiteral("above.json"), kept.toJson());
    return ok ? 0 : 1;
}
