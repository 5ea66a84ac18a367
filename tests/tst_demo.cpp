#include "democamerabackend.h"
#include "democard.h"
#include "dossview.h"
#include "historylog.h"
#include "imagefile.h"
#include "livescope.h"
#include "mainwindow.h"
#include "modewindows.h"
#include "mosaicview.h"
#include "optionsfile.h"
#include "outsidetypes.h"
#include "picturefetcher.h"
#include "picturepage.h"
#include "qurlinfo.h"
#include "tethra.h"
#include "thermalpalette.h"
#include "thermalscene.h"
#include "thermogramformat.h"
#include "videoextendparam.h"

#include <QCheckBox>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cmath>
#include <memory>
#include <optional>

using DeviceManager::Mode;

namespace {

/** The instrument's own rule for a picture file, read straight from the bytes. */
bool isInstrumentPicture(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() != 307792)
        return false;
    const QByteArray header = file.read(54);
    return header.size() == 54 && qFromLittleEndian<quint32>(header.constData() + 2) == 230454;
}

/** The pictures a listing of the card finds: visible folders only, any case of "bmp". */
QStringList listedPictures(const QString &card)
{
    QStringList pictures;
    QDirIterator it(card, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.mid(card.size()).contains(QLatin1String("/.")))
            continue;
        if (QFileInfo(path).suffix().compare(QLatin1String("bmp"), Qt::CaseInsensitive) == 0
            && isInstrumentPicture(path))
            pictures << path;
    }
    pictures.sort();
    return pictures;
}

/** The demo instrument behind a real main window, with its options file in a folder of its own. */
struct DemoHarness
{
    /** options, when given, are in the options file at start, with the history in history(). */
    explicit DemoHarness(std::optional<OptionParam> options = {})
    {
        card = dir.filePath(QStringLiteral("card"));
        qputenv("TETHRA_BACKENDS", "demo");
        qputenv("TETHRA_DEMO_CARD", card.toLocal8Bit());
        qputenv("TETHRA_POLL_MS", "50");
        qputenv("TETHRA_DEMO_FPS", "25");
        const QString optionsPath = dir.filePath(QStringLiteral("options.xml"));
        if (options) {
            QDir().mkpath(history()); // the reader takes only a folder that exists
            options->historyFilesPath = history();
            OptionsFile::save(optionsPath, QByteArray(), QByteArray(), *options);
        }
        OptionsFile::setPathForTesting(optionsPath);
        window = std::make_unique<MainWindow>();
    }
    ~DemoHarness()
    {
        // The main window keeps its Tethra for the life of the process: stop the camera and
        // the disk watching so that they do not run on behind the next test.
        window->tethra()->close();
        window.reset();
        OptionsFile::setPathForTesting(QString());
        qputenv("TETHRA_BACKENDS", "none");
    }

    QString history() const { return dir.filePath(QStringLiteral("History")); }
    QMdiArea *mdiArea() const { return window->findChild<QMdiArea *>(); }
    Panelet *windowOf(Mode mode) const { return modeWindow(window.get(), mode); }

    QTemporaryDir dir;
    QString card;
    std::unique_ptr<MainWindow> window;
};

int runTool(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QListWidget *diskListOf(Dossview *dossview)
{
    for (QListWidget *list : dossview->findChildren<QListWidget *>()) {
        if (!qobject_cast<Mosaicview *>(list))
            return list;
    }
    return nullptr;
}

} // namespace

class tst_Demo : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void cardHoldsInstrumentPictures_data();
    void cardHoldsInstrumentPictures();
    void cardIsNotWrittenOverAFolder();
    void cardTool();
    void cardMeasuresItsScenes_data();
    void cardMeasuresItsScenes();
    void olderCardPicturesHaveNoTemperatures();
    void frameRateKeptInRange_data();
    void frameRateKeptInRange();
    void cameraSendsMovingFrames();

    void demoOpensFileBrowserAndLiveWindow();
    void demoFileBrowserShowsPicture();
    void demoLiveWindowReadingsAndSwitches();
};

void tst_Demo::initTestCase()
{
    registerOutsideMetaTypes();
    qputenv("TETHRA_BACKENDS", "none");
    QStandardPaths::setTestModeEnabled(true); // the live window's alarm bounds
}

void tst_Demo::cardHoldsInstrumentPictures_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("one") << 1;
    QTest::newRow("default") << int(DemoCard::DefaultPictureCount);
    QTest::newRow("odd") << 7;
}

