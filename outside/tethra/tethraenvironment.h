#ifndef TETHRAENVIRONMENT_H
#define TETHRAENVIRONMENT_H

#include "tethra_global.h"

#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class DeviceBackend;
class QObject;

/**
 * Tethra's configuration, read from TETHRA_ environment variables (see docs/devices.md):
 *
 * - TETHRA_BACKENDS: comma-separated list of "usb" (the machine's removable disks), "demo"
 *   (the demo instrument: its card as a removable disk and its camera) or "none" (no default
 *   backends at all). Unset or empty means "usb".
 * - TETHRA_DEMO_CARD: the demo card's folder, generated when missing.
 * - TETHRA_DEMO_FPS: the demo camera's frame rate, 9 to 25.
 * - TETHRA_SYSFS_ROOT, TETHRA_MOUNTS: the sysfs root and the mount table that disk discovery
 *   reads.
 * - TETHRA_POLL_MS: how often the disks are looked at, in milliseconds.
 */
class TETHRA_EXPORT TethraEnvironment
{
public:
    explicit TethraEnvironment(const QProcessEnvironment &environment
                               = QProcessEnvironment::systemEnvironment());

    bool usbDisks() const { return m_usbDisks; }
    bool demo() const { return m_demo; }
    QString demoCard() const { return m_demoCard; }
    double demoFrameRate() const { return m_demoFrameRate; }
    QString sysfsRoot() const { return m_sysfsRoot; }
    QString mountTable() const { return m_mountTable; }
    int pollInterval() const { return m_pollInterval; }

    /** The backends this configuration asks for; the demo card is generated if missing. */
    QList<DeviceBackend *> createBackends() const;

    /** Where the demo card lives when TETHRA_DEMO_CARD is not set. */
    static QString defaultDemoCard();

private:
    bool m_usbDisks = true;
    bool m_demo = false;
    QString m_demoCard;
    double m_demoFrameRate;
    QString m_sysfsRoot;
    QString m_mountTable;
    int m_pollInterval;
};

#endif // TETHRAENVIRONMENT_H
