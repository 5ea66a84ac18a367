#include "analysisstore.h"
#include "measurementtool.h"
#include "pictureanalysis.h"
#include "radiometriccorrection.h"
#include "temperatureplane.h"
#include "thermalrenderer.h"
#include "thermogram.h"
#include "thermogrampainter.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(MeasurementTool)
Q_DECLARE_METATYPE(Correction)

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

/** 8 x 6 cells worth x + 10 y, except (2, 2), which has no value. */
TemperaturePlane knownPlane()
{
    QVector<float> values(8 * 6);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x)
            values[y * 8 + x] = float(x + 10 * y);
    }
    values[2 * 8 + 2] = std::numeric_limits<float>::quiet_NaN();
    return TemperaturePlane(QSize(8, 6), values);
}

PictureAnalysis fullAnalysis()
{
    PictureAnalysis a;
    a.tools = { MeasurementTool::spot("Sp1", QPoint(3, 4)),
                MeasurementTool::box("Bx1", QRect(1, 2, 30, 20)),
                MeasurementTool::ellipse("El2", QRect(0, 0, 5, 3)),
                MeasurementTool::line("Li1", QPoint(159, 0), QPoint(0, 119)) };
    a.palette = ThermalPalette::Rainbow;
    a.range = ColourRange::manual(-12.5, 87.25);
    a.isotherm = Isotherm { Isotherm::Within, 40.0, 55.5 };
    a.correction = Correction { 0.8, 23.75 };
    return a;
}

} // namespace

class tst_Thermography : public QObject
{
    Q_OBJECT
private slots:
    void toolStatistics_data();
    void toolStatistics();
    void correction_data();
    void correction();
    void bandRadiance();
    void rendering();
    void painting();
    void analysisRoundTrip();
    void damagedAnalysis_data();
    void damagedAnalysis();
};

void tst_Thermography::toolStatistics_data()
{
    QTest::addColumn<MeasurementTool>("tool");
    QTest::addColumn<int>("cells");
    QTest::addColumn<int>("valued");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<double>("average");
    QTest::addColumn<QPoint>("minimumCell");
    QTest::addColumn<QPoint>("maximumCell");

    const QPoint none(-1, -1);
    QTest::newRow("spot") << MeasurementTool::spot("Sp1", { 3, 4 }) << 1 << 1 << 43.0 << 43.0
                          << 43.0 << QPoint(3, 4) << QPoint(3, 4);
    QTest::newRow("spot on a cell without value")
        << MeasurementTool::spot("Sp1", { 2, 2 }) << 1 << 0 << 0.0 << 0.0 << 0.0 << none << none;
    QTest::newRow("spot off the plane")
        << MeasurementTool::spot("Sp1", { 8, 0 }) << 0 << 0 << 0.0 << 0.0 << 0.0 << none << none;
    QTest::newRow("box around a cell without value")
        << MeasurementTool::box("Bx1", { 1, 1, 3, 2 }) << 6 << 5 << 11.0 << 23.0 << 16.0
        << QPoint(1, 1) << QPoint(3, 2);
    QTest::newRow("box over the bottom right corner")
        << MeasurementTool::box("Bx1", { 6, 4, 5, 5 }) << 4 << 4 << 46.0 << 57.0 << 51.5
        << QPoint(6, 4) << QPoint(7, 5);
    QTest::newRow("box over the top left corner")
        << MeasurementTool::box("Bx1", { -2, -1, 4, 3 }) << 4 << 4 << 0.0 << 11.0 << 5.5
        << QPoint(0, 0) << QPoint(1, 1);
    QTest::newRow("box beside the plane") << MeasurementTool::box("Bx1", { 8, 0, 3, 3 }) << 0 << 0
                                          << 0.0 << 0.0 << 0.0 << none << none;
    // Rows 0 and 2 keep x 1..3, row 1 all of 0..4; (2, 2) has no value.
    QTest::newRow("ellipse") << MeasurementTool::ellipse("El1", { 0, 0, 5, 3 }) << 11 << 10 << 1.0
                             << 23.0 << 11.0 << QPoint(1, 0) << QPoint(3, 2);
    // Centre (0.5, 0.5), radius 1.5: the plane keeps (0,0), (1,0), (0,1) and (1,1).
    QTest::newRow("ellipse over the corner")
        << MeasurementTool::ellipse("El1", { -1, -1, 3, 3 }) << 4 << 4 << 0.0 << 11.0 << 5.5
        << QPoint(0, 0) << QPoint(1, 1);
    QTest::newRow("line across the plane and beyond")
        << MeasurementTool::line("Li1", { -1, 5 }, { 8, 5 }) << 8 << 8 << 50.0 << 57.0 << 53.5
        << QPoint(0, 5) << QPoint(7, 5);
    // y = 0, 0.25, 0.5, 0.75, 1 rounds to 0, 0, 1, 1, 1.
    QTest::newRow("shallow line") << MeasurementTool::line("Li1", { 0, 0 }, { 4, 1 }) << 5 << 5
                                  << 0.0 << 14.0 << 8.0 << QPoint(0, 0) << QPoint(4, 1);
    // y = 0, -0.5, -1: the half rounds away from zero, to -1, off the plane.
    QTest::newRow("line leaving the top") << MeasurementTool::line("Li1", { 1, 0 }, { 3, -1 }) << 1
                                          << 1 << 1.0 << 1.0 << 1.0 << QPoint(1, 0) << QPoint(1, 0);
    QTest::newRow("one-cell line") << MeasurementTool::line("Li1", { 7, 5 }, { 7, 5 }) << 1 << 1
                                   << 57.0 << 57.0 << 57.0 << QPoint(7, 5) << QPoint(7, 5);
}

