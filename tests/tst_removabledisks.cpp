#include "fakemachine.h"
#include "removablediskscanner.h"
#include "tethra.h"
#include "tethraenvironment.h"
#include "usbdiskbackend.h"

#include <QDir>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using DeviceManager::Mode;

Q_DECLARE_METATYPE(FakeMachine::Bus)

namespace {

RemovableDiskScanner scannerFor(const FakeMachine &machine)
{
    RemovableDiskScanner scanner;
    scanner.setSysfsRoot(machine.sysfsRoot());
    scanner.setMountTable(machine.mountTable());
    return scanner;
}

/** A Tethra whose only backend watches the fake machine's disks. */
std::unique_ptr<Tethra> tethraFor(const FakeMachine &machine, int pollInterval)
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("TETHRA_BACKENDS"), QStringLiteral("usb"));
    environment.insert(QStringLiteral("TETHRA_SYSFS_ROOT"), machine.sysfsRoot());
    environment.insert(QStringLiteral("TETHRA_MOUNTS"), machine.mountTable());
    environment.insert(QStringLiteral("TETHRA_POLL_MS"), QString::number(pollInterval));
    return std::make_unique<Tethra>(TethraEnvironment(environment));
}

/** Every signal of Tethra about the disks, as text, in the order they came. */
class Recorder : public QObject
{
public:
    explicit Recorder(Tethra *tethra)
    {
        connect(tethra, &Tethra::opened, this,
                [this](Mode mode) { events << QStringLiteral("opened %1").arg(mode); });
        connect(tethra, &Tethra::closed, this,
                [this](Mode mode) { events << QStringLiteral("closed %1").arg(mode); });
        connect(tethra, &Tethra::disksFresh, this, [this](const QStringList &disks) {
            QStringList names;
            for (const QString &disk : disks)
                names << QFileInfo(disk).fileName();
            events << QStringLiteral("disks ") + names.join(QLatin1Char(','));
        });
    }
    QStringList events;
};

} // namespace

class tst_RemovableDisks : public QObject
{
    Q_OBJECT
private slots:
    void classification_data();
    void classification();
    void mountTableQuirks();
    void missingMountTableFindsNothing();
    void extraDisksWhileTheyExist();

    void plugAndUnplugInOrder();
    void userCloseStopsReopening();
    void diskArrivingAfterFailedConnectOpens();
    void pollingNoticesChanges();
};

void tst_RemovableDisks::classification_data()
{
    QTest::addColumn<QString>("disk");
    QTest::addColumn<FakeMachine::Bus>("bus");
    QTest::addColumn<bool>("removable");
    QTest::addColumn<QString>("mmcType");
    QTest::addColumn<QString>("partition");
    QTest::addColumn<QString>("fsType");
    QTest::addColumn<bool>("found");

    QTest::newRow("USB stick") << "sdb" << FakeMachine::Usb << true << ""
                               << "sdb1"
                               << "vfat" << true;
    QTest::newRow("USB stick without partitions") << "sdb" << FakeMachine::Usb << true << ""
                                                  << ""
                                                  << "exfat" << true;
    QTest::newRow("USB hard disk (removable 0)") << "sdc" << FakeMachine::Usb << false << ""
                                                 << "sdc1"
                                                 << "ext4" << true;
    QTest::newRow("internal SATA disk") << "sda" << FakeMachine::Sata << false << ""
                                        << "sda2"
                                        << "ext4" << false;
    QTest::newRow("SATA bay with removable media") << "sdd" << FakeMachine::Sata << true << ""
                                                   << "sdd1"
                                                   << "vfat" << true;
    QTest::newRow("internal NVMe disk") << "nvme0n1" << FakeMachine::Nvme << false << ""
                                        << "nvme0n1p2"
                                        << "ext4" << false;
    QTest::newRow("SD card") << "mmcblk0" << FakeMachine::Mmc << false << "SD"
                             << "mmcblk0p1"
                             << "vfat" << true;
    QTest::newRow("eMMC chip") << "mmcblk1" << FakeMachine::Mmc << false << "MMC"
                               << "mmcblk1p1"
                               << "ext4" << false;
    QTest::newRow("loop device") << "loop0" << FakeMachine::Virtual << false << ""
                                 << ""
                                 << "ext4" << false;
    QTest::newRow("optical disc on USB") << "sr0" << FakeMachine::Usb << true << ""
                                         << ""
                                         << "iso9660" << false;
}

