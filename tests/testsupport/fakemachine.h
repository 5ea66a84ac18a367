#ifndef FAKEMACHINE_H
#define FAKEMACHINE_H

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

/**
 * A machine's disks for the discovery tests: a sysfs tree with block devices on the bus the
 * test chooses, a mount table in the format of /proc/self/mounts, and the mount points as
 * folders, all inside one temporary folder.
 */
class FakeMachine
{
public:
    enum Bus { Usb, Sata, Nvme, Mmc, Virtual };

    FakeMachine();

    bool isValid() const { return m_dir.isValid(); }
    QString sysfsRoot() const { return m_dir.filePath(QStringLiteral("sys")); }
    QString mountTable() const { return m_dir.filePath(QStringLiteral("mounts")); }
    /** Where the mount points are made. */
    QString mediaRoot() const { return m_dir.filePath(QStringLiteral("media")); }

    /**
     * Adds a block device such as "sdb" under sysfs. mmcType is the "device/type" of an MMC
     * device ("SD" or "MMC").
     */
    void addDisk(const QString &disk, Bus bus, bool removable, const QString &mmcType = QString());
    /** Adds a partition such as "sdb1" of a disk added before. */
    void addPartition(const QString &disk, const QString &partition);

    /**
     * Mounts a device (for example "/dev/sdb1") on a new folder named label under mediaRoot
     * and rewrites the mount table. Returns the mount point.
     */
    QString mount(const QString &device, const QString &label,
                  const QString &fsType = QStringLiteral("vfat"));
    /** Removes a mount point's line from the mount table; the folder stays unless told. */
    void unmount(const QString &mountPoint, bool removeFolder = false);

private:
    struct Line
    {
        QString device;
        QString mountPoint;
        QString fsType;
    };

    QString devicePath(const QString &name) const;
    void writeTable() const;

    QTemporaryDir m_dir;
    QList<Line> m_lines;
};

#endif // FAKEMACHINE_H
