#include "usbdiskbackend.h"

#include "imagefile.h"
#include "picturefetcher.h"

UsbDiskBackend::UsbDiskBackend(const RemovableDiskScanner &scanner, QObject *parent)
    : DeviceBackend(parent)
    , m_scanner(scanner)
    , m_fetcher(new PictureFetcher(this))
{
    m_pollTimer.setInterval(DefaultPollInterval);
    connect(&m_pollTimer, &QTimer::timeout, this, &UsbDiskBackend::rescan);
    m_announceTimer.setSingleShot(true);
    m_announceTimer.setInterval(0);
    connect(&m_announceTimer, &QTimer::timeout, this, &UsbDiskBackend::announceDisks);
    connect(m_fetcher, &PictureFetcher::pictureRead, this, &DeviceBackend::imageReadFile);
}

UsbDiskBackend::~UsbDiskBackend() = default;

int UsbDiskBackend::open(int modeMask)
{
    if (!(modeMask & DeviceManager::UsbFile))
        return 0;
    m_pollTimer.start(); // watch from now on, even when no disk is there yet
    if (m_open) {
        emit opened(DeviceManager::UsbFile); // brings its window forward again
        return DeviceManager::UsbFile;
    }
    m_disks = m_scanner.scan();
    if (m_disks.isEmpty())
        return 0;
    openNow();
    return DeviceManager::UsbFile;
}

void UsbDiskBackend::close(DeviceManager::Mode mode)
{
    if (mode != DeviceManager::UsbFile)
        return;
    // Closed by the user: a disk arriving no longer reopens the mode; the next open() does.
    m_pollTimer.stop();
    m_announceTimer.stop();
    m_fetcher->cancel();
    if (!m_open)
        return;
    m_open = false;
    emit closed(DeviceManager::UsbFile);
}

bool UsbDiskBackend::isOpen(DeviceManager::Mode mode) const
{
    return mode == DeviceManager::UsbFile && m_open;
}

void UsbDiskBackend::pullImage(const QUrlInfo *info, DeviceManager::Mode mode)
{
    if (mode != DeviceManager::UsbFile || !m_open)
        return;
    m_fetcher->setAllowedRoots(m_disks);
    m_fetcher->pull(info, mode);
}

void UsbDiskBackend::setFiles(const QList<QUrlInfo *> &files, DeviceManager::Mode mode)
{
    if (mode == DeviceManager::UsbFile)
        m_fetcher->setFiles(files);
}

void UsbDiskBackend::rescan()
{
    const QStringList disks = m_scanner.scan();
    if (disks == m_disks)
        return;
    m_disks = disks;
    if (m_open) {
        if (!m_disks.isEmpty()) {
            m_announceTimer.start();
            return;
        }
        m_open = false;
        m_announceTimer.stop();
        m_fetcher->cancel();
        emit closed(DeviceManager::UsbFile);
    } else if (!m_disks.isEmpty() && m_pollTimer.isActive()) {
        openNow();
    }
}

void UsbDiskBackend::openNow()
{
    m_open = true;
    emit opened(DeviceManager::UsbFile);
    m_announceTimer.start();
}

void UsbDiskBackend::announceDisks()
{
    if (m_open)
        emit disksFresh(m_disks);
}
