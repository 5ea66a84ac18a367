#include "analysisstore.h"
#include "exportfile.h"
#include "pictureexport.h"
#include "pictureexportactions.h"
#include "picturepage.h"
#include "reportcollection.h"
#include "reportdialog.h"
#include "reportwriter.h"
#include "testpictures.h"
#include "thermogramformat.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <tiffio.h>

#include <cmath>
#include <csignal>
#include <sys/resource.h>

namespace {

/**
 * A measured picture: a plane of width x height cells whose temperatures run from -100 °C
 * upwards in uneven steps, stored under emissivity 0.9 and 20 °C reflected.
 */
Thermogram thermogram(int width = 16, int height = 12, int seed = 0)
{
    Thermogram t;
    t.planeSize = QSize(width, height);
    t.celsiusPerCount = 0.01;
    t.celsiusAtZero = -100.0;
    t.emissivity = 0.9;
    t.reflectedCelsius = 20.0;
    t.ambientCelsius = 22.5;
    t.distanceMetres = 1.5;
    t.captureTime = QDateTime(QDate(2026, 12, 7), QTime(10, 15), Qt::UTC);
    for (int i = 0; i < width * height; ++i)
        t.counts.append(quint16((i * 997 + seed * 131) % 20000));
    return t;
}

QString writePicture(const QString &path, const Thermogram &t)
{
    QByteArray file = TestPictures::instrumentPicture();
    const QByteArray block = ThermogramFormat::writeBlock(t);
    file.replace(int(ThermogramFormat::DeclaredBmpSize), block.size(), block);
    return TestPictures::writeFile(path, file) ? path : QString();
}

/** The cells of a CSV export, row by row; NaN for an empty cell. */
QVector<float> csvCells(const QByteArray &csv, QStringList *comments)
{
    QVector<float> cells;
    for (const QByteArray &line : csv.split('\n')) {
        if (line.startsWith('#')) {
            comments->append(QString::fromUtf8(line));
            continue;
        }
        if (line.isEmpty())
            continue;
        for (const QByteArray &cell : line.split(','))
            cells.append(cell.isEmpty() ? NAN : cell.toFloat());
    }
    return cells;
}

/** The text of a PDF, a form feed after each page; empty when pdftotext is missing. */
QString pdfText(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  { QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-") });
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Tests run as root in CI, where a folder's permission bits stop nothing. A folder that cannot
// be written is made another way: its path leads through a regular file.
QString unwritableFolder(const QTemporaryDir &dir)
{
    TestPictures::writeFile(dir.filePath(QStringLiteral("plainfile")), "x");
    return dir.filePath(QStringLiteral("plainfile/out"));
}

} // namespace

class tst_Export : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void csvAndTiffReadBack_data();
    void csvAndTiffReadBack();
    void reportPages_data();
    void reportPages();
    void failedWritesLeaveNothing();
    void collectionSurvivesRestart();
    void reportDialog();
    void pageExportsWhatItShows();
    void commandLine_data();
    void commandLine();
    void savedAnalysisAsJson();
};

void tst_Export::csvAndTiffReadBack_data()
{
    QTest::addColumn<bool>("corrected");
    QTest::addColumn<QString>("locale");
    QTest::newRow("as stored") << false << QStringLiteral("C");
    QTest::newRow("corrected, German locale") << true << QStringLiteral("de_DE");
}

void tst_Export::csvAndTiffReadBack()
{
    QFETCH(bool, corrected);
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    const Thermogram t = thermogram();
    PictureAnalysis analysis;
    if (corrected) // so strong that the coldest cells have no value left
        analysis.correction = Correction { 0.1, 400.0 };
    const PictureExport picture(QStringLiteral("IR_0007.BMP"), t, analysis);
    const TemperaturePlane &plane = picture.plane();

    QStringList comments;
    const QVector<float> cells = csvCells(picture.csv(), &comments);
    QLocale::setDefault(QLocale::c());
    QCOMPARE(cells.size(), 16 * 12);
    int empty = 0;
    for (int i = 0; i < cells.size(); ++i) {
        const QPoint cell(i % 16, i / 16);
        const double expected = corrected ? plane.valueAt(cell) : t.celsiusAt(cell);
        empty += std::isnan(cells.at(i));
        QCOMPARE(std::isnan(cells.at(i)), std::isnan(expected));
        if (!std::isnan(expected))
            QVERIFY2(std::abs(cells.at(i) - expected) <= 0.005 + 1e-4,
                     qPrintable(QString::number(i)));
    }
    QCOMPARE(empty > 0, corrected);
    QVERIFY(comments.contains(QStringLiteral("# file: IR_0007.BMP")));
    QVERIFY(comments.contains(QStringLiteral("# captured: 2026-12-07T10:15:00Z")));
    QVERIFY(comments.contains(QStringLiteral("# unit: °C")));
    QCOMPARE(comments.contains(QStringLiteral("# corrections: none")), !corrected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.tiff"));
    QVERIFY(ExportFile::write(path, picture.tiff()));
    TIFF *tiff = TIFFOpen(QFile::encodeName(path).constData(), "r");
    QVERIFY(tiff);
    uint32_t width = 0, height = 0;
    uint16_t bits = 0, format = 0, samples = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetField(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetField(tiff, TIFFTAG_SAMPLEFORMAT, &format);
    TIFFGetField(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    QCOMPARE(QVector<uint32_t>({ width, height, bits, format, samples }),
             QVector<uint32_t>({ 16, 12, 32, SAMPLEFORMAT_IEEEFP, 1 }));
    QVector<float> row(16);
    for (uint32_t y = 0; y < height; ++y) {
        QCOMPARE(TIFFReadScanline(tiff, row.data(), y), 1);
        for (int x = 0; x < 16; ++x) {
            const float expected = plane.values().at(int(y) * 16 + x);
            QVERIFY(std::isnan(expected) ? std::isnan(row.at(x)) : row.at(x) == expected);
        }
    }
    TIFFClose(tiff);
}

void tst_Export::reportPages_data()
{
    QTest::addColumn<int>("pictures");
    QTest::newRow("one") << 1;
    QTest::newRow("three") << 3;
}

void tst_Export::reportPages()
{
    QFETCH(int, pictures);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils, scripts/install-deps.sh) is not installed");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    PictureAnalysis analysis;
    analysis.tools = { MeasurementTool::box(QStringLiteral("Bx1"), QRect(2, 2, 5, 4)) };
    QVector<PictureExport> exports;
    for (int i = 0; i < pictures; ++i)
        exports.append(
            PictureExport(QStringLiteral("IR_%1.BMP").arg(i + 1, 4, 10, QLatin1Char('0')),
                          thermogram(16, 12, i + 1), analysis));
    const ReportTitle title { QStringLiteral("Roof 7"), QStringLiteral("Acme"), QString(),
                              QString(), QDate(2026, 12, 8) };
    QCOMPARE(ReportWriter::write(
                 path, title, pictures,
                 [&](int i) { return exports.at(i).reportPage(QStringLiteral("note %1").arg(i)); }),
             ReportWriter::Result::Written);

    const QStringList pages = pdfText(path).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 1 + pictures);
    QVERIFY(pages.at(0).contains(QStringLiteral("Roof 7")));
    for (int i = 0; i < pictures; ++i) {
        const QString &page = pages.at(i + 1);
        const PictureExport &picture = exports.at(i);
        QVERIFY2(page.contains(picture.facts().fileName), qPrintable(page));
        QVERIFY(page.contains(PictureExport::celsiusText(picture.plane().maximum())));
        QVERIFY(page.contains(PictureExport::celsiusText(picture.statistics().at(0).average)));
        QVERIFY(page.contains(QStringLiteral("note %1").arg(i)));
        QVERIFY(page.contains(QStringLiteral("Page %1 of %2").arg(i + 2).arg(pictures + 1)));
    }
}

void tst_Export::failedWritesLeaveNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    QVERIFY(TestPictures::writeFile(path, "the previous report"));
    const PictureExport picture(QStringLiteral("IR_0001.BMP"), thermogram());
    const auto result = ReportWriter::write(
        path, ReportTitle(), 3, [&](int) { return picture.reportPage(); },
        [](int done) { return done < 2; });
    QCOMPARE(result, ReportWriter::Result::Cancelled);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("the previous report"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    // A folder that cannot be written: nothing is left behind.
    const QString unwritable = unwritableFolder(dir) + QStringLiteral("/t.csv");
    QVERIFY(!ExportFile::write(unwritable, picture.csv()));
    QVERIFY(!QFileInfo::exists(unwritable));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

    // A write that fails half-way: a file-size limit stands in for a full disk (root too).
    const QString big = dir.filePath(QStringLiteral("big.csv"));
    const QByteArray csv = PictureExport(QString(), thermogram(160, 120)).csv();
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit limited = old;
    limited.rlim_cur = 4096;
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limited);
    const bool written = ExportFile::write(big, csv);
    setrlimit(RLIMIT_FSIZE, &old);
    QVERIFY(csv.size() > 4096 && !written);
    QVERIFY(!QFileInfo::exists(big));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void tst_Export::collectionSurvivesRestart()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("settings.ini"));
    const ReportTitle title { QStringLiteral("Hall"), QStringLiteral("Acme"),
                              QStringLiteral("Bay 2"), QStringLiteral("Li Wei"),
                              QDate(2026, 12, 8) };
    QVector<ReportCollection::Entry> expected;
    {
        QSettings settings(file, QSettings::IniFormat);
        ReportCollection collection(settings);
        for (const char *path : { "/card/a.BMP", "/card/b.BMP", "/card/c.BMP", "/card/d.BMP" })
            QVERIFY(collection.add(QString::fromLatin1(path)));
        QVERIFY(!collection.add(QStringLiteral("/card/a.BMP")));
        collection.move(0, 2); // b c a d
        collection.remove(3); // b c a
        collection.setNote(1, QStringLiteral("hot joint, 配电柜"));
        collection.setTitle(title);
        expected = collection.entries();
    }
    QSettings settings(file, QSettings::IniFormat);
    ReportCollection again(settings);
    QCOMPARE(again.entries(),
             (QVector<ReportCollection::Entry> {
                 { QStringLiteral("/card/b.BMP"), QString() },
                 { QStringLiteral("/card/c.BMP"), QStringLiteral("hot joint, 配电柜") },
                 { QStringLiteral("/card/a.BMP"), QString() } }));
    QCOMPARE(again.title().inspector, title.inspector);
    QCOMPARE(again.title().date, title.date);
}