void tst_Thermography::toolStatistics()
{
    QFETCH(MeasurementTool, tool);
    const TemperaturePlane plane = knownPlane();
    const ToolStatistics s = tool.measure(plane);
    QTEST(s.cellCount, "cells");
    QCOMPARE(tool.cells(plane.size()).size(), s.cellCount);
    QTEST(s.valuedCount, "valued");
    if (s.valuedCount == 0)
        return;
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(double, average);
    QCOMPARE(s.minimum, minimum);
    QCOMPARE(s.maximum, maximum);
    QCOMPARE(s.average, average);
    QTEST(s.minimumCell, "minimumCell");
    QTEST(s.maximumCell, "maximumCell");
    if (tool.kind == MeasurementTool::Line)
        QCOMPARE(tool.profile(plane).size(), s.cellCount);
}

void tst_Thermography::correction_data()
{
    QTest::addColumn<double>("stored");
    QTest::addColumn<Correction>("storedWith");
    QTest::addColumn<Correction>("wanted");
    QTest::addColumn<double>("expected");
    QTest::addColumn<double>("tolerance");

    const Correction block { 0.95, 20.0 };
    for (const double t : { -99.0, -20.0, 0.0, 36.6, 250.0, 999.0 })
        QTest::addRow("unchanged at %g", t) << t << block << block << t << 0.01;
    QTest::newRow("unchanged, black body")
        << 80.0 << Correction { 1.0, 20.0 } << Correction { 1.0, 20.0 } << 80.0 << 0.01;
    // References computed apart from this code: mpmath at 50 digits, quad() over the band
    // split at 10 µm, findroot() for the inverse.
    QTest::newRow("lower emissivity")
        << 50.0 << Correction { 0.95, 20.0 } << Correction { 0.80, 20.0 } << 54.8579487604 << 0.02;
    QTest::newRow("warm surroundings")
        << 100.0 << Correction { 1.0, 20.0 } << Correction { 0.5, 50.0 } << 138.658202966 << 0.02;
    QTest::newRow("cold sky") << -20.0 << Correction { 0.95, 20.0 } << Correction { 0.9, -40.0 }
                              << -15.3454766673 << 0.02;
    QTest::newRow("furnace") << 500.0 << Correction { 0.9, 25.0 } << Correction { 0.7, 300.0 }
                             << 530.425386051 << 0.02;
    // The reflection alone is brighter than what was measured: W_o <= 0.
    QTest::newRow("no value") << 0.0 << Correction { 1.0, 20.0 } << Correction { 0.1, 200.0 } << NaN
                              << 0.0;
    QTest::newRow("beyond 1000 °C")
        << 990.0 << Correction { 1.0, 20.0 } << Correction { 0.5, 20.0 } << NaN << 0.0;
}

