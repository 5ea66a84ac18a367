#include "removablediskscanner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#ifdef Q_OS_WIN
#include <QStorageInfo>
#include <qt_windows.h>
#endif

namespace {

// Undoes the \040-style escapes the kernel writes for blanks and backslashes in paths.
QString unescapeMountField(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (int i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = false;
            const int value = digits.toInt(&ok, 8);
            if (ok && digits.size() == 3) {
                out.append(char(value));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QString::fromUtf8(out);
}

bool isOpticalOrPseudo(const QString &fsType)
{
    static const QStringList skipped
        = { QStringLiteral("iso9660"), QStringLiteral("udf"),      QStringLiteral("squashfs"),
            QStringLiteral("tmpfs"),   QStringLiteral("devtmpfs"), QStringLiteral("overlay") };
    return skipped.contains(fsType);
}

} // namespace

RemovableDiskScanner::RemovableDiskScanner()
    : m_sysfsRoot(QStringLiteral("/sys"))
    , m_mountTable(QStringLiteral("/proc/self/mounts"))
{ }

QStringList RemovableDiskScanner::scan() const
{
    QStringList disks;
    if (m_systemDisks) {
#ifdef Q_OS_WIN
        for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
            const QString root = volume.rootPath();
            if (volume.isValid() && volume.isReady()
                && GetDriveTypeW(
                       reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(root).utf16()))
                    == DRIVE_REMOVABLE)
                disks.append(root);
        }
#else
        disks = scanMountTable();
#endif
    }
    for (const QString &folder : m_extraDisks) {
        if (QFileInfo(folder).isDir() && !disks.contains(folder))
            disks.append(folder);
    }
    return disks;
}

QStringList RemovableDiskScanner::scanMountTable() const
{
    // The table is read directly rather than through QStorageInfo::mountedVolumes(), which
    // calls statfs() on every mount of the machine; a hung network share would then stall
    // the GUI thread on every poll. Only the candidates are touched here.
    QFile file(m_mountTable);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // /proc files report no size; read up to a generous bound.
    const QByteArray table = file.read(4 * 1024 * 1024);

    QStringList disks;
    QStringList devices;
    for (const MountEntry &entry : parseMountTable(table)) {
        if (!entry.device.startsWith(QLatin1String("/dev/")) || isOpticalOrPseudo(entry.fsType))
            continue;
        if (devices.contains(entry.device) || disks.contains(entry.rootPath))
            continue; // a bind mount or a second mount of the same disk
        if (!isRemovableDevice(entry.device) || !QFileInfo(entry.rootPath).isDir())
            continue;
        devices.append(entry.device);
        disks.append(entry.rootPath);
    }
    return disks;
}

QList<RemovableDiskScanner::MountEntry>
RemovableDiskScanner::parseMountTable(const QByteArray &table)
{
    QList<MountEntry> entries;
    for (const QByteArray &line : table.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3 || fields.first().startsWith('#'))
            continue;
        entries.append({ unescapeMountField(fields[0]), unescapeMountField(fields[1]),
                         QString::fromUtf8(fields[2]) });
    }
    return entries;
}

bool RemovableDiskScanner::isRemovableDevice(const QString &device) const
{
    // /dev/disk/by-label/STICK and the like are links to the real node.
    QString node = device;
    const QFileInfo nodeInfo(device);
    if (nodeInfo.isSymLink())
        node = nodeInfo.canonicalFilePath();
    const QString name = QFileInfo(node).fileName();
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        return false;

    // /sys/class/block/<name> links into the device tree, whose path shows the bus.
    const QFileInfo classEntry(m_sysfsRoot + QStringLiteral("/class/block/") + name);
    const QString devicePath = classEntry.canonicalFilePath();
    if (devicePath.isEmpty())
        return false;
    const QString diskPath = QFileInfo(devicePath + QStringLiteral("/partition")).exists()
        ? QFileInfo(devicePath).absolutePath()
        : devicePath;

    if (readAttribute(diskPath + QStringLiteral("/removable")) == QLatin1String("1"))
        return true;
    static const QRegularExpression usbBus(QStringLiteral("^usb\\d+$"));
    const QString relative = devicePath.mid(QFileInfo(m_sysfsRoot).canonicalFilePath().size());
    for (const QString &part : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (usbBus.match(part).hasMatch())
            return true;
    }
    // An SD card in a built-in reader reports removable 0; an eMMC chip says "MMC" here.
    return readAttribute(diskPath + QStringLiteral("/device/type")) == QLatin1String("SD");
}

QString RemovableDiskScanner::readAttribute(const QString &path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.read(64)).trimmed();
}
