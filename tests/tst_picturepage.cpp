#include "palettebar.h"
#include "picturepage.h"
#include "profileplot.h"
#include "testpictures.h"
#include "thermogramcanvas.h"
#include "thermogramformat.h"

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

namespace {

/** A 160 x 120 plane: 20 degrees, a hot cell at (120, 30) and a cold one at (10, 100). */
Thermogram plane()
{
    Thermogram t;
    t.planeSize = QSize(160, 120);
    t.celsiusPerCount = 0.01;
    t.celsiusAtZero = -100.0;
    t.emissivity = 0.95;
    t.reflectedCelsius = 20.5;
    t.ambientCelsius = -0.04; // written 0.0, without a minus
    t.distanceMetres = 1.5;
    t.captureTime = QDateTime(QDate(2026, 11, 2), QTime(9, 12), Qt::UTC);
    t.counts.fill(t.countFor(20.0), 160 * 120);
    t.counts[30 * 160 + 120] = t.countFor(78.46);
    t.counts[100 * 160 + 10] = t.countFor(-12.3);
    t.counts[60 * 160 + 80] = t.countFor(24.04);
    return t;
}

QImage picture()
{
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(qRgb(40, 0, 120));
    return image;
}

/** A move of the pointer as the window system delivers it, without buttons. */
void movePointer(QWidget *widget, const QPoint &at)
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

QLabel *labelNamed(PicturePage &page, const char *name)
{
    return page.findChild<QLabel *>(QLatin1String(name));
}

/** A press, moves and a release of the left button, as a user drags across the canvas. */
void drag(QWidget *widget, const QPoint &from, const QPoint &to)
{
    const auto send = [widget](QEvent::Type type, const QPoint &at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

QPoint centreOf(const ThermogramCanvas *canvas, const QPoint &cell)
{
    return ThermogramCanvas::cellCentre(canvas->pictureRect(), QSize(160, 120), cell).toPoint();
}

/** plane() written as an instrument picture file at path. */
bool writeMeasuredPicture(const QString &path)
{
    QByteArray file = TestPictures::instrumentPicture(3);
    const QByteArray block = ThermogramFormat::writeBlock(plane());
    file.replace(int(ThermogramFormat::DeclaredBmpSize), block.size(), block);
    return TestPictures::writeFile(path, file);
}

} // namespace

class tst_PicturePage : public QObject
{
    Q_OBJECT
private slots:
    void pointerToCell_data();
    void pointerToCell();
    void drawnInsideTheCanvas_data();
    void drawnInsideTheCanvas();
    void measuredPicture();
    void pictureWithoutTemperatures();
    void toolsPlacedAndEdited();
    void correctionAndReset();
    void rangeDraggedAndDeltaT();
    void toolsResizedByTheirHandles();
    void analysisKeptByContent();
};

void tst_PicturePage::pointerToCell_data()
{
    QTest::addColumn<QSize>("area");
    QTest::addColumn<QRect>("drawn");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QPoint>("cell");

    // Wider than the picture: 640 x 480 centred across, two pixels a cell.
    const QSize wide(1000, 480);
    const QRect wideRect(180, 0, 640, 480);
    QTest::newRow("wide: first pixel") << wide << wideRect << QPoint(180, 0) << QPoint(0, 0);
    QTest::newRow("wide: second cell") << wide << wideRect << QPoint(185, 6) << QPoint(1, 1);
    QTest::newRow("wide: centre") << wide << wideRect << QPoint(500, 240) << QPoint(80, 60);
    QTest::newRow("wide: last pixel") << wide << wideRect << QPoint(819, 479) << QPoint(159, 119);
    QTest::newRow("wide: left margin") << wide << wideRect << QPoint(179, 100) << QPoint(-1, -1);
    QTest::newRow("wide: right margin") << wide << wideRect << QPoint(820, 100) << QPoint(-1, -1);

    // Taller than the picture: 320 x 240 centred down, one cell every two pixels.
    const QSize tall(320, 1000);
    const QRect tallRect(0, 380, 320, 240);
    QTest::newRow("tall: first pixel") << tall << tallRect << QPoint(0, 380) << QPoint(0, 0);
    QTest::newRow("tall: odd pixel") << tall << tallRect << QPoint(3, 383) << QPoint(1, 1);
    QTest::newRow("tall: last pixel") << tall << tallRect << QPoint(319, 619) << QPoint(159, 119);
    QTest::newRow("tall: above") << tall << tallRect << QPoint(100, 379) << QPoint(-1, -1);
    QTest::newRow("tall: below") << tall << tallRect << QPoint(100, 620) << QPoint(-1, -1);

    // Uneven scale: 480 x 360, three pixels for two cells.
    QTest::newRow("uneven") << QSize(480, 400) << QRect(0, 20, 480, 360) << QPoint(298, 20 + 179)
                            << QPoint(99, 59);
    // Never more than four times the picture.
    QTest::newRow("largest") << QSize(3000, 2000) << QRect(860, 520, 1280, 960)
                             << QPoint(860 + 1279, 520) << QPoint(159, 0);
}

void tst_PicturePage::pointerToCell()
{
    QFETCH(QSize, area);
    QFETCH(QRect, drawn);
    QFETCH(QPoint, point);
    QFETCH(QPoint, cell);
    const QRect rect = ThermogramCanvas::fitRect(area, QSize(320, 240));
    QCOMPARE(rect, drawn);
    QCOMPARE(ThermogramCanvas::cellAt(rect, QSize(160, 120), point), cell);
    if (cell.x() >= 0) {
        // The cell's centre maps back to the cell.
        const QPointF centre = ThermogramCanvas::cellCentre(rect, QSize(160, 120), cell);
        QCOMPARE(ThermogramCanvas::cellAt(rect, QSize(160, 120), centre.toPoint()), cell);
    }
}

void tst_PicturePage::drawnInsideTheCanvas_data()
{
    QTest::addColumn<QSize>("size");
    for (const QSize size :
         { QSize(300, 200), QSize(900, 700), QSize(1600, 1000), QSize(2000, 1200) }) {
        QTest::addRow("%dx%d", size.width(), size.height()) << size;
        QTest::addRow("%dx%d", size.height(), size.width()) << size.transposed();
    }
    QTest::newRow("no room for the picture") << QSize(60, 300);
}

void tst_PicturePage::drawnInsideTheCanvas()
{
    QFETCH(QSize, size);
    Thermogram corners = plane(); // the coldest cell top left, the hottest bottom right
    corners.counts.fill(corners.countFor(20.0));
    corners.counts.first() = corners.countFor(-5.0);
    corners.counts.last() = corners.countFor(60.0);
    ThermogramCanvas canvas;
    canvas.resize(size);
    canvas.setPicture(picture(), corners);
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    const QRect rect = canvas.pictureRect();
    const QRect scale = canvas.paletteBar()->geometry();
    QCOMPARE(canvas.paletteBar()->isVisible(), !rect.isEmpty());
    if (rect.isEmpty())
        return;
    QVERIFY(canvas.rect().contains(scale) && canvas.rect().contains(rect));

    // Nothing is painted beside the picture and its scale; the markers sit at their cells.
    const QImage painted = canvas.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < painted.height(); ++y) {
        for (int x = 0; x < painted.width(); ++x) {
            if (!rect.contains(x, y) && !scale.contains(x, y))
                QCOMPARE(painted.pixel(x, y), painted.pixel(0, 0));
        }
    }
    const auto near = [&](const QPoint &cell, int towardsBase, QRgb colour) {
        const QPointF at = ThermogramCanvas::markerCentre(rect, QSize(160, 120), cell);
        const QRgb pixel = painted.pixel((at + QPointF(0, towardsBase)).toPoint());
        return qAbs(qRed(pixel) - qRed(colour)) + qAbs(qGreen(pixel) - qGreen(colour))
            + qAbs(qBlue(pixel) - qBlue(colour))
            < 60;
    };
    QVERIFY(near(QPoint(159, 119), 1, ThermogramCanvas::HottestColour));
    QVERIFY(near(QPoint(0, 0), -1, ThermogramCanvas::ColdestColour));

    // A picture without temperatures is drawn at the same size.
    canvas.setPicture(picture(), Thermogram());
    QCOMPARE(canvas.pictureRect().size(), rect.size());
}

void tst_PicturePage::measuredPicture()
{
    PicturePage page;
    page.resize(900, 700);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.setPicture(picture(), QStringLiteral("/card/IR_0003.BMP"), plane());

    QVERIFY(page.paletteBar()->isVisible());
    QCOMPARE(page.paletteBar()->maximumText(), QStringLiteral("78.5 °C"));
    QCOMPARE(page.paletteBar()->minimumText(), QStringLiteral("-12.3 °C"));
    QVERIFY(!labelNamed(page, "pictureNoDataLabel")->isVisible());
    const QString conditions = labelNamed(page, "pictureConditionsLabel")->text();
    QVERIFY2(conditions.contains(QLatin1String("Emissivity 0.95")), qPrintable(conditions));
    QVERIFY(conditions.contains(
        QStringLiteral("Reflected 20.5 °C    Ambient 0.0 °C    Distance 1.5 m")));
    QVERIFY(conditions.contains(QLatin1String("Captured ")));
    const QString readings = labelNamed(page, "pictureReadingsLabel")->text();
    QVERIFY2(readings.contains(QStringLiteral("Hottest 78.5 °C")), qPrintable(readings));
    QVERIFY(readings.contains(QStringLiteral("Coldest -12.3 °C")));
    QVERIFY(readings.contains(QStringLiteral("Centre 24.0 °C")));

    // The pointer over the hot cell, wherever the page put the picture.
    ThermogramCanvas *canvas = page.canvas();
    const QRect rect = canvas->pictureRect();
    QVERIFY(rect.width() > 320);
    QVERIFY(qAbs(rect.width() * 3 - rect.height() * 4) <= 4); // 4:3 kept
    const QPoint hot
        = ThermogramCanvas::cellCentre(rect, QSize(160, 120), QPoint(120, 30)).toPoint();
    movePointer(canvas, hot);
    QCOMPARE(canvas->pointerCell(), QPoint(120, 30));
    QLabel *pointer = labelNamed(page, "picturePointerLabel");
    QCOMPARE(pointer->text(), QStringLiteral("Pointer 78.5 °C"));
    movePointer(canvas,
                ThermogramCanvas::cellCentre(rect, QSize(160, 120), QPoint(120, 60)).toPoint());
    QCOMPARE(canvas->pointerCell(), QPoint(120, 60));
    QCOMPARE(pointer->text(), QStringLiteral("Pointer 20.0 °C"));
    const QRect pointerAt = pointer->geometry();
    // Off the picture, in the margin beside it.
    movePointer(canvas, QPoint(rect.left() - 2, rect.center().y()));
    QCOMPARE(canvas->pointerCell(), QPoint(-1, -1));
    QCOMPARE(pointer->text(), QStringLiteral("Pointer —"));
    QCOMPARE(pointer->geometry(), pointerAt); // the line does not move when the value goes

    // A resize moves the picture under the pointer: the cell follows without a move.
    movePointer(canvas, hot);
    page.resize(700, 600);
    QTRY_VERIFY(canvas->pictureRect() != rect);
    QCOMPARE(canvas->pointerCell(),
             ThermogramCanvas::cellAt(canvas->pictureRect(), QSize(160, 120), hot));
}

void tst_PicturePage::pictureWithoutTemperatures()
{
    PicturePage page;
    page.resize(640, 480);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.setPicture(picture(), QStringLiteral("/card/IR_0003.BMP"), plane());
    QCoreApplication::sendPostedEvents(); // the lines' new texts laid out
    const QSize measured = page.canvas()->pictureRect().size();
    page.setPicture(picture(), QStringLiteral("/card/IR_0007.BMP"), Thermogram());
    QCoreApplication::sendPostedEvents();
    QCOMPARE(page.canvas()->pictureRect().size(), measured); // the lines below keep their height

    QCOMPARE(page.picture(), picture());
    QVERIFY(!page.thermogram().isValid());
    QVERIFY(!page.paletteBar()->isVisible());
    QLabel *noData = labelNamed(page, "pictureNoDataLabel");
    QVERIFY(noData->isVisible());
    QCOMPARE(noData->text(), QStringLiteral("This picture has no temperature data."));
    page.setPicture(picture(), QStringLiteral("/card/IR_DAMAGED.BMP"), Thermogram(), true);
    QCOMPARE(noData->text(), QStringLiteral("The temperature data of this picture is damaged."));
    // One plain line: nothing else about temperatures is left on the page.
    QVERIFY(!labelNamed(page, "pictureReadingsLabel")->isVisible());
    QVERIFY(!labelNamed(page, "pictureConditionsLabel")->isVisible());
    movePointer(page.canvas(), page.canvas()->pictureRect().center());
    QCOMPARE(page.canvas()->pointerCell(), QPoint(-1, -1));

    page.clear();
    QVERIFY(!noData->isVisible());
    QVERIFY(page.canvas()->pictureRect().isEmpty());
    const QImage empty = page.canvas()->grab().toImage();
    page.canvas()->setPlaceholderText(QStringLiteral("Double-click a picture"));
    QVERIFY(page.canvas()->grab().toImage() != empty); // the empty page shows its hint
}

void tst_PicturePage::toolsPlacedAndEdited()
{
    PicturePage page;
    page.resize(1100, 760);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.setPicture(picture(), QStringLiteral("/card/IR_0003.BMP"), plane());
    ThermogramCanvas *canvas = page.canvas();
    QTableWidget *results = page.resultsTable();

    // A box dragged from corner to corner over the hot cell (120, 30).
    page.toolBar()->findChild<QAction *>(QStringLiteral("placebox"))->trigger();
    drag(canvas, centreOf(canvas, QPoint(117, 28)), centreOf(canvas, QPoint(121, 33)));
    QCOMPARE(page.analysis().tools.size(), 1);
    const MeasurementTool box = page.analysis().tools.first();
    QCOMPARE(box.name, QStringLiteral("Bx1"));
    QCOMPARE(box.rect, QRect(117, 28, 5, 6));
    QCOMPARE(results->item(0, 1)->text(), QStringLiteral("20.0 °C"));
    QCOMPARE(results->item(0, 2)->text(), QStringLiteral("78.5 °C"));
    // (78.46 + 29 × 20) / 30
    QCOMPARE(results->item(0, 3)->text(), QStringLiteral("21.9 °C"));

    // Moved off the hot cell by a drag: the values follow while the button is still down.
    QMouseEvent press(QEvent::MouseButtonPress, centreOf(canvas, QPoint(119, 30)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &press);
    QMouseEvent move(QEvent::MouseMove, centreOf(canvas, QPoint(109, 30)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
    QCOMPARE(page.analysis().tools.first().rect, QRect(107, 28, 5, 6));
    QCOMPARE(results->item(0, 2)->text(), QStringLiteral("20.0 °C"));
    QMouseEvent release(QEvent::MouseButtonRelease, centreOf(canvas, QPoint(109, 30)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &release);

    // A spot by a click, named in its own series; the arrow keys nudge it by a cell.
    page.toolBar()->findChild<QAction *>(QStringLiteral("placespot"))->trigger();
    drag(canvas, centreOf(canvas, QPoint(10, 100)), centreOf(canvas, QPoint(10, 100)));
    QCOMPARE(page.analysis().tools.last(), MeasurementTool::spot("Sp1", QPoint(10, 100)));
    QCOMPARE(results->item(1, 1)->text(), QStringLiteral("-12.3 °C"));
    canvas->setFocus();
    QTest::keyClick(canvas, Qt::Key_Right);
    QCOMPARE(page.analysis().tools.last().start, QPoint(11, 100));
    QCOMPARE(results->item(1, 1)->text(), QStringLiteral("20.0 °C"));
    QTest::keyClick(canvas, Qt::Key_Delete);
    QCOMPARE(page.analysis().tools.size(), 1);
    QCOMPARE(results->rowCount(), 1);
}

void tst_PicturePage::correctionAndReset()
{
    PicturePage page;
    page.resize(1100, 760);
    page.setPicture(picture(), QStringLiteral("/card/IR_0003.BMP"), plane());
    auto *emissivity = page.findChild<QDoubleSpinBox *>(QStringLiteral("emissivity"));
    QCOMPARE(emissivity->value(), 0.95);
    QVERIFY(labelNamed(page, "correctionLabel")->text().isEmpty());

    emissivity->setValue(0.80);
    const Correction stored { 0.95, 20.5 };
    const Correction wanted { 0.80, 20.5 };
    QCOMPARE(page.analysis().correction, std::optional<Correction>(wanted));
    const QString hottest = ThermogramCanvas::celsiusText(
        RadiometricCorrection::correctedCelsius(plane().celsiusAt({ 120, 30 }), stored, wanted));
    QVERIFY(hottest != QStringLiteral("78.5 °C"));
    QVERIFY2(labelNamed(page, "pictureReadingsLabel")->text().contains("Hottest " + hottest),
             qPrintable(labelNamed(page, "pictureReadingsLabel")->text()));
    QCOMPARE(page.plane().valueAt({ 120, 30 }),
             TemperaturePlane::fromThermogram(plane(), wanted).valueAt({ 120, 30 }));
    QCOMPARE(labelNamed(page, "correctionLabel")->text(), QStringLiteral("Correction in effect"));

    page.correctionBar()->findChild<QAction *>(QStringLiteral("resetCorrection"))->trigger();
    QVERIFY(!page.analysis().correction);
    QCOMPARE(emissivity->value(), 0.95);
    QVERIFY(labelNamed(page, "pictureReadingsLabel")->text().contains("Hottest 78.5 °C"));
    QVERIFY(labelNamed(page, "correctionLabel")->text().isEmpty());
}

void tst_PicturePage::rangeDraggedAndDeltaT()
{
    PicturePage page;
    page.resize(1100, 760);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.setPicture(picture(), QStringLiteral("/card/IR_0003.BMP"), plane());
    PaletteBar *scale = page.paletteBar();
    QCOMPARE(scale->maximumText(), QStringLiteral("78.5 °C"));

    // The top bound dragged half-way down the scale: -12.3 + (78.46 + 12.3) / 2.
    const int top = scale->labelHeight() / 2;
    const int bottom = scale->height() - scale->labelHeight() / 2;
    drag(scale, QPoint(5, top), QPoint(5, (top + bottom) / 2));
    QVERIFY(!page.analysis().range.automatic);
    QVERIFY2(qAbs(page.analysis().range.high - 33.1) <= 0.3,
             qPrintable(QString::number(page.analysis().range.high)));
    QCOMPARE(page.analysis().range.low, -12.3);
    QCOMPARE(scale->maximumText(), ThermogramCanvas::celsiusText(page.analysis().range.high));

    // ΔT of two spots, the hot one first.
    PictureAnalysis analysis = page.analysis();
    analysis.tools = { MeasurementTool::spot("Sp1", { 120, 30 }),
                       MeasurementTool::box("Bx1", { 0, 90, 20, 20 }) };
    page.setAnalysis(analysis);
    QCOMPARE(labelNamed(page, "deltaLabel")->text(), QStringLiteral("ΔT = 58.5 K"));
    auto *statistic = page.findChild<QComboBox *>(QStringLiteral("deltaStatisticB"));
    statistic->setCurrentIndex(statistic->findText(QStringLiteral("Min")));
    QCOMPARE(labelNamed(page, "deltaLabel")->text(), QStringLiteral("ΔT = 90.8 K"));
}

void tst_PicturePage::toolsResizedByTheirHandles()
{
    PicturePage page;
    page.resize(1100, 760);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.setPicture(picture(), QStringLiteral("/card/IR_0003.BMP"), plane());
    PictureAnalysis analysis;
    analysis.tools = { MeasurementTool::ellipse("El1", { 10, 10, 20, 10 }),
                       MeasurementTool::line("Li1", { 100, 30 }, { 110, 30 }) };
    page.setAnalysis(analysis);
    QCoreApplication::sendPostedEvents(); // the results beside the picture laid out
    ThermogramCanvas *canvas = page.canvas();
    const QRect rect = canvas->pictureRect();

    // The ellipse's bottom right corner dragged out: the top left cell stays.
    canvas->setSelectedTool(0);
    const QPoint corner = ThermogramPainter::cellsRect(rect, QSize(160, 120), { 10, 10, 20, 10 })
                              .bottomRight()
                              .toPoint();
    drag(canvas, corner, centreOf(canvas, QPoint(39, 24)));
    QCOMPARE(page.analysis().tools.at(0).rect, QRect(10, 10, 30, 15));

    // The line's end dragged onto the hot cell: its profile ends there, as the plot shows it.
    canvas->setSelectedTool(1);
    drag(canvas, centreOf(canvas, QPoint(110, 30)), centreOf(canvas, QPoint(120, 30)));
    const MeasurementTool line = page.analysis().tools.at(1);
    QCOMPARE(line.end, QPoint(120, 30));
    QCOMPARE(page.profilePlot()->profile().size(), 21);
    QCOMPARE(page.profilePlot()->profile().last(), page.plane().valueAt({ 120, 30 }));
    QCOMPARE(page.resultsTable()->item(1, 2)->text(), QStringLiteral("78.5 °C"));
}

void tst_PicturePage::analysisKeptByContent()
{
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dir;
    const AnalysisStore store(dir.filePath(QStringLiteral("analyses")));
    const QString original = dir.filePath(QStringLiteral("card/IR_0003.BMP"));
    const QString copy = dir.filePath(QStringLiteral("elsewhere/copy.bmp"));
    QVERIFY(writeMeasuredPicture(original));
    QVERIFY(writeMeasuredPicture(copy));
    QFile file(original);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();

    PictureAnalysis analysis;
    analysis.tools = { MeasurementTool::line("Li1", { 0, 0 }, { 159, 119 }) };
    analysis.palette = ThermalPalette::BlackHot;
    analysis.correction = Correction { 0.7, 30.0 };
    {
        PicturePage page;
        page.setAnalysisStore(store);
        page.setPicture(picture(), original, plane());
        page.setAnalysis(analysis);
    }
    // A page opened afresh finds it for the copy too; the picture itself is left alone.
    PicturePage page;
    page.setAnalysisStore(store);
    page.setPicture(picture(), copy, plane());
    QCOMPARE(page.analysis(), analysis);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);

    // A damaged file is passed over with a notice; the picture shows as it first does.
    QFile kept(store.pathFor(AnalysisStore::keyFor(bytes)));
    QVERIFY(kept.open(QIODevice::WriteOnly | QIODevice::Truncate));
    kept.write("{\"format\": \"calorix-analysis\", \"version\": 1, \"tools\": [");
    kept.close();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("damaged analysis file"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("damaged analysis file"));
    page.setPicture(picture(), original, plane());
    QCOMPARE(page.analysis(), PictureAnalysis());
    QVERIFY(!labelNamed(page, "analysisNoticeLabel")->text().isEmpty());
    // Left as it is until the user changes something.
    page.setPicture(picture(), copy, plane());
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QVERIFY(kept.readAll().endsWith("\"tools\": ["));
}

QTEST_MAIN(tst_PicturePage)
#include "tst_picturepage.moc"
