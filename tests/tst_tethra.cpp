#include "democamerabackend.h"
#include "democard.h"
#include "fakebackend.h"
#include "fakemachine.h"
#include "imagefile.h"
#include "picturefetcher.h"
#include "qurlinfo.h"
#include "testpictures.h"
#include "tethra.h"
#include "tethraenvironment.h"
#include "usbdiskbackend.h"

#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QtEndian>
#include <QtTest>

#include <memory>
#include <vector>

#include <sys/stat.h>

using DeviceManager::Mode;

namespace {

std::unique_ptr<QUrlInfo> recordFor(const QString &path)
{
    const QFileInfo info(path);
    return std::make_unique<QUrlInfo>(
        info.absoluteFilePath(), int(info.permissions()), info.owner(), info.group(), info.size(),
        info.lastModified(), info.lastRead(), info.isDir(), info.isFile(), info.isSymLink(),
        info.isWritable(), info.isReadable(), info.isExecutable());
}

/** Lets every picture read under way finish and its answer arrive. */
void settleReads()
{
    QTRY_COMPARE(PictureFetcher::runningReads(), 0);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

/** A machine with one USB stick mounted and a Tethra that has opened it. */
struct StickHarness
{
    StickHarness()
    {
        machine.addDisk(QStringLiteral("sdb"), FakeMachine::Usb, true);
        stick = machine.mount(QStringLiteral("/dev/sdb"), QStringLiteral("STICK"));
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("TETHRA_BACKENDS"), QStringLiteral("usb"));
        environment.insert(QStringLiteral("TETHRA_SYSFS_ROOT"), machine.sysfsRoot());
        environment.insert(QStringLiteral("TETHRA_MOUNTS"), machine.mountTable());
        environment.insert(QStringLiteral("TETHRA_POLL_MS"), QStringLiteral("60000"));
        tethra = std::make_unique<Tethra>(TethraEnvironment(environment));
        backend = qobject_cast<UsbDiskBackend *>(tethra->backends().value(0));
    }

    QString file(const QString &name) const { return QDir(stick).filePath(name); }

    /**
     * Writes the named files on the stick as instrument pictures 1, 2, ..., opens USB file
     * mode and lists them; returns their records, or none when a step failed.
     */
    std::vector<std::unique_ptr<QUrlInfo>> listPictures(const QStringList &names)
    {
        std::vector<std::unique_ptr<QUrlInfo>> records;
        QList<QUrlInfo *> listed;
        for (int i = 0; i < names.size(); ++i) {
            if (!TestPictures::writeFile(file(names.at(i)), TestPictures::instrumentPicture(i + 1)))
                return {};
            records.push_back(recordFor(file(names.at(i))));
            listed.append(records.back().get());
        }
        if (!tethra->tryOpen(DeviceManager::UsbFile))
            return {};
        tethra->setFiles(listed, DeviceManager::UsbFile);
        return records;
    }

    FakeMachine machine;
    QString stick;
    std::unique_ptr<Tethra> tethra;
    UsbDiskBackend *backend = nullptr;
};

} // namespace

class tst_Tethra : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void environment_data();
    void environment();
    void noBackends();
    void tryOpenAsksEachBackendForItsModes();
    void tryOpenFailsWhenNothingOpens();
    void tryOpenOnTheBackendsLink_data();
    void tryOpenOnTheBackendsLink();
    void slowReceiversDoNotStarveBackends();

    void pullImage_data();
    void pullImage();
    void onlyNewestRequestAnswered();
    void listedPathIsUsedNotTheRecord();
    void previousPictureAliveWhileNextIsDelivered();
    void diskPulledDuringFetch();
    void pullForClosedModeIgnored();
};

void tst_Tethra::initTestCase()
{
    qputenv("TETHRA_BACKENDS", "none");
}