void tst_Export::reportDialog()
{
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    ReportCollection collection(settings);
    for (const char *name : { "IR_0001.BMP", "IR_0003.BMP", "IR_0004.BMP" })
        collection.add(writePicture(dir.filePath(QLatin1String(name)), thermogram()));
    const QString plain = dir.filePath(QStringLiteral("IR_0002.BMP"));
    QVERIFY(TestPictures::writeFile(plain, TestPictures::instrumentPicture()));
    collection.add(plain);
    collection.add(dir.filePath(QStringLiteral("gone.BMP")));
    ReportDialog dialog(collection);

    // The progress dialog lets events in: a second report asked for meanwhile is refused.
    const QString second = dir.filePath(QStringLiteral("second.pdf"));
    bool nested = true;
    QTimer::singleShot(0, &dialog, [&] { nested = dialog.writeReport(second); });
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    QVERIFY(dialog.writeReport(path));
    QVERIFY(!nested);
    QVERIFY(!QFileInfo::exists(second));
    QVERIFY2(dialog.status().endsWith(QStringLiteral("IR_0002.BMP, gone.BMP")),
             qPrintable(dialog.status()));
    if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QCOMPARE(pdfText(path).split(QLatin1Char('\f'), Qt::SkipEmptyParts).size(), 4);
}

