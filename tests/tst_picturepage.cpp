#include "palettebar.h"
#include "picturepage.h"
#include "thermogramcanvas.h"

#include <QLabel>
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
    t.ambientCelsius = -0.04;
    t.distanceMetres = 1.5;
    t.captureTime = QDateTime(QDate(2026, 11, 2), QTime(9, 12), Qt::UTC);
    t.counts.fill(t.countFor(20.0), 160 * 120);
    t.counts[30 * 160 + 120] = t.countFor(78.46);
    t.counts[100 * 160 + 10] = t.countFor(-12.3);
    t.counts[60 * 160 + 80] = t.countFor(24.04);
    return t;
}

/** plane() with its hottest and coldest cell moved to opposite corners. */
Thermogram cornerPlane()
{
    Thermogram t = plane();
    t.counts.fill(t.countFor(20.0));
    t.counts[0] = t.countFor(-5.0); // top left
    t.counts[t.counts.size() - 1] = t.countFor(60.0); // bottom right
    return t;
}

/** Whether a pixel is within a few steps of a colour in every channel. */
bool near(QRgb pixel, QRgb colour)
{
    return qAbs(qRed(pixel) - qRed(colour)) <= 24 && qAbs(qGreen(pixel) - qGreen(colour)) <= 24
        && qAbs(qBlue(pixel) - qBlue(colour)) <= 24;
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

} // namespace

class tst_PicturePage : public QObject
{
    Q_OBJECT
private slots:
    void pointerToCell_data();
    void pointerToCell();
    void celsiusText_data();
    void celsiusText();
    void drawnInsideTheCanvas_data();
    void drawnInsideTheCanvas();
    void measuredPicture();
    void pictureWithoutTemperatures();
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

void tst_PicturePage::celsiusText_data()
{
    QTest::addColumn<double>("celsius");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << QStringLiteral("0.0 °C");
    QTest::newRow("negative zero") << -0.0 << QStringLiteral("0.0 °C");
    QTest::newRow("just below zero") << -0.04 << QStringLiteral("0.0 °C");
    QTest::newRow("just above zero") << 0.04 << QStringLiteral("0.0 °C");
    QTest::newRow("rounds to -0.1") << -0.06 << QStringLiteral("-0.1 °C");
    QTest::newRow("below zero") << -12.34 << QStringLiteral("-12.3 °C");
}

void tst_PicturePage::celsiusText()
{
    QFETCH(double, celsius);
    QFETCH(QString, text);
    QCOMPARE(ThermogramCanvas::celsiusText(celsius), text);
}

void tst_PicturePage::drawnInsideTheCanvas_data()
{
    QTest::addColumn<QSize>("size");
    for (const QSize size : { QSize(300, 200), QSize(640, 480), QSize(900, 700), QSize(1600, 1000),
                              QSize(2000, 1200) }) {
        QTest::addRow("%dx%d", size.width(), size.height()) << size;
        QTest::addRow("%dx%d", size.height(), size.width()) << size.transposed();
    }
    QTest::newRow("no room for the picture") << QSize(60, 300);
}

void tst_PicturePage::drawnInsideTheCanvas()
{
    QFETCH(QSize, size);
    ThermogramCanvas canvas;
    canvas.resize(size);
    canvas.setPicture(picture(), cornerPlane());
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    const QRect rect = canvas.pictureRect();
    const QWidget *scale = canvas.paletteBar();
    if (rect.isEmpty()) {
        QVERIFY(!scale->isVisible());
        return;
    }
    QVERIFY(scale->isVisible());
    QVERIFY2(canvas.rect().contains(scale->geometry()),
             qPrintable(QStringLiteral("%1,%2 %3x%4")
                            .arg(scale->x())
                            .arg(scale->y())
                            .arg(scale->width())
                            .arg(scale->height())));
    QVERIFY(canvas.rect().contains(rect));
    QVERIFY(!scale->geometry().intersects(rect));

    // Nothing is painted outside the picture and its scale; the markers sit at their cells.
    const QImage painted = canvas.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb background = painted.pixel(0, 0);
    for (int y = 0; y < painted.height(); ++y) {
        for (int x = 0; x < painted.width(); ++x) {
            if (!rect.contains(x, y) && !scale->geometry().contains(x, y)
                && painted.pixel(x, y) != background)
                QFAIL(qPrintable(QStringLiteral("painted at %1, %2").arg(x).arg(y)));
        }
    }
    const QPointF hottest = ThermogramCanvas::markerCentre(rect, QSize(160, 120), QPoint(159, 119));
    const QPointF coldest = ThermogramCanvas::markerCentre(rect, QSize(160, 120), QPoint(0, 0));
    // The triangles are filled; a pixel off the centre towards the base is inside either.
    QVERIFY(
        near(painted.pixel((hottest + QPointF(0, 1)).toPoint()), ThermogramCanvas::HottestColour));
    QVERIFY(
        near(painted.pixel((coldest + QPointF(0, -1)).toPoint()), ThermogramCanvas::ColdestColour));

    // A picture without temperatures is drawn at the same size.
    canvas.setPicture(picture(), Thermogram());
    QCOMPARE(canvas.pictureRect().size(), rect.size());
    QVERIFY(!scale->isVisible());
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
    QVERIFY(conditions.contains(QStringLiteral("Reflected 20.5 °C")));
    QVERIFY(conditions.contains(QStringLiteral("Ambient 0.0 °C")));
    QVERIFY(conditions.contains(QStringLiteral("Distance 1.5 m")));
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
    const QRect readingsAt = labelNamed(page, "pictureReadingsLabel")->geometry();
    // Off the picture, in the margin beside it.
    movePointer(canvas, QPoint(rect.left() - 2, rect.center().y()));
    QCOMPARE(canvas->pointerCell(), QPoint(-1, -1));
    QCOMPARE(pointer->text(), QStringLiteral("Pointer —"));
    // The line does not move when the value goes.
    QCOMPARE(pointer->geometry(), pointerAt);
    QCOMPARE(labelNamed(page, "pictureReadingsLabel")->geometry(), readingsAt);

    // A resize moves the picture under the pointer: the cell follows without a move.
    const QPoint at = ThermogramCanvas::cellCentre(rect, QSize(160, 120), QPoint(40, 90)).toPoint();
    movePointer(canvas, at);
    page.resize(700, 600);
    QTRY_VERIFY(canvas->pictureRect() != rect);
    QCOMPARE(canvas->pointerCell(),
             ThermogramCanvas::cellAt(canvas->pictureRect(), QSize(160, 120), at));
    QCOMPARE(pointer->text(),
             QStringLiteral("Pointer ")
                 + ThermogramCanvas::celsiusText(plane().celsiusAt(canvas->pointerCell())));
}

void tst_PicturePage::pictureWithoutTemperatures()
{
    PicturePage page;
    page.resize(640, 480);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.setPicture(picture(), QStringLiteral("/card/IR_0003.BMP"), plane());
    QCoreApplication::sendPostedEvents(); // the lines' new texts laid out
    const QRect measuredRect = page.canvas()->pictureRect();
    page.setPicture(picture(), QStringLiteral("/card/IR_0007.BMP"), Thermogram());
    QCoreApplication::sendPostedEvents();
    // Drawn at the size the measured picture had, the page's lines kept as they were.
    QCOMPARE(page.canvas()->pictureRect().size(), measuredRect.size());

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
}

QTEST_MAIN(tst_PicturePage)
#include "tst_picturepage.moc"