void tst_Tethra::slowReceiversDoNotStarveBackends()
{
    // Windows built for the first mode may take longer than probing is allowed to: the next
    // backend is asked all the same, and both modes are announced before tryOpen returns.
    Tethra tethra; // TETHRA_BACKENDS=none from the process environment
    auto *files = new FakeBackend(DeviceManager::UsbFile);
    files->modesToOpen = DeviceManager::UsbFile;
    auto *video = new FakeBackend(DeviceManager::WifiVideo);
    video->modesToOpen = DeviceManager::WifiVideo;
    tethra.addBackend(files);
    tethra.addBackend(video);
    QList<DeviceManager::Mode> announced;
    connect(&tethra, &Tethra::opened, this, [&announced](DeviceManager::Mode mode) {
        announced << mode;
        QThread::msleep(Tethra::TryOpenBudget + 200); // a receiver that builds a slow window
    });

    QVERIFY(tethra.tryOpen(6));
    QCOMPARE(video->openRequests, QList<int>() << int(DeviceManager::WifiVideo));
    QCOMPARE(announced,
             (QList<DeviceManager::Mode> { DeviceManager::UsbFile, DeviceManager::WifiVideo }));
}

void tst_Tethra::environment_data()
{
    QTest::addColumn<QString>("backends");
    QTest::addColumn<QStringList>("classes");
    QTest::addColumn<bool>("systemDisks");

    const QStringList disks { "UsbDiskBackend" };
    // The demo camera comes last, so that its live window opens in front.
    const QStringList both { "UsbDiskBackend", "DemoCameraBackend" };
    QTest::newRow("unset") << QString() << disks << true;
    QTest::newRow("usb") << "usb" << disks << true;
    QTest::newRow("none") << "none" << QStringList() << false;
    QTest::newRow("demo") << "demo" << both << false;
    QTest::newRow("usb and demo, loosely written") << " USB , Demo " << both << true;
    QTest::newRow("none wins") << "demo,none" << QStringList() << false;
    QTest::newRow("unknown only") << "wifi" << QStringList() << false;
}

void tst_Tethra::environment()
{
    QFETCH(QString, backends);
    QFETCH(QStringList, classes);
    QFETCH(bool, systemDisks);

    QTemporaryDir dir;
    const QString card = dir.filePath(QStringLiteral("card"));
    QProcessEnvironment environment;
    if (!backends.isNull())
        environment.insert(QStringLiteral("TETHRA_BACKENDS"), backends);
    environment.insert(QStringLiteral("TETHRA_DEMO_CARD"), card);
    environment.insert(QStringLiteral("TETHRA_DEMO_FPS"), QStringLiteral("40"));
    environment.insert(QStringLiteral("TETHRA_POLL_MS"), QStringLiteral("250"));

    Tethra tethra { TethraEnvironment(environment) };
    QStringList found;
    for (DeviceBackend *backend : tethra.backends())
        found << QString::fromLatin1(backend->metaObject()->className());
    QCOMPARE(found, classes);

    const bool demo = classes.contains(QStringLiteral("DemoCameraBackend"));
    QCOMPARE(DemoCard::exists(card), demo);
    if (auto *disks = qobject_cast<UsbDiskBackend *>(tethra.backends().value(0))) {
        QCOMPARE(disks->scanner().systemDisks(), systemDisks);
        QCOMPARE(disks->pollInterval(), 250);
        QCOMPARE(disks->scanner().extraDisks().size(), demo ? 1 : 0);
    }
    if (auto *camera = qobject_cast<DemoCameraBackend *>(tethra.backends().value(1)))
        QCOMPARE(camera->frameRate(), DemoCameraBackend::MaxFrameRate);
}

void tst_Tethra::noBackends()
{
    Tethra tethra; // TETHRA_BACKENDS=none from the process environment
    QVERIFY(tethra.backends().isEmpty());
    QSignalSpy closed(&tethra, &Tethra::closed);
    QVERIFY(!tethra.tryOpen(DeviceManager::AllModes));
    for (Mode mode : { DeviceManager::WifiFile, DeviceManager::WifiVideo, DeviceManager::UsbFile,
                       DeviceManager::UsbVideo }) {
        QVERIFY(!tethra.modeIsActived(mode));
        tethra.close(mode);
        tethra.pullImage(nullptr, mode);
        tethra.setFiles({}, mode);
    }
    tethra.close();
    QCOMPARE(closed.count(), 0);
}