void tst_Thermography::correction()
{
    QFETCH(double, stored);
    QFETCH(Correction, storedWith);
    QFETCH(Correction, wanted);
    QFETCH(double, expected);
    QFETCH(double, tolerance);

    // The page's way: a plane recomputed from the block, through the table.
    Thermogram thermogram;
    thermogram.planeSize = QSize(1, 1);
    thermogram.counts = { 0 };
    thermogram.celsiusPerCount = 0.01;
    thermogram.celsiusAtZero = stored;
    thermogram.emissivity = storedWith.emissivity;
    thermogram.reflectedCelsius = storedWith.reflectedCelsius;
    const TemperaturePlane plane = TemperaturePlane::fromThermogram(thermogram, wanted);
    const double exact = RadiometricCorrection::correctedCelsius(stored, storedWith, wanted);
    for (const double value : { plane.valueAt(QPoint(0, 0)), exact }) {
        if (std::isnan(expected)) {
            QVERIFY2(std::isnan(value), qPrintable(QString::number(value)));
        } else {
            QVERIFY2(std::abs(value - expected) <= tolerance,
                     qPrintable(QStringLiteral("%1 instead of %2").arg(value).arg(expected)));
        }
    }
    QCOMPARE(plane.valuedCount(), std::isnan(expected) ? 0 : 1);
}

void tst_Thermography::bandRadiance()
{
    // W(T) in W/(m²·sr) from the same mpmath computation as the corrections above.
    const struct
    {
        double kelvin;
        double radiance;
    } references[] = { { 173.15, 2.2874236146726096 },
                       { 300.0, 59.311702822184704 },
                       { 1273.15, 3608.7008058747638 } };
    for (const auto &r : references) {
        const double w = RadiometricCorrection::bandRadiance(r.kelvin);
        QVERIFY2(std::abs(w / r.radiance - 1.0) < 1e-6, qPrintable(QString::number(w, 'g', 17)));
        QVERIFY(std::abs(RadiometricCorrection::kelvinForRadiance(w) - r.kelvin) < 1e-6);
    }
}

void tst_Thermography::rendering()
{
    const TemperaturePlane plane(QSize(4, 1), { 0.0f, 50.0f, 100.0f, float(NaN) });
    const QVector<QRgb> &rainbow = ThermalPalette::colours(ThermalPalette::Rainbow);
    QImage image
        = ThermalRenderer::render(plane, ThermalPalette::Rainbow, ColourRange::manual(0.0, 100.0));
    QCOMPARE(image.pixel(0, 0), rainbow.first());
    QCOMPARE(image.pixel(1, 0), rainbow.at(127));
    QCOMPARE(image.pixel(2, 0), rainbow.last());
    QCOMPARE(image.pixel(3, 0), ThermalRenderer::NoValue);
    image = ThermalRenderer::render(plane, ThermalPalette::Rainbow, ColourRange(),
                                    Isotherm { Isotherm::Within, 40.0, 60.0 });
    QCOMPARE(image.pixel(0, 0), rainbow.first());
    QCOMPARE(image.pixel(1, 0), ThermalPalette::contrastColour(ThermalPalette::Rainbow));
    QCOMPARE(image.pixel(2, 0), rainbow.last());
}

