#ifndef FAKEBACKEND_H
#define FAKEBACKEND_H

#include "devicebackend.h"

#include <QList>
#include <QPair>
#include <QSet>
#include <functional>

/**
 * A device backend for tests: opens the modes it is told to, records every call Tethra makes
 * and lets the test look at the world at the moment tryOpen runs.
 */
class FakeBackend : public DeviceBackend
{
    Q_OBJECT
public:
    explicit FakeBackend(int offeredModes = DeviceManager::AllModes, QObject *parent = nullptr);

    int modes() const override { return m_offeredModes; }
    int open(int modeMask) override;
    void close(DeviceManager::Mode mode) override;
    bool isOpen(DeviceManager::Mode mode) const override { return m_open.contains(mode); }
    void pullImage(const QUrlInfo *info, DeviceManager::Mode mode) override;
    void setFiles(const QList<QUrlInfo *> &files, DeviceManager::Mode mode) override;

    /** Modes that open() opens (and announces) when asked; 0 makes tryOpen fail. */
    int modesToOpen = 0;
    /** When false, open() reports success without announcing the modes. */
    bool announceOpened = true;
    /** Called at the start of every open(), with the mask asked for. */
    std::function<void(int)> onOpen;

    /** Forgets that a mode is open without telling anyone, as a device that went away. */
    void dropSilently(DeviceManager::Mode mode) { m_open.remove(mode); }

    QList<int> openRequests;
    QList<DeviceManager::Mode> closeRequests;
    QList<QPair<const QUrlInfo *, DeviceManager::Mode>> pullRequests;
    QList<QPair<QList<QUrlInfo *>, DeviceManager::Mode>> fileLists;

private:
    int m_offeredModes;
    QSet<DeviceManager::Mode> m_open;
};

#endif // FAKEBACKEND_H