void tst_Tethra::tryOpenAsksEachBackendForItsModes()
{
    Tethra tethra;
    auto *files = new FakeBackend(DeviceManager::FileMask);
    files->modesToOpen = DeviceManager::UsbFile;
    auto *everything = new FakeBackend(DeviceManager::AllModes);
    everything->modesToOpen = DeviceManager::AllModes;
    tethra.addBackend(files);
    tethra.addBackend(everything);
    QSignalSpy opened(&tethra, &Tethra::opened);

    QVERIFY(tethra.tryOpen(6));
    // USB files were opened by the first backend, so the second is asked for Wi-Fi video only.
    QCOMPARE(files->openRequests, QList<int> { DeviceManager::UsbFile });
    QCOMPARE(everything->openRequests, QList<int> { DeviceManager::WifiVideo });
    QCOMPARE(opened.count(), 2);
    QCOMPARE(opened.at(0).at(0).value<Mode>(), DeviceManager::UsbFile);
    QCOMPARE(opened.at(1).at(0).value<Mode>(), DeviceManager::WifiVideo);

    QVERIFY(tethra.modeIsActived(DeviceManager::UsbFile));
    QVERIFY(!tethra.modeIsActived(DeviceManager::UsbVideo));
    tethra.close(DeviceManager::UsbFile);
    QCOMPARE(files->closeRequests, QList<Mode> { DeviceManager::UsbFile });
    QVERIFY(everything->closeRequests.isEmpty());
}

void tst_Tethra::tryOpenFailsWhenNothingOpens()
{
    Tethra tethra;
    auto *backend = new FakeBackend(DeviceManager::VideoMask);
    backend->modesToOpen = DeviceManager::UsbVideo;
    tethra.addBackend(backend);
    QVERIFY(!tethra.tryOpen(6)); // asks for Wi-Fi video, which this one does not open
    QCOMPARE(backend->openRequests, QList<int> { DeviceManager::WifiVideo });
    QVERIFY(!tethra.tryOpen(DeviceManager::WifiFile)); // offered by nobody: nobody asked
    QCOMPARE(backend->openRequests.size(), 1);
}

void tst_Tethra::tryOpenOnTheBackendsLink_data()
{
    QTest::addColumn<int>("offered");
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("firstAsked");
    QTest::addColumn<int>("secondAsked");

    // The first backend offers only some modes; the second offers all, and is asked for what
    // the first left unserved.
    QTest::newRow("program's mask, USB camera") << 8 << 6 << 8 << 4;
    QTest::newRow("USB video, Wi-Fi camera") << 2 << 8 << 2 << 0;
    QTest::newRow("Wi-Fi files, USB disk") << 4 << 1 << 4 << 0;
    QTest::newRow("own link preferred") << 10 << 2 << 2 << 0;
    QTest::newRow("both video links, one offered") << 8 << 10 << 8 << 2;
    QTest::newRow("other kind only") << 4 << 2 << 0 << 2;
}

void tst_Tethra::tryOpenOnTheBackendsLink()
{
    QFETCH(int, offered);
    QFETCH(int, asked);
    QFETCH(int, firstAsked);
    QFETCH(int, secondAsked);

    Tethra tethra;
    auto *first = new FakeBackend(offered);
    first->modesToOpen = offered;
    auto *second = new FakeBackend(DeviceManager::AllModes);
    second->modesToOpen = DeviceManager::AllModes;
    tethra.addBackend(first);
    tethra.addBackend(second);
    QSignalSpy opened(&tethra, &Tethra::opened);

    QVERIFY(tethra.tryOpen(asked));
    QCOMPARE(first->openRequests, firstAsked ? QList<int> { firstAsked } : QList<int>());
    QCOMPARE(second->openRequests, secondAsked ? QList<int> { secondAsked } : QList<int>());
    // What opened is announced as the mode it is, and Tethra knows it under that mode.
    int announced = 0;
    for (const QList<QVariant> &signal : qAsConst(opened))
        announced |= signal.at(0).value<Mode>();
    QCOMPARE(announced, firstAsked | secondAsked);
    if (firstAsked) // one mode in every row
        QVERIFY(tethra.modeIsActived(Mode(firstAsked)));
}