void tst_RemovableDisks::classification()
{
    QFETCH(QString, disk);
    QFETCH(FakeMachine::Bus, bus);
    QFETCH(bool, removable);
    QFETCH(QString, mmcType);
    QFETCH(QString, partition);
    QFETCH(QString, fsType);
    QFETCH(bool, found);

    FakeMachine machine;
    QVERIFY(machine.isValid());
    machine.addDisk(disk, bus, removable, mmcType);
    const QString node = partition.isEmpty() ? disk : partition;
    if (!partition.isEmpty())
        machine.addPartition(disk, partition);
    const QString root
        = machine.mount(QStringLiteral("/dev/") + node, QStringLiteral("VOLUME"), fsType);

    const QStringList expected = found ? QStringList { root } : QStringList();
    QCOMPARE(scannerFor(machine).scan(), expected);
}

void tst_RemovableDisks::mountTableQuirks()
{
    FakeMachine machine;
    machine.addDisk(QStringLiteral("sdb"), FakeMachine::Usb, true);
    machine.addPartition(QStringLiteral("sdb"), QStringLiteral("sdb1"));
    machine.addDisk(QStringLiteral("sdc"), FakeMachine::Usb, true);
    machine.addPartition(QStringLiteral("sdc"), QStringLiteral("sdc1"));
    machine.addDisk(QStringLiteral("sde"), FakeMachine::Usb, true);
    machine.addPartition(QStringLiteral("sde"), QStringLiteral("sde1"));

    // A label with blanks is escaped in the table; the same stick mounted twice counts once;
    // a device sysfs does not know and a mount point that has gone are not disks.
    const QString spaced = machine.mount(QStringLiteral("/dev/sdb1"), QStringLiteral("MY CAM"));
    machine.mount(QStringLiteral("/dev/sdb1"), QStringLiteral("again"));
    machine.mount(QStringLiteral("/dev/sdz1"), QStringLiteral("unknown"));
    const QString gone = machine.mount(QStringLiteral("/dev/sde1"), QStringLiteral("GONE"));
    QVERIFY(QDir(gone).removeRecursively());
    const QString second = machine.mount(QStringLiteral("/dev/sdc1"), QStringLiteral("CARD"));

    QCOMPARE(scannerFor(machine).scan(), QStringList({ spaced, second }));

    const auto entries = RemovableDiskScanner::parseMountTable(
        "/dev/sdb1 /media/a\\040b\\134c vfat rw 0 0\n\n# comment\nbroken\n");
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.at(0).rootPath, QStringLiteral("/media/a b\\c"));
    QCOMPARE(entries.at(0).fsType, QStringLiteral("vfat"));
}

void tst_RemovableDisks::missingMountTableFindsNothing()
{
    FakeMachine machine;
    RemovableDiskScanner scanner = scannerFor(machine);
    scanner.setMountTable(machine.mountTable() + QStringLiteral(".missing"));
    QVERIFY(scanner.scan().isEmpty());
}

void tst_RemovableDisks::extraDisksWhileTheyExist()
{
    FakeMachine machine;
    QTemporaryDir card;
    RemovableDiskScanner scanner = scannerFor(machine);
    scanner.setSystemDisks(false);
    scanner.setExtraDisks({ card.path(), card.filePath(QStringLiteral("missing")) });
    QCOMPARE(scanner.scan(), QStringList { card.path() });
    QVERIFY(card.remove());
    QVERIFY(scanner.scan().isEmpty());
}