void tst_Demo::cardHoldsInstrumentPictures()
{
    QFETCH(int, count);
    QTemporaryDir dir;
    const QString card = dir.filePath(QStringLiteral("card"));
    QVERIFY(!DemoCard::exists(card));
    QString error;
    QVERIFY2(DemoCard::generate(card, count, &error), qPrintable(error));
    QVERIFY(DemoCard::exists(card));
    QVERIFY(!QFileInfo::exists(card + QStringLiteral(".partial")));

    // The measured pictures and the one whose temperature block is damaged.
    const QStringList pictures = listedPictures(card);
    QCOMPARE(pictures.size(), count + 1);
    QVERIFY(pictures.first().endsWith(QLatin1String("/DCIM/100THERM/IR_0001.BMP")));
    const QString damaged = QDir(card).filePath(QLatin1String(DemoCard::DamagedPicture));
    QVERIFY(pictures.contains(damaged));
    QSet<QByteArray> distinct;
    for (const QString &path : pictures) {
        ImageFile file;
        QVERIFY2(PictureFetcher::readPicture(path, { card }, &file), qPrintable(path));
        QCOMPARE(file.image.size(), QSize(320, 240));
        QCOMPARE(file.size, qint64(307792));
        QCOMPARE(file.thermogram.isValid(), path != damaged);
        QCOMPARE(file.thermogramDamaged, path == damaged);
        QCOMPARE(ThermogramFormat::readFile(path).has_value(), path != damaged);
        QFile raw(path);
        QVERIFY(raw.open(QIODevice::ReadOnly));
        distinct.insert(raw.readAll());
    }
    QCOMPARE(distinct.size(), count + 1); // every picture its own

    // The decoys are there and are not pictures of the instrument.
    const QStringList decoys { "DCIM/100THERM/TH_0001.BMP", "DCIM/101THERM/IR_BROKEN.BMP",
                               "MISC/NOTES.TXT", ".Trash-1000/IR_0999.BMP" };
    for (const QString &decoy : decoys) {
        const QString path = QDir(card).filePath(decoy);
        QVERIFY2(QFileInfo::exists(path), qPrintable(decoy));
        QVERIFY(!pictures.contains(path));
    }
    QVERIFY(isInstrumentPicture(QDir(card).filePath(decoys.last()))); // only hidden
}