void tst_Export::pageExportsWhatItShows()
{
    QTemporaryDir dir;
    PicturePage page;
    page.setAnalysisStore(AnalysisStore(dir.filePath(QStringLiteral("analyses"))));
    const Thermogram t = thermogram();
    const QString path = writePicture(dir.filePath(QStringLiteral("IR_0001.BMP")), t);
    page.setPicture(QImage(320, 240, QImage::Format_RGB32), path, t);
    PictureAnalysis analysis;
    analysis.palette = ThermalPalette::Rainbow;
    analysis.tools = { MeasurementTool::box(QStringLiteral("Bx1"), QRect(2, 2, 6, 4)) };
    page.setAnalysis(analysis);
    PictureExportActions *actions = page.exportActions();
    QVERIFY(actions->exportAction()->isEnabled());
    const QString png = dir.filePath(QStringLiteral("out.png"));
    QVERIFY(actions->exportTo(png));
    QCOMPARE(QImage(png).convertToFormat(QImage::Format_RGB32),
             PictureExport(QStringLiteral("IR_0001.BMP"), t, analysis).image());

    actions->addToReportAction()->trigger();
    QVERIFY(actions->collection().contains(path));
    QVERIFY(!actions->addToReportAction()->isEnabled());
    actions->collection().clear(); // the test's settings folder, but no need to keep it
}

