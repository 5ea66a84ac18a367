#ifndef USBDISKBACKEND_H
#define USBDISKBACKEND_H

#include "devicebackend.h"
#include "removablediskscanner.h"

#include <QStringList>
#include <QTimer>

class PictureFetcher;

/**
 * The instrument seen as a USB flash disk (mode UsbFile): the mode is open while at least
 * one removable disk is mounted.
 *
 * After the first open() the disks are watched by polling: a change of the set emits
 * disksFresh, the last disk going emits closed(UsbFile), and a disk arriving while the mode
 * is closed opens it again. close() asked by the user stops the watching until the next
 * open(). opened() is emitted inside open(); the disk list follows from the event loop, so
 * the slow listing it causes in the file window does not run inside tryOpen.
 */
class TETHRA_EXPORT UsbDiskBackend : public DeviceBackend
{
    Q_OBJECT
public:
    static constexpr int DefaultPollInterval = 1000;

    explicit UsbDiskBackend(const RemovableDiskScanner &scanner, QObject *parent = nullptr);
    ~UsbDiskBackend() override;

    int modes() const override { return DeviceManager::UsbFile; }
    int open(int modeMask) override;
    void close(DeviceManager::Mode mode) override;
    bool isOpen(DeviceManager::Mode mode) const override;
    void pullImage(const QUrlInfo *info, DeviceManager::Mode mode) override;
    void setFiles(const QList<QUrlInfo *> &files, DeviceManager::Mode mode) override;

    void setPollInterval(int milliseconds) { m_pollTimer.setInterval(milliseconds); }
    int pollInterval() const { return m_pollTimer.interval(); }
    bool isWatching() const { return m_pollTimer.isActive(); }
    QStringList disks() const { return m_disks; }
    const RemovableDiskScanner &scanner() const { return m_scanner; }

    /** Looks at the disks now, as a poll does. */
    void rescan();

private:
    void openNow();
    void announceDisks();

    RemovableDiskScanner m_scanner;
    QTimer m_pollTimer;
    QTimer m_announceTimer;
    QStringList m_disks;
    bool m_open = false;
    PictureFetcher *m_fetcher = nullptr;
};

#endif // USBDISKBACKEND_H