void tst_Demo::cardIsNotWrittenOverAFolder()
{
    QTemporaryDir dir;
    QFile keep(dir.filePath(QStringLiteral("keep.txt")));
    QVERIFY(keep.open(QIODevice::WriteOnly));
    keep.close();
    QString error;
    QVERIFY(!DemoCard::generate(dir.path(), 3, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(keep.exists());
    QVERIFY(!DemoCard::exists(dir.path()));
}

void tst_Demo::cardTool()
{
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/democard");
    if (!QFileInfo(tool).isExecutable())
        QSKIP("the democard tool is not built");
    QTemporaryDir dir;
    const QString card = dir.filePath(QStringLiteral("card"));
    QCOMPARE(runTool(tool, { card, QStringLiteral("5") }), 0);
    QCOMPARE(listedPictures(card).size(), 5 + 1); // and the damaged one
    // A second run leaves the card as it is.
    QCOMPARE(runTool(tool, { card, QStringLiteral("9") }), 0);
    QCOMPARE(listedPictures(card).size(), 5 + 1);
    QCOMPARE(runTool(tool, {}), 2);
    QCOMPARE(runTool(tool, { dir.filePath(QStringLiteral("x")), QStringLiteral("0") }), 2);
}

void tst_Demo::cardMeasuresItsScenes_data()
{
    QTest::addColumn<int>("index"); // the card's picture IR_<index + 1>
    QTest::newRow("first") << 0;
    QTest::newRow("fourth") << 3;
    QTest::newRow("in the second folder") << 5;
}

void tst_Demo::cardMeasuresItsScenes()
{
    QFETCH(int, index);
    QTemporaryDir dir;
    const QString card = dir.filePath(QStringLiteral("card"));
    QVERIFY(DemoCard::generate(card, 6));
    const QString path = QDir(card).filePath(QStringLiteral("DCIM/%1THERM/IR_%2.BMP")
                                                 .arg(index < 3 ? 100 : 101)
                                                 .arg(index + 1, 4, 10, QLatin1Char('0')));
    const std::optional<Thermogram> read = ThermogramFormat::readFile(path);
    QVERIFY(read);
    QCOMPARE(read->planeSize, QSize(160, 120));
    QCOMPARE(read->emissivity, 0.95);
    QCOMPARE(read->captureTime, QFileInfo(path).lastModified().toUTC());

    // The scene the card drew: every cell holds its 2 x 2 pixels' mean to a hundredth.
    const ThermalScene scene(index + 1);
    const double time = index * 1.7;
    const QVector<float> field = scene.temperatures(time);
    ThermalScene::Readings readings;
    const QImage image = scene.render(time, &readings);
    double worst = 0.0;
    for (int cy = 0; cy < 120; ++cy) {
        for (int cx = 0; cx < 160; ++cx) {
            const int top = 2 * cy * 320 + 2 * cx;
            const double mean
                = (field[top] + field[top + 1] + field[top + 320] + field[top + 321]) / 4;
            worst = qMax(worst, qAbs(read->celsiusAt(QPoint(cx, cy)) - mean));
        }
    }
    QVERIFY2(worst <= 0.005 + 1e-6, qPrintable(QString::number(worst)));
    // Its range and centre as the camera reads them, to a tenth.
    QVERIFY(qAbs(read->celsiusAt(read->hottestCell()) - readings.maximum) < 0.1);
    QVERIFY(qAbs(read->celsiusAt(read->coldestCell()) - readings.minimum) < 0.1);
    QVERIFY(qAbs(read->celsiusAt(read->centreCell()) - readings.centre) < 0.1);
    // The hot spot is where the picture shows its hottest colour.
    const QPoint hot = read->hottestCell() * 2;
    const QRgb hottestColour = ThermalPalette::iron().last();
    bool whiteNearby = false;
    for (int dy = -2; dy <= 3; ++dy)
        for (int dx = -2; dx <= 3; ++dx)
            whiteNearby = whiteNearby || image.pixel(hot + QPoint(dx, dy)) == hottestColour;
    QVERIFY(whiteNearby);
}

void tst_Demo::olderCardPicturesHaveNoTemperatures()
{
    // Cards written before pictures carried temperatures: same pictures, no measurement.
    const QByteArray older = DemoCard::pictureFile(ThermalScene(3).render(1.0));
    QCOMPARE(older.size(), 307792);
    QVERIFY(!ThermogramFormat::read(older));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("IR_0001.BMP"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(older) == older.size());
    file.close();
    ImageFile picture;
    QVERIFY(PictureFetcher::readPicture(path, {}, &picture));
    QCOMPARE(picture.image.size(), QSize(320, 240));
    QVERIFY(!picture.thermogram.isValid());
}

void tst_Demo::frameRateKeptInRange_data()
{
    QTest::addColumn<double>("asked");
    QTest::addColumn<double>("kept");
    QTest::newRow("too slow") << 2.0 << 9.0;
    QTest::newRow("slowest") << 9.0 << 9.0;
    QTest::newRow("middle") << 12.5 << 12.5;
    QTest::newRow("fastest") << 25.0 << 25.0;
    QTest::newRow("too fast") << 60.0 << 25.0;
    QTest::newRow("not a number") << std::nan("") << 15.0;
}

void tst_Demo::frameRateKeptInRange()
{
    QFETCH(double, asked);
    QFETCH(double, kept);
    DemoCameraBackend camera;
    camera.setFrameRate(asked);
    QCOMPARE(camera.frameRate(), kept);
}

void tst_Demo::cameraSendsMovingFrames()
{
    DemoCameraBackend camera;
    camera.setFrameRate(25);
    QSignalSpy opened(&camera, &DeviceBackend::opened);
    QSignalSpy frames(&camera, &DeviceBackend::imageReadVideo);
    QSignalSpy params(&camera, &DeviceBackend::updateExtendParam);

    // A USB camera: no Wi-Fi video, whatever it is asked.
    QCOMPARE(camera.modes(), int(DeviceManager::UsbVideo));
    QCOMPARE(camera.open(DeviceManager::WifiVideo), 0);
    QVERIFY(opened.isEmpty());
    QCOMPARE(camera.open(DeviceManager::VideoMask), int(DeviceManager::UsbVideo));
    QCOMPARE(opened.count(), 1);
    QCOMPARE(opened.at(0).at(0).value<Mode>(), DeviceManager::UsbVideo);
    QVERIFY(camera.isOpen(DeviceManager::UsbVideo));
    QVERIFY(!camera.isOpen(DeviceManager::WifiVideo));

    QTRY_VERIFY_WITH_TIMEOUT(frames.count() >= 8, 5000);
    for (const QList<QVariant> &frame : qAsConst(frames)) {
        QCOMPARE(frame.at(1).value<Mode>(), DeviceManager::UsbVideo);
        QCOMPARE(frame.at(0).value<QPixmap>().size(), QSize(320, 240));
    }
    QCOMPARE(params.count(), frames.count());
    for (const QList<QVariant> &values : qAsConst(params)) {
        const auto param = values.at(0).value<VideoExtendParam>();
        QVERIFY(param.minTemperature <= param.centreTemperature);
        QVERIFY(param.centreTemperature <= param.maxTemperature);
        QVERIFY(param.minTemperature > 10 && param.maxTemperature < 120);
        QCOMPARE(param.frameRate, 25.0);
    }
    const QImage first = frames.first().at(0).value<QPixmap>().toImage();
    const QImage last = frames.last().at(0).value<QPixmap>().toImage();
    QVERIFY(first != last); // the hot spot moves

    QSignalSpy closed(&camera, &DeviceBackend::closed);
    camera.close(DeviceManager::UsbVideo);
    camera.close(DeviceManager::UsbVideo);
    QCOMPARE(closed.count(), 1);
    frames.clear();
    QVERIFY(!frames.wait(300)); // frames would come every 40 ms
}

void tst_Demo::demoOpensFileBrowserAndLiveWindow()
{
    // The program's own Connect (mask 6) on the demo: USB files, and the USB camera.
    DemoHarness h;
    h.window->show();
    QTRY_VERIFY(h.windowOf(DeviceManager::UsbFile));
    QTRY_VERIFY(h.windowOf(DeviceManager::UsbVideo));
    QVERIFY(!h.windowOf(DeviceManager::WifiVideo));
    QVERIFY(!h.windowOf(DeviceManager::WifiFile));
    QVERIFY(qobject_cast<Dossview *>(h.windowOf(DeviceManager::UsbFile)));
    // The live window opens last and is the window in front.
    auto *live = qobject_cast<Livescope *>(h.windowOf(DeviceManager::UsbVideo));
    QVERIFY(live);
    QCOMPARE(h.mdiArea()->activeSubWindow(), live);
    QCOMPARE(h.window->statusBar()->findChild<QLabel *>()->text(),
             QStringLiteral("Camera is open"));
    QTRY_VERIFY(!live->frame().isNull());
    QVERIFY(live->hasSignal());

    // The card pulled out: the file window goes, the camera stays.
    QVERIFY(QDir(h.card).removeRecursively());
    QTRY_VERIFY(!h.windowOf(DeviceManager::UsbFile));
    QCOMPARE(h.window->statusBar()->findChild<QLabel *>()->text(),
             QStringLiteral("USB flash disk is close"));
    QVERIFY(h.windowOf(DeviceManager::UsbVideo));
}

void tst_Demo::demoFileBrowserShowsPicture()
{
    DemoHarness h;
    h.window->resize(1000, 700);
    h.window->show();
    QTRY_VERIFY(h.windowOf(DeviceManager::UsbFile));
    auto *dossview = qobject_cast<Dossview *>(h.windowOf(DeviceManager::UsbFile));
    QVERIFY(dossview);
    QListWidget *disks = diskListOf(dossview);
    QVERIFY(disks);

    QTRY_COMPARE(disks->count(), 1);
    QCOMPARE(disks->item(0)->text(), QDir(h.card).absolutePath());
    auto *grid = dossview->findChild<Mosaicview *>();
    QVERIFY(grid);
    const QStringList pictures = listedPictures(h.card);
    QTRY_COMPARE(grid->count(), pictures.size());

    // Activate the file window, then double-click the third picture.
    h.mdiArea()->setActiveSubWindow(dossview);
    QListWidgetItem *item = grid->item(2);
    const auto *record
        = reinterpret_cast<const QUrlInfo *>(item->data(Qt::UserRole + 1).value<quintptr>());
    QVERIFY(record);
    grid->scrollToItem(item);
    const QPoint centre = grid->visualItemRect(item).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre);

    QTRY_COMPARE(dossview->tabWidget()->currentIndex(), 1);
    PicturePage *page = dossview->picturePage();
    QTRY_COMPARE(page->picture().size(), QSize(320, 240));
    QCOMPARE(page->fileName(), record->name());
    QImage expected(record->name());
    QVERIFY(!expected.isNull());
    QCOMPARE(page->picture().convertToFormat(QImage::Format_RGB32),
             expected.convertToFormat(QImage::Format_RGB32));
    QCOMPARE(page->thermogram().counts, ThermogramFormat::readFile(record->name())->counts);

    // The damaged picture opens like the others, without temperatures.
    const QString damaged = QDir(h.card).filePath(QLatin1String(DemoCard::DamagedPicture));
    QListWidgetItem *damagedItem = nullptr;
    for (int row = 0; row < grid->count(); ++row) {
        const auto *r = reinterpret_cast<const QUrlInfo *>(
            grid->item(row)->data(Qt::UserRole + 1).value<quintptr>());
        if (r && QFileInfo(r->name()) == QFileInfo(damaged))
            damagedItem = grid->item(row);
    }
    QVERIFY(damagedItem);
    emit grid->itemDoubleClicked(damagedItem);
    QTRY_COMPARE(QFileInfo(page->fileName()), QFileInfo(damaged));
    QCOMPARE(page->picture().size(), QSize(320, 240));
    QVERIFY(!page->thermogram().isValid());
}

void tst_Demo::demoLiveWindowReadingsAndSwitches()
{
    OptionParam options;
    options.language = QStringLiteral("EN");
    options.allowAlarm = true;
    options.allowAlarmSound = true;
    DemoHarness h(options);
    h.window->show();

    QTRY_VERIFY(h.windowOf(DeviceManager::UsbVideo));
    auto *live = qobject_cast<Livescope *>(h.windowOf(DeviceManager::UsbVideo));
    QVERIFY(live);
    auto *readings = live->findChild<QLabel *>(QStringLiteral("readingsLabel"));
    auto *banner = live->findChild<QLabel *>(QStringLiteral("alarmLabel"));
    QVERIFY(readings && banner);

    // Readings: minimum, maximum, centre and frame rate, as the camera measures them.
    QTRY_VERIFY(live->videoExtendParam().frameRate > 0);
    QTRY_VERIFY(readings->text().endsWith(QLatin1String("25 fps")));
    const VideoExtendParam param = live->videoExtendParam();
    QVERIFY(param.minTemperature <= param.centreTemperature);
    QVERIFY(param.centreTemperature <= param.maxTemperature);
    QVERIFY2(readings->text().contains(QString::number(param.maxTemperature, 'f', 1)),
             qPrintable(readings->text()));

    // The hot spot swings across 60 degrees every 12 seconds: the banner follows it, with a
    // beep when the alarm starts.
    const auto maximumAbove60 = [live] { return live->videoExtendParam().maxTemperature > 60; };
    QTRY_VERIFY_WITH_TIMEOUT(maximumAbove60() && banner->isVisible(), 15000);
    QVERIFY(live->alarmBeeps() >= 1);
    QTRY_VERIFY_WITH_TIMEOUT(!maximumAbove60() && !live->isAlarmActive(), 15000);
    QVERIFY(!banner->isVisible());

    // Log, switched on by the user: readings and frames in the history folder.
    auto *log = live->findChild<QCheckBox *>(QStringLiteral("logCheckBox"));
    QVERIFY(log);
    QVERIFY(!log->isChecked());
    QTest::mouseClick(log, Qt::LeftButton, {}, QPoint(4, log->height() / 2));
    QVERIFY(h.window->optionParam().allowLogGeneration);
    QDir folder(h.history());
    QTRY_COMPARE(folder.entryList({ QStringLiteral("*_USB_readings.csv") }).size(), 1);
    QTRY_VERIFY(!folder.entryList({ QStringLiteral("*_USB.BMP") }).isEmpty());
    QFile csv(folder.filePath(folder.entryList({ QStringLiteral("*_USB_readings.csv") }).first()));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readLine(), QByteArray(HistoryLog::CsvHeader));
    QVERIFY(csv.readLine().trimmed().endsWith(",25.0"));

    // The switches are the program's options: they are saved when it closes.
    h.window->close();
    QFile saved(h.dir.filePath(QStringLiteral("options.xml")));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray xml = saved.readAll();
    QVERIFY2(xml.contains("<AllowLogGeneration>1</AllowLogGeneration>"), xml.constData());
}

QTEST_MAIN(tst_Demo)
#include "tst_demo.moc"
