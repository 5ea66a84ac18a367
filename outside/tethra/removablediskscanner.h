#ifndef REMOVABLEDISKSCANNER_H
#define REMOVABLEDISKSCANNER_H

#include "tethra_global.h"

#include <QList>
#include <QString>
#include <QStringList>

/**
 * Finds the mounted removable disks and returns their root paths.
 *
 * On Linux a mounted volume counts when its block device is removable (the kernel's
 * `removable` attribute of the disk), hangs off a USB bus, or is an SD card; internal disks,
 * loop devices, optical discs and pseudo file systems do not. The mount table and the sysfs
 * root can be pointed elsewhere, which is how the tests fake a machine. On Windows the drive
 * type decides.
 *
 * Extra disks (the demo card) are folders reported as disks while they exist.
 */
class TETHRA_EXPORT RemovableDiskScanner
{
public:
    /** One line of a mount table. */
    struct MountEntry
    {
        QString device;
        QString rootPath;
        QString fsType;
    };

    RemovableDiskScanner();

    /** Whether the machine's own disks are looked at (the extra disks always are). */
    void setSystemDisks(bool enabled) { m_systemDisks = enabled; }
    bool systemDisks() const { return m_systemDisks; }
    /** The sysfs root, "/sys" by default. */
    void setSysfsRoot(const QString &root) { m_sysfsRoot = root; }
    /** A mount table in the format of /proc/self/mounts, "/proc/self/mounts" by default. */
    void setMountTable(const QString &path) { m_mountTable = path; }
    void setExtraDisks(const QStringList &folders) { m_extraDisks = folders; }
    QStringList extraDisks() const { return m_extraDisks; }

    /** The root paths of the removable disks present now, in mount-table order. */
    QStringList scan() const;

    /** Parses a mount table; the octal escapes of blanks in paths are undone. */
    static QList<MountEntry> parseMountTable(const QByteArray &table);
    /** True when the block device (for example "/dev/sdb1") is a removable disk. */
    bool isRemovableDevice(const QString &device) const;

private:
    QStringList scanMountTable() const;
    QString readAttribute(const QString &path) const;

    bool m_systemDisks = true;
    QString m_sysfsRoot;
    QString m_mountTable;
    QStringList m_extraDisks;
};

#endif // REMOVABLEDISKSCANNER_H