void tst_RemovableDisks::plugAndUnplugInOrder()
{
    FakeMachine machine;
    machine.addDisk(QStringLiteral("sdb"), FakeMachine::Usb, true);
    machine.addPartition(QStringLiteral("sdb"), QStringLiteral("sdb1"));
    machine.addDisk(QStringLiteral("sdc"), FakeMachine::Usb, true);
    machine.addPartition(QStringLiteral("sdc"), QStringLiteral("sdc1"));
    machine.addDisk(QStringLiteral("sda"), FakeMachine::Sata, false);
    machine.addPartition(QStringLiteral("sda"), QStringLiteral("sda1"));
    machine.mount(QStringLiteral("/dev/sda1"), QStringLiteral("SYSTEM"), QStringLiteral("ext4"));
    const QString stick = machine.mount(QStringLiteral("/dev/sdb1"), QStringLiteral("STICK"));

    auto tethra = tethraFor(machine, 60000); // the test looks at the disks itself
    auto *backend = qobject_cast<UsbDiskBackend *>(tethra->backends().value(0));
    QVERIFY(backend);
    Recorder recorder(tethra.get());

    QVERIFY(tethra->tryOpen(6));
    QVERIFY(tethra->modeIsActived(DeviceManager::UsbFile));
    QCOMPARE(recorder.events, QStringList { "opened 4" });
    QTRY_COMPARE(recorder.events, QStringList({ "opened 4", "disks STICK" }));

    recorder.events.clear();
    const QString card = machine.mount(QStringLiteral("/dev/sdc1"), QStringLiteral("CARD"));
    backend->rescan();
    QTRY_COMPARE(recorder.events, QStringList { "disks STICK,CARD" });

    recorder.events.clear();
    machine.unmount(stick, true);
    backend->rescan();
    QTRY_COMPARE(recorder.events, QStringList { "disks CARD" });

    recorder.events.clear();
    machine.unmount(card, true);
    backend->rescan();
    QCOMPARE(recorder.events, QStringList { "closed 4" });
    QVERIFY(!tethra->modeIsActived(DeviceManager::UsbFile));

    recorder.events.clear();
    machine.mount(QStringLiteral("/dev/sdb1"), QStringLiteral("STICK"));
    backend->rescan();
    QTRY_COMPARE(recorder.events, QStringList({ "opened 4", "disks STICK" }));

    // No change, no signal.
    recorder.events.clear();
    backend->rescan();
    QCoreApplication::processEvents();
    QVERIFY(recorder.events.isEmpty());
}

void tst_RemovableDisks::userCloseStopsReopening()
{
    FakeMachine machine;
    machine.addDisk(QStringLiteral("sdb"), FakeMachine::Usb, true);
    machine.addPartition(QStringLiteral("sdb"), QStringLiteral("sdb1"));
    const QString stick = machine.mount(QStringLiteral("/dev/sdb1"), QStringLiteral("STICK"));
    auto tethra = tethraFor(machine, 60000);
    auto *backend = qobject_cast<UsbDiskBackend *>(tethra->backends().value(0));
    Recorder recorder(tethra.get());

    QVERIFY(tethra->tryOpen(DeviceManager::UsbFile));
    tethra->close(DeviceManager::UsbFile);
    // The disk list announced for the open mode is not sent after the close.
    QCoreApplication::processEvents();
    QCOMPARE(recorder.events, QStringList({ "opened 4", "closed 4" }));
    QVERIFY(!backend->isWatching());

    recorder.events.clear();
    machine.unmount(stick);
    backend->rescan();
    machine.mount(QStringLiteral("/dev/sdb1"), QStringLiteral("STICK"));
    backend->rescan();
    QCoreApplication::processEvents();
    QVERIFY(recorder.events.isEmpty());

    tethra->close(DeviceManager::UsbFile); // closing a closed mode is harmless
    QVERIFY(recorder.events.isEmpty());

    QVERIFY(tethra->tryOpen(6));
    QTRY_COMPARE(recorder.events, QStringList({ "opened 4", "disks STICK" }));
}

void tst_RemovableDisks::diskArrivingAfterFailedConnectOpens()
{
    FakeMachine machine;
    machine.addDisk(QStringLiteral("sdb"), FakeMachine::Usb, true);
    machine.addPartition(QStringLiteral("sdb"), QStringLiteral("sdb1"));
    auto tethra = tethraFor(machine, 60000);
    auto *backend = qobject_cast<UsbDiskBackend *>(tethra->backends().value(0));
    Recorder recorder(tethra.get());

    QVERIFY(!tethra->tryOpen(6));
    QVERIFY(recorder.events.isEmpty());
    machine.mount(QStringLiteral("/dev/sdb1"), QStringLiteral("STICK"));
    backend->rescan();
    QTRY_COMPARE(recorder.events, QStringList({ "opened 4", "disks STICK" }));
}

void tst_RemovableDisks::pollingNoticesChanges()
{
    FakeMachine machine;
    machine.addDisk(QStringLiteral("sdb"), FakeMachine::Usb, true);
    auto tethra = tethraFor(machine, 20);
    Recorder recorder(tethra.get());

    QVERIFY(!tethra->tryOpen(6));
    const QString stick = machine.mount(QStringLiteral("/dev/sdb"), QStringLiteral("STICK"));
    QTRY_COMPARE(recorder.events, QStringList({ "opened 4", "disks STICK" }));
    machine.unmount(stick, true);
    QTRY_COMPARE(recorder.events, QStringList({ "opened 4", "disks STICK", "closed 4" }));
}

QTEST_MAIN(tst_RemovableDisks)
#include "tst_removabledisks.moc"
