// Times what the picture page does on each change, on a 160 x 120 plane as the instrument
// stores it: a repaint after a change of palette, of range and of correction (the plane
// recomputed through the model, then drawn with tools and markers at page size), and the
// statistics of 10 tools while one of them is dragged one cell at a time. Prints the median
// of --runs repetitions of each, in milliseconds.

#include "pictureanalysis.h"
#include "temperatureplane.h"
#include "thermogram.h"
#include "thermogrampainter.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

Thermogram demoThermogram()
{
    Thermogram t;
    t.planeSize = QSize(160, 120);
    t.celsiusPerCount = 0.01;
    t.celsiusAtZero = -100.0;
    t.emissivity = 0.95;
    t.reflectedCelsius = 20.0;
    t.counts.resize(160 * 120);
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 160; ++x) {
            // A warm background with a hot spot and a gentle gradient: many distinct counts.
            const double d = std::hypot(x - 100.0, y - 40.0);
            const double celsius = 20.0 + 0.05 * x + 0.03 * y + 60.0 * std::exp(-d * d / 300.0);
            t.counts[y * 160 + x] = t.countFor(celsius);
        }
    }
    return t;
}

PictureAnalysis tenTools()
{
    PictureAnalysis a;
    a.tools = { MeasurementTool::spot("Sp1", { 100, 40 }),
                MeasurementTool::spot("Sp2", { 20, 100 }),
                MeasurementTool::box("Bx1", { 10, 10, 80, 60 }),
                MeasurementTool::box("Bx2", { 90, 30, 40, 40 }),
                MeasurementTool::box("Bx3", { 0, 0, 160, 120 }),
                MeasurementTool::ellipse("El1", { 60, 20, 70, 50 }),
                MeasurementTool::ellipse("El2", { 5, 60, 50, 50 }),
                MeasurementTool::line("Li1", { 0, 0 }, { 159, 119 }),
                MeasurementTool::line("Li2", { 0, 60 }, { 159, 60 }),
                MeasurementTool::line("Li3", { 80, 0 }, { 80, 119 }) };
    return a;
}

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

double timed(int runs, const std::function<void(int)> &step)
{
    QVector<double> times;
    step(-1); // warm: the correction's table, fonts, the first render
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        step(i);
        times.append(timer.nsecsElapsed() / 1e6);
    }
    return median(times);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption runsOption("runs", "Repetitions of each figure.", "n", "200");
    parser.addOption(runsOption);
    parser.process(app);
    const int runs = std::max(1, parser.value(runsOption).toInt());

    const Thermogram thermogram = demoThermogram();
    PictureAnalysis analysis = tenTools();
    // The page's canvas at a usual window size; the picture takes 4 x the plane.
    QImage page(820, 540, QImage::Format_ARGB32_Premultiplied);
    ThermogramPainter painter(TemperaturePlane::fromThermogram(thermogram), analysis);
    painter.setSelectedTool(2);
    const auto repaint = [&] {
        QPainter p(&page);
        p.fillRect(page.rect(), Qt::black);
        painter.paint(p, page.rect());
    };

    const QList<ThermalPalette::Kind> palettes = ThermalPalette::kinds();
    const double palette = timed(runs, [&](int i) {
        analysis.palette = palettes.at((i + 1) % palettes.size());
        painter.setAnalysis(analysis);
        repaint();
    });
    analysis.palette = ThermalPalette::Iron;
    const double range = timed(runs, [&](int i) {
        analysis.range = ColourRange::manual(15.0 + (i % 10), 90.0 - (i % 7));
        painter.setAnalysis(analysis);
        repaint();
    });
    const double correction = timed(runs, [&](int i) {
        const Correction c { 0.6 + 0.001 * (i % 300), 10.0 + (i % 20) };
        painter.setPlane(TemperaturePlane::fromThermogram(thermogram, c));
        repaint();
    });

    const TemperaturePlane plane = TemperaturePlane::fromThermogram(thermogram);
    double sink = 0.0;
    const double statistics = timed(runs, [&](int i) {
        // Bx1 dragged across the picture, one cell a step; every tool measured again.
        analysis.tools[2] = analysis.tools[2].translated(QPoint(i % 2 ? 1 : -1, 0));
        for (const MeasurementTool &tool : analysis.tools)
            sink += tool.measure(plane).average;
    });

    std::printf("repaint after palette change:    %.3f ms\n", palette);
    std::printf("repaint after range change:      %.3f ms\n", range);
    std::printf("repaint after correction change: %.3f ms\n", correction);
    std::printf("statistics of 10 tools, 1 dragged: %.3f ms%s\n", statistics,
                sink == 42.0 ? " " : "");
    return 0;
}
