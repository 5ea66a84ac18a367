#include "tethraenvironment.h"

#include "democamerabackend.h"
#include "democard.h"
#include "usbdiskbackend.h"

#include <QDir>
#include <QtDebug>

#include <algorithm>

TethraEnvironment::TethraEnvironment(const QProcessEnvironment &environment)
    : m_demoFrameRate(DemoCameraBackend::DefaultFrameRate)
    , m_sysfsRoot(QStringLiteral("/sys"))
    , m_mountTable(QStringLiteral("/proc/self/mounts"))
    , m_pollInterval(UsbDiskBackend::DefaultPollInterval)
{
    const QString backends = environment.value(QStringLiteral("TETHRA_BACKENDS")).trimmed();
    if (!backends.isEmpty()) {
        m_usbDisks = false;
        bool none = false;
        for (const QString &name : backends.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QString key = name.trimmed().toLower();
            if (key == QLatin1String("usb"))
                m_usbDisks = true;
            else if (key == QLatin1String("demo"))
                m_demo = true;
            else if (key == QLatin1String("none"))
                none = true;
            else
                qWarning("TETHRA_BACKENDS: unknown backend \"%s\" ignored", qPrintable(key));
        }
        if (none)
            m_usbDisks = m_demo = false;
    }

    m_demoCard = environment.value(QStringLiteral("TETHRA_DEMO_CARD"));
    if (m_demoCard.isEmpty())
        m_demoCard = defaultDemoCard();
    bool ok = false;
    const double fps = environment.value(QStringLiteral("TETHRA_DEMO_FPS")).toDouble(&ok);
    if (ok)
        m_demoFrameRate
            = std::clamp(fps, DemoCameraBackend::MinFrameRate, DemoCameraBackend::MaxFrameRate);
    m_sysfsRoot = environment.value(QStringLiteral("TETHRA_SYSFS_ROOT"), m_sysfsRoot);
    m_mountTable = environment.value(QStringLiteral("TETHRA_MOUNTS"), m_mountTable);
    const int poll = environment.value(QStringLiteral("TETHRA_POLL_MS")).toInt(&ok);
    if (ok)
        m_pollInterval = std::clamp(poll, 20, 60000);
}

QString TethraEnvironment::defaultDemoCard()
{
    return QDir::temp().filePath(QStringLiteral("calorix-demo-card"));
}

QList<DeviceBackend *> TethraEnvironment::createBackends() const
{
    QList<DeviceBackend *> backends;
    if (m_usbDisks || m_demo) {
        RemovableDiskScanner scanner;
        scanner.setSystemDisks(m_usbDisks);
        scanner.setSysfsRoot(m_sysfsRoot);
        scanner.setMountTable(m_mountTable);
        if (m_demo) {
            QString error;
            if (!DemoCard::exists(m_demoCard)
                && !DemoCard::generate(m_demoCard, DemoCard::DefaultPictureCount, &error))
                qWarning("Demo card not available: %s", qPrintable(error));
            scanner.setExtraDisks({ QDir(m_demoCard).absolutePath() });
        }
        auto *disks = new UsbDiskBackend(scanner);
        disks->setPollInterval(m_pollInterval);
        backends.append(disks);
    }
    // The camera is asked last, so that the live picture opens last and is the window in
    // front when both come up together: the main window hands the readings to the active
    // USB video window only.
    if (m_demo) {
        auto *camera = new DemoCameraBackend;
        camera->setFrameRate(m_demoFrameRate);
        backends.append(camera);
    }
    return backends;
}