void tst_Thermography::painting()
{
    // A plane cold on the left half and hot on the right, drawn as an export draws it.
    QVector<float> values(40 * 30);
    for (int i = 0; i < values.size(); ++i)
        values[i] = i % 40 < 20 ? 10.0f : 30.0f;
    PictureAnalysis analysis;
    analysis.palette = ThermalPalette::WhiteHot;
    ThermogramPainter painter(TemperaturePlane(QSize(40, 30), values), analysis);
    painter.setParameterLine(QStringLiteral("ε 0.95"));
    QImage image(400, 260, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter p(&image);
    const QRect area(10, 10, 380, 240);
    const ThermogramPainter::Layout parts = painter.layout(area, p.fontMetrics());
    painter.paint(p, area);
    p.end();

    for (const QRect &part : { parts.picture, parts.scaleBar, parts.scaleLabels, parts.parameters })
        QVERIFY(area.contains(part));
    QVERIFY(!parts.picture.intersects(parts.scaleBar));
    QVERIFY(qAbs(parts.picture.width() * 3 - parts.picture.height() * 4) <= 4);
    // Away from the markers, a cell shows its palette colour; the scale runs hot to cold.
    const auto at = [&](const QPoint &cell) {
        return image.pixel(
            ThermogramPainter::cellCentre(parts.picture, { 40, 30 }, cell).toPoint());
    };
    QCOMPARE(at({ 5, 25 }), qRgb(0, 0, 0));
    QCOMPARE(at({ 35, 25 }), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(parts.scaleBar.center().x(), parts.scaleBar.top()), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(parts.scaleBar.center().x(), parts.scaleBar.bottom()), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(area.left(), area.top()), qRgb(0, 0, 255));
}

void tst_Thermography::analysisRoundTrip()
{
    const PictureAnalysis analysis = fullAnalysis();
    QCOMPARE(PictureAnalysis::fromJson(analysis.toJson()), analysis);

    QTemporaryDir dir;
    const AnalysisStore store(dir.path() + QStringLiteral("/analyses"));
    const QString key = AnalysisStore::keyFor("picture bytes");
    QVERIFY(store.save(key, analysis));
    PictureAnalysis loaded;
    QCOMPARE(store.load(key, &loaded), AnalysisStore::Loaded);
    QCOMPARE(loaded, analysis);
    QCOMPARE(loaded.nextToolName(MeasurementTool::Ellipse), QStringLiteral("El1"));
    // Going back to how the picture first shows leaves nothing behind.
    QVERIFY(store.save(key, PictureAnalysis()));
    QVERIFY(!QFile::exists(store.pathFor(key)));
    QCOMPARE(store.load(key, &loaded), AnalysisStore::Missing);
}

void tst_Thermography::damagedAnalysis_data()
{
    QTest::addColumn<QByteArray>("json");
    const QByteArray good = fullAnalysis().toJson();
    const auto replaced = [&good](const char *from, const char *to) {
        QByteArray json = good;
        const int at = json.indexOf(from);
        return at < 0 ? QByteArray() : json.replace(at, int(qstrlen(from)), to);
    };
    QTest::newRow("truncated") << good.left(good.size() / 2);
    QTest::newRow("not json") << QByteArray("\x89PNG\r\n\x1a\n", 8);
    QTest::newRow("foreign json") << QByteArray("{\"tools\": []}");
    QTest::newRow("later version") << replaced("\"version\": 1", "\"version\": 2");
    QTest::newRow("unknown palette") << replaced("rainbow", "sepia");
    QTest::newRow("name of another kind") << replaced("El2", "Bx2");
    QTest::newRow("same name twice") << replaced("El2", "Bx1");
    QTest::newRow("emissivity 0") << replaced("\"emissivity\": 0.8", "\"emissivity\": 0");
    QTest::newRow("range upside down") << replaced("-12.5", "100");
    QTest::newRow("half a cell") << replaced("\"x\": 3", "\"x\": 3.5");
    QTest::newRow("negative width") << replaced("\"width\": 30", "\"width\": -30");
    QTest::newRow("unknown member") << replaced("\"palette\"", "\"colour\": 1, \"palette\"");
    QTest::newRow("same member twice")
        << replaced("\"palette\": \"rainbow\"", "\"palette\": \"iron\", \"palette\": \"rainbow\"");
    QTest::newRow("escaped member name") << replaced("\"palette\"", "\"p\\u0061lette\"");
    QByteArray eleven = good;
    const QByteArray spot = "{\"kind\": \"spot\", \"name\": \"Sp%1\", \"x\": 1, \"y\": 1},";
    for (int i = 2; i <= 8; ++i)
        eleven.replace("\"tools\": [",
                       "\"tools\": [" + QString::fromLatin1(spot).arg(i).toLatin1());
    QTest::newRow("eleven tools") << eleven;
}

void tst_Thermography::damagedAnalysis()
{
    QFETCH(QByteArray, json);
    QVERIFY2(!json.isEmpty(), "the row's change did not apply");
    QVERIFY(!PictureAnalysis::fromJson(json));

    QTemporaryDir dir;
    const AnalysisStore store(dir.path());
    const QString key = AnalysisStore::keyFor(json);
    QFile file(store.pathFor(key));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(json);
    file.close();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("damaged analysis file"));
    PictureAnalysis analysis = fullAnalysis();
    QCOMPARE(store.load(key, &analysis), AnalysisStore::Damaged);
    QCOMPARE(analysis, fullAnalysis());
    QVERIFY(file.exists());
}

QTEST_MAIN(tst_Thermography)
#include "tst_thermography.moc"