void tst_Tethra::pullImage_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("picture");

    QTest::newRow("instrument picture") << "valid" << true;
    QTest::newRow("vanished file") << "vanished" << false;
    QTest::newRow("garbage") << "garbage" << false;
    QTest::newRow("header only") << "truncated" << false;
    QTest::newRow("header claims a huge picture") << "huge" << false;
    QTest::newRow("empty file") << "empty" << false;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("link out of the disk") << "outside" << false;
    QTest::newRow("named pipe") << "fifo" << false;
}

void tst_Tethra::pullImage()
{
    QFETCH(QString, kind);
    QFETCH(bool, picture);

    StickHarness h;
    QTemporaryDir elsewhere;
    const QString path = h.file(QStringLiteral("DCIM/IR_0001.BMP"));
    QByteArray bytes = TestPictures::instrumentPicture(3);
    if (kind == QLatin1String("garbage")) {
        for (int i = 0; i < bytes.size(); ++i)
            bytes[i] = char((i * 7919) & 0xff);
    } else if (kind == QLatin1String("truncated")) {
        bytes.truncate(54);
    } else if (kind == QLatin1String("huge")) {
        uchar dimensions[8];
        qToLittleEndian<qint32>(100000, dimensions);
        qToLittleEndian<qint32>(100000, dimensions + 4);
        bytes.replace(18, 8, reinterpret_cast<const char *>(dimensions), 8);
    } else if (kind == QLatin1String("empty")) {
        bytes.clear();
    }
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == QLatin1String("outside")) {
        const QString target = elsewhere.filePath(QStringLiteral("private.bmp"));
        QVERIFY(TestPictures::writeFile(target, bytes));
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QVERIFY(QFile::link(target, path));
    } else if (kind == QLatin1String("fifo")) {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else {
        QVERIFY(TestPictures::writeFile(path, bytes));
    }

    QVERIFY(h.tethra->tryOpen(DeviceManager::UsbFile));
    auto record = recordFor(path);
    h.tethra->setFiles({ record.get() }, DeviceManager::UsbFile);
    if (kind == QLatin1String("vanished"))
        QVERIFY(QFile::remove(path));

    QSignalSpy spy(h.tethra.get(), &Tethra::imageReadFile);
    h.tethra->pullImage(reinterpret_cast<QObject *>(record.get()), DeviceManager::UsbFile);
    settleReads();
    QCOMPARE(spy.count(), picture ? 1 : 0);
    if (!picture)
        return;
    const auto *file = spy.at(0).at(0).value<const ImageFile *>();
    QVERIFY(file);
    QCOMPARE(spy.at(0).at(1).value<Mode>(), DeviceManager::UsbFile);
    QCOMPARE(file->path, path);
    QCOMPARE(file->size, TestPictures::InstrumentFileSize);
    QCOMPARE(file->image.size(), QSize(320, 240));
    QImage expected;
    QVERIFY(expected.loadFromData(bytes));
    QCOMPARE(file->image.convertToFormat(QImage::Format_RGB32),
             expected.convertToFormat(QImage::Format_RGB32));
}

void tst_Tethra::onlyNewestRequestAnswered()
{
    StickHarness h;
    const QString second = h.file(QStringLiteral("B.BMP"));
    const auto records = h.listPictures({ QStringLiteral("A.BMP"), QStringLiteral("B.BMP") });
    QCOMPARE(records.size(), size_t(2));
    QUrlInfo *a = records.at(0).get();
    QUrlInfo *b = records.at(1).get();

    QSignalSpy spy(h.tethra.get(), &Tethra::imageReadFile);
    h.tethra->pullImage(reinterpret_cast<QObject *>(a), DeviceManager::UsbFile);
    h.tethra->pullImage(reinterpret_cast<QObject *>(b), DeviceManager::UsbFile);
    settleReads();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<const ImageFile *>()->path, second);
}

