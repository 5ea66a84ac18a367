#include "tethra.h"

#include "devicebackend.h"
#include "imagefile.h"
#include "livefeed.h"
#include "outsidetypes.h"
#include "qurlinfo.h"
#include "tethraenvironment.h"
#include "videoextendparam.h"

#include <QElapsedTimer>
#include <QPixmap>

#include <utility>

Tethra::Tethra(QObject *parent)
    : Tethra(TethraEnvironment(), parent)
{ }

Tethra::Tethra(const TethraEnvironment &environment, QObject *parent)
    : Unitcore(parent)
{
    registerOutsideMetaTypes();
    for (DeviceBackend *backend : environment.createBackends())
        addBackend(backend);
}

Tethra::~Tethra() = default;

void Tethra::addBackend(DeviceBackend *backend)
{
    backend->setParent(this);
    m_backends.append(backend);
    connect(backend, &DeviceBackend::opened, this, &Tethra::announceOpened);
    connect(backend, &DeviceBackend::closed, this, &Tethra::closed);
    connect(backend, &DeviceBackend::imageReadFile, this, &Tethra::imageReadFile);
    connect(backend, &DeviceBackend::imageReadVideo, this, &Tethra::imageReadVideo);
    connect(backend, &DeviceBackend::disksFresh, this, &Tethra::disksFresh);
    connect(backend, &DeviceBackend::updateExtendParam, this, &Tethra::updateExtendParam);
    // The live windows' own feed, besides what the main window hands to the one in front.
    connect(backend, &DeviceBackend::liveReading, LiveFeed::instance(), &LiveFeed::publish);
}

bool Tethra::tryOpen(int modeMask)
{
    // The receivers of opened() build windows, which may take long on a slow machine; they
    // hear of the modes once probing is over, so that only the backends' own time counts.
    m_probing = true;
    QElapsedTimer clock;
    clock.start();
    int openedModes = 0;
    int servedModes = 0; // the requested modes that have come up, on their link or the other
    for (DeviceBackend *backend : qAsConst(m_backends)) {
        if (clock.hasExpired(TryOpenBudget)) {
            qWarning("Tethra: device probing took longer than %d ms; some backends not asked",
                     TryOpenBudget);
            break;
        }
        // A mode that an earlier backend served is not asked of another one.
        const int wanted = requestFor(modeMask & ~servedModes, backend->modes());
        if (!wanted)
            continue;
        const int opened = backend->open(wanted) & wanted;
        openedModes |= opened;
        servedModes |= servedBy(modeMask, opened);
    }
    m_probing = false;
    const QList<DeviceManager::Mode> held = std::exchange(m_heldOpened, {});
    for (DeviceManager::Mode mode : held)
        emit opened(mode);
    return openedModes != 0;
}

int Tethra::requestFor(int requested, int offered)
{
    int request = requested & offered;
    // The instrument answers on the link it is attached to: a kind of access asked for on a
    // link this backend does not have is asked for on the link it has.
    for (int kind : { int(DeviceManager::FileMask), int(DeviceManager::VideoMask) }) {
        if ((requested & kind) && !(request & kind))
            request |= offered & kind;
    }
    return request;
}

int Tethra::servedBy(int requested, int opened)
{
    int served = requested & opened;
    for (int kind : { int(DeviceManager::FileMask), int(DeviceManager::VideoMask) }) {
        if (opened & kind & ~requested)
            served |= requested & kind;
    }
    return served;
}

void Tethra::announceOpened(DeviceManager::Mode mode)
{
    if (m_probing)
        m_heldOpened.append(mode);
    else
        emit opened(mode);
}

void Tethra::close()
{
    for (DeviceManager::Mode mode : { DeviceManager::WifiFile, DeviceManager::WifiVideo,
                                      DeviceManager::UsbFile, DeviceManager::UsbVideo })
        close(mode);
}

void Tethra::close(DeviceManager::Mode mode)
{
    if (DeviceBackend *backend = backendFor(mode))
        backend->close(mode);
}

bool Tethra::modeIsActived(DeviceManager::Mode mode) const
{
    const DeviceBackend *backend = backendFor(mode);
    return backend && backend->isOpen(mode);
}

void Tethra::pullImage(const QObject *info, DeviceManager::Mode mode)
{
    // The record travels under the QObject pointer type but is a QUrlInfo; only here is it
    // turned back, and never dereferenced as a QObject.
    const auto *record = reinterpret_cast<const QUrlInfo *>(info);
    if (DeviceBackend *backend = backendFor(mode))
        backend->pullImage(record, mode);
}

void Tethra::setFiles(QList<QUrlInfo *> files, DeviceManager::Mode mode)
{
    if (DeviceBackend *backend = backendFor(mode))
        backend->setFiles(files, mode);
}

DeviceBackend *Tethra::backendFor(DeviceManager::Mode mode) const
{
    // The first backend that offers a mode serves it; an open one wins over one that is not.
    DeviceBackend *offering = nullptr;
    for (DeviceBackend *backend : m_backends) {
        if (!(backend->modes() & mode))
            continue;
        if (backend->isOpen(mode))
            return backend;
        if (!offering)
            offering = backend;
    }
    return offering;
}
