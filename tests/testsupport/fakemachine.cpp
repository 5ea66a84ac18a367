#include "fakemachine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

void writeText(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
}

QString escapeMountField(const QString &field)
{
    QString out = field;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\134"));
    out.replace(QLatin1Char(' '), QStringLiteral("\\040"));
    out.replace(QLatin1Char('\t'), QStringLiteral("\\011"));
    return out;
}

QString busPath(FakeMachine::Bus bus, const QString &disk)
{
    switch (bus) {
    case FakeMachine::Usb:
        return QStringLiteral("devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/"
                              "target6:0:0/6:0:0:0/block/")
            + disk;
    case FakeMachine::Sata:
        return QStringLiteral("devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/"
                              "0:0:0:0/block/")
            + disk;
    case FakeMachine::Nvme:
        return QStringLiteral("devices/pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0/") + disk;
    case FakeMachine::Mmc:
        return QStringLiteral("devices/pci0000:00/0000:00:14.5/mmc_host/mmc0/mmc0:aaaa/block/")
            + disk;
    case FakeMachine::Virtual:
        break;
    }
    return QStringLiteral("devices/virtual/block/") + disk;
}

} // namespace

FakeMachine::FakeMachine()
{
    QDir().mkpath(sysfsRoot() + QStringLiteral("/class/block"));
    QDir().mkpath(mediaRoot());
    writeTable();
}

QString FakeMachine::devicePath(const QString &name) const
{
    return QFileInfo(sysfsRoot() + QStringLiteral("/class/block/") + name).canonicalFilePath();
}

void FakeMachine::addDisk(const QString &disk, Bus bus, bool removable, const QString &mmcType)
{
    const QString path = sysfsRoot() + QLatin1Char('/') + busPath(bus, disk);
    QDir().mkpath(path);
    writeText(path + QStringLiteral("/removable"), removable ? "1\n" : "0\n");
    if (!mmcType.isEmpty())
        writeText(path + QStringLiteral("/device/type"), mmcType.toLatin1() + '\n');
    QFile::link(path, sysfsRoot() + QStringLiteral("/class/block/") + disk);
}

void FakeMachine::addPartition(const QString &disk, const QString &partition)
{
    const QString path = devicePath(disk) + QLatin1Char('/') + partition;
    QDir().mkpath(path);
    writeText(path + QStringLiteral("/partition"), "1\n");
    QFile::link(path, sysfsRoot() + QStringLiteral("/class/block/") + partition);
}

QString FakeMachine::mount(const QString &device, const QString &label, const QString &fsType)
{
    const QString mountPoint = QDir(mediaRoot()).filePath(label);
    QDir().mkpath(mountPoint);
    m_lines.append({ device, mountPoint, fsType });
    writeTable();
    return mountPoint;
}

void FakeMachine::unmount(const QString &mountPoint, bool removeFolder)
{
    for (int i = m_lines.size() - 1; i >= 0; --i) {
        if (m_lines.at(i).mountPoint == mountPoint)
            m_lines.removeAt(i);
    }
    writeTable();
    if (removeFolder)
        QDir(mountPoint).removeRecursively();
}

void FakeMachine::writeTable() const
{
    // A machine always has its root, its pseudo file systems and a few mounts besides.
    QByteArray table = "sysfs /sys sysfs rw,nosuid,nodev,noexec,relatime 0 0\n"
                       "proc /proc proc rw,nosuid,nodev,noexec,relatime 0 0\n"
                       "tmpfs /run tmpfs rw,nosuid,nodev,size=1620464k,mode=755 0 0\n";
    for (const Line &line : m_lines) {
        table += escapeMountField(line.device).toUtf8() + ' '
            + escapeMountField(line.mountPoint).toUtf8() + ' ' + line.fsType.toUtf8()
            + " rw,relatime 0 0\n";
    }
    writeText(mountTable(), table);
}