void tst_Tethra::listedPathIsUsedNotTheRecord()
{
    StickHarness h;
    const QString path = h.file(QStringLiteral("A.BMP"));
    QVERIFY(TestPictures::writeFile(path, TestPictures::instrumentPicture(1)));
    QVERIFY(h.tethra->tryOpen(DeviceManager::UsbFile));
    auto record = recordFor(path);
    h.tethra->setFiles({ record.get() }, DeviceManager::UsbFile);
    // What the record says afterwards is not read again: the listing's copy counts.
    record->setName(h.file(QStringLiteral("nothing-here.BMP")));

    QSignalSpy spy(h.tethra.get(), &Tethra::imageReadFile);
    h.tethra->pullImage(reinterpret_cast<QObject *>(record.get()), DeviceManager::UsbFile);
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<const ImageFile *>()->path, path);

    // A record that was never listed is read when asked for.
    auto unlisted = recordFor(path);
    h.tethra->pullImage(reinterpret_cast<QObject *>(unlisted.get()), DeviceManager::UsbFile);
    QTRY_COMPARE(spy.count(), 2);
}

void tst_Tethra::previousPictureAliveWhileNextIsDelivered()
{
    StickHarness h;
    const QString first = h.file(QStringLiteral("A.BMP"));
    const QString second = h.file(QStringLiteral("B.BMP"));
    const auto records = h.listPictures({ QStringLiteral("A.BMP"), QStringLiteral("B.BMP") });
    QCOMPARE(records.size(), size_t(2));
    QUrlInfo *a = records.at(0).get();
    QUrlInfo *b = records.at(1).get();

    QList<const ImageFile *> files;
    QStringList pathsSeenOfPrevious;
    connect(h.tethra.get(), &Tethra::imageReadFile, this, [&](const ImageFile *file) {
        if (!files.isEmpty())
            pathsSeenOfPrevious << files.last()->path;
        files << file;
    });
    h.tethra->pullImage(reinterpret_cast<QObject *>(a), DeviceManager::UsbFile);
    QTRY_COMPARE(files.size(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(files.at(0)->image.size(), QSize(320, 240)); // still there after the delivery
    h.tethra->pullImage(reinterpret_cast<QObject *>(b), DeviceManager::UsbFile);
    QTRY_COMPARE(files.size(), 2);
    QCOMPARE(pathsSeenOfPrevious, QStringList { first });
    QVERIFY(files.at(0) != files.at(1));
}

void tst_Tethra::diskPulledDuringFetch()
{
    StickHarness h;
    const QString path = h.file(QStringLiteral("A.BMP"));
    QVERIFY(TestPictures::writeFile(path, TestPictures::instrumentPicture(1)));
    QVERIFY(h.tethra->tryOpen(DeviceManager::UsbFile));
    auto record = recordFor(path);
    h.tethra->setFiles({ record.get() }, DeviceManager::UsbFile);
    QSignalSpy pictures(h.tethra.get(), &Tethra::imageReadFile);
    QSignalSpy closed(h.tethra.get(), &Tethra::closed);

    h.tethra->pullImage(reinterpret_cast<QObject *>(record.get()), DeviceManager::UsbFile);
    h.machine.unmount(h.stick, true);
    h.backend->rescan();
    QCOMPARE(closed.count(), 1);
    settleReads();
    QCOMPARE(pictures.count(), 0);
    QVERIFY(!h.tethra->modeIsActived(DeviceManager::UsbFile));
}

void tst_Tethra::pullForClosedModeIgnored()
{
    StickHarness h;
    const QString path = h.file(QStringLiteral("A.BMP"));
    QVERIFY(TestPictures::writeFile(path, TestPictures::instrumentPicture(1)));
    auto record = recordFor(path);
    QSignalSpy spy(h.tethra.get(), &Tethra::imageReadFile);
    h.tethra->pullImage(reinterpret_cast<QObject *>(record.get()), DeviceManager::UsbFile);
    h.tethra->pullImage(reinterpret_cast<QObject *>(record.get()), DeviceManager::WifiFile);
    settleReads();
    QCOMPARE(spy.count(), 0);
}

QTEST_MAIN(tst_Tethra)
#include "tst_tethra.moc"
