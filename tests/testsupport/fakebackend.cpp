#include "fakebackend.h"

FakeBackend::FakeBackend(int offeredModes, QObject *parent)
    : DeviceBackend(parent)
    , m_offeredModes(offeredModes)
{ }

int FakeBackend::open(int modeMask)
{
    openRequests.append(modeMask);
    if (onOpen)
        onOpen(modeMask);
    const int opening = modeMask & modesToOpen;
    for (int bit = 1; bit <= DeviceManager::UsbVideo; bit <<= 1) {
        const auto mode = DeviceManager::Mode(bit);
        if (!(opening & bit) || m_open.contains(mode))
            continue;
        m_open.insert(mode);
        if (announceOpened)
            emit opened(mode);
    }
    return opening;
}

void FakeBackend::close(DeviceManager::Mode mode)
{
    closeRequests.append(mode);
    if (m_open.remove(mode))
        emit closed(mode);
}

void FakeBackend::pullImage(const QUrlInfo *info, DeviceManager::Mode mode)
{
    pullRequests.append({ info, mode });
}

void FakeBackend::setFiles(const QList<QUrlInfo *> &files, DeviceManager::Mode mode)
{
    fileLists.append({ files, mode });
}