void tst_Export::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments"); // {card}, {out}, {file} are replaced
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    const QStringList card { QStringLiteral("--csv"), QStringLiteral("{out}"),
                             QStringLiteral("{card}") };
    QTest::newRow("all done") << card << 0 << QString();
    QTest::newRow("bad option") << (card + QStringList { QStringLiteral("--colour") }) << 2
                                << QStringLiteral("Unknown option 'colour'");
    QTest::newRow("bad number")
        << (card + QStringList { QStringLiteral("--spot"), QStringLiteral("1,x") }) << 2
        << QStringLiteral("--spot wants X,Y");
    QTest::newRow("tool outside")
        << (card + QStringList { QStringLiteral("--box"), QStringLiteral("10,8,7,4") }) << 2
        << QStringLiteral("Bx1 (--box 10,8,7,4) lies outside the 16 x 12 plane");
    QTest::newRow("no picture found")
        << QStringList { QStringLiteral("--csv"), QStringLiteral("{out}"), QStringLiteral("{out}") }
        << 2 << QStringLiteral("no picture found");
    QTest::newRow("output exists")
        << (card + QStringList { QStringLiteral("--report"), QStringLiteral("{file}") }) << 2
        << QStringLiteral("exists (--force replaces it)");
    QTest::newRow("unwritable folder")
        << QStringList { QStringLiteral("--tiff"), QStringLiteral("{unwritable}"),
                         QStringLiteral("{card}") }
        << 2 << QStringLiteral("cannot write in");
    QTest::newRow("missing path") << (card + QStringList { QStringLiteral("{out}/IR_9999.BMP") })
                                  << 1 << QStringLiteral("IR_9999.BMP: no such file or folder");
    QTest::newRow("no data") << (card + QStringList { QStringLiteral("{file}") }) << 1
                             << QStringLiteral("existing.pdf: no temperature data");
}

void tst_Export::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString card = dir.filePath(QStringLiteral("card"));
    QVERIFY(
        !writePicture(card + QStringLiteral("/DCIM/100THERM/IR_0001.BMP"), thermogram()).isEmpty());
    QVERIFY(
        !writePicture(card + QStringLiteral("/DCIM/100THERM/IR_0002.BMP"), thermogram(16, 12, 5))
             .isEmpty());
    const QString existing = dir.filePath(QStringLiteral("existing.pdf"));
    QVERIFY(TestPictures::writeFile(existing, "not a picture"));
    for (QString &argument : arguments) {
        argument.replace(QStringLiteral("{card}"), card)
            .replace(QStringLiteral("{out}"), dir.filePath(QStringLiteral("out")))
            .replace(QStringLiteral("{file}"), existing)
            .replace(QStringLiteral("{unwritable}"), unwritableFolder(dir));
    }

    QProcess process;
    process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/calorix-export"),
                  arguments);
    QVERIFY(process.waitForFinished(60000));
    const QStringList errors = QString::fromUtf8(process.readAllStandardError())
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(process.exitCode(), status);
    QCOMPARE(errors.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QVERIFY2(errors.constFirst().contains(message), qPrintable(errors.constFirst()));
    // Nothing is written when nothing is done; otherwise each picture with data gets its file.
    const QStringList written = QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files);
    const QStringList expected { QStringLiteral("IR_0001.csv"), QStringLiteral("IR_0002.csv") };
    QCOMPARE(written, status == 2 ? QStringList() : expected);
}

void tst_Export::savedAnalysisAsJson()
{
    QTemporaryDir dir;
    const Thermogram t = thermogram();
    const QString path = writePicture(dir.filePath(QStringLiteral("IR_0001.BMP")), t);
    PictureAnalysis analysis;
    analysis.tools = { MeasurementTool::spot(QStringLiteral("Sp1"), QPoint(3, 2)),
                       MeasurementTool::box(QStringLiteral("Bx1"), QRect(0, 0, 2, 2)) };
    // The program's data folder of the child: XDG_DATA_HOME/calorix.
    const QString data = dir.filePath(QStringLiteral("data"));
    QVERIFY(AnalysisStore(data + QStringLiteral("/calorix/analyses"))
                .save(AnalysisStore::keyForFile(path), analysis));
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data);
    process.setProcessEnvironment(environment);
    process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/calorix-export"),
                  { QStringLiteral("--json"), QStringLiteral("--saved"), path });
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);

    // The keys in their order and the numbers' form, then the values, within rounding.
    const QByteArray line = process.readAllStandardOutput();
    // Temperatures have two decimals (T), other numbers as they come (#).
    const QRegularExpression celsius(QStringLiteral("-?\\d+\\.\\d\\d\\b"));
    const QRegularExpression number(QStringLiteral("-?\\d+(\\.\\d+)?"));
    QCOMPARE(QString::fromUtf8(line)
                 .replace(path, QStringLiteral("PATH"))
                 .replace(QStringLiteral("2026-12-07T10:15:00Z"), QStringLiteral("TIME"))
                 .replace(celsius, QStringLiteral("T"))
                 .replace(number, QStringLiteral("#")),
             QStringLiteral("{\"file\": \"PATH\", \"temperature_data\": true, \"captured\": "
                            "\"TIME\", \"emissivity\": #, \"reflected\": #, \"ambient\": #, "
                            "\"distance\": #, \"min\": T, \"max\": T, \"centre\": T, \"tools\": "
                            "[{\"name\": \"Sp#\", \"kind\": \"spot\", \"value\": T}, {\"name\": "
                            "\"Bx#\", \"kind\": \"box\", \"min\": T, \"max\": T, \"avg\": T}]}\n"));
    const QJsonObject json = QJsonDocument::fromJson(line).object();
    const QJsonArray tools = json.value(QStringLiteral("tools")).toArray();
    const auto cell = [&t](int x, int y) { return t.celsiusAt(QPoint(x, y)); };
    const QVector<std::pair<double, double>> values {
        { json.value(QStringLiteral("ambient")).toDouble(), 22.5 },
        { json.value(QStringLiteral("min")).toDouble(), -100.0 },
        { json.value(QStringLiteral("centre")).toDouble(), cell(8, 6) },
        { tools[0].toObject().value(QStringLiteral("value")).toDouble(), cell(3, 2) },
        { tools[1].toObject().value(QStringLiteral("max")).toDouble(),
          std::max({ cell(0, 0), cell(1, 0), cell(0, 1), cell(1, 1) }) },
        { tools[1].toObject().value(QStringLiteral("avg")).toDouble(),
          (cell(0, 0) + cell(1, 0) + cell(0, 1) + cell(1, 1)) / 4 },
    };
    for (const auto &[actual, expected] : values)
        QVERIFY2(std::abs(actual - expected) < 0.006, qPrintable(QString::number(expected)));
}

QTEST_MAIN(tst_Export)
#include "tst_export.moc"
