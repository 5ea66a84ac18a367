#ifndef TETHRA_H
#define TETHRA_H

#include "tethra_global.h"

#include "devicemanager.h"
#include "unitcore.h"

#include <QList>

class DeviceBackend;
class TethraEnvironment;
class QPixmap;
class QUrlInfo;
struct ImageFile;
struct VideoExtendParam;

/**
 * Device access: the only path to the instrument. Opens and closes the access modes through
 * its backends and reports what they deliver. All signals arrive on the GUI thread.
 *
 * The default backends come from the TETHRA_ environment variables (TethraEnvironment);
 * TETHRA_BACKENDS=none leaves Tethra without any, for tests that add their own.
 *
 * Pictures are delivered as ImageFile objects that Tethra owns: each stays valid at least
 * until the next picture of the same backend has been delivered. A file that cannot be read
 * or decoded yields no imageReadFile at all.
 *
 * Besides updateExtendParam, the readings of every live frame go to the LiveFeed with their
 * mode and the frame's temperature plane, where the live windows take them.
 */
class TETHRA_EXPORT Tethra : public Unitcore
{
    Q_OBJECT
public:
    /** Milliseconds after which tryOpen() asks no further backend. */
    static constexpr int TryOpenBudget = 1000;

    /** Creates the default backends that the process environment asks for. */
    explicit Tethra(QObject *parent = nullptr);
    /** Creates the default backends of the given configuration. */
    explicit Tethra(const TethraEnvironment &environment, QObject *parent = nullptr);
    ~Tethra() override;

    /**
     * Tries to open the modes named by the mask, a combination of DeviceManager::Mode bits:
     * 1 Wi-Fi files, 2 Wi-Fi video, 4 USB files, 8 USB video. The program asks for 6, USB files
     * and Wi-Fi video. Every backend offering a requested mode is asked in turn; a mode that
     * is already open counts as opened and is announced again.
     *
     * The link bits say where the access is wanted; a device answers on the link it is
     * attached to. A backend that offers a requested kind of access (files, video) only on the
     * other link is asked for it there, and the mode that opens is the one announced: the
     * demo camera, a USB camera, opens USB video (8) for the program's 6.
     *
     * Returns true when at least one mode opened. Each is announced by opened(), inside this
     * call (once every backend has been asked) or later from the event loop. The backends
     * answer without waiting for devices, so the call returns quickly; backends are no longer
     * asked once they have taken a second between them.
     */
    bool tryOpen(int modeMask);
    /** Closes every open mode. */
    void close() override;
    /** Closes one mode; closed() follows when it was open. Harmless otherwise. */
    void close(DeviceManager::Mode mode);
    bool modeIsActived(DeviceManager::Mode mode) const;
    /** info is the QUrlInfo record of the chosen file, carried as an opaque pointer. */
    void pullImage(const QObject *info, DeviceManager::Mode mode);
    void setFiles(QList<QUrlInfo *> files, DeviceManager::Mode mode);

    /** Takes ownership of a backend and passes its reports on. */
    void addBackend(DeviceBackend *backend);
    QList<DeviceBackend *> backends() const { return m_backends; }

signals:
    void opened(DeviceManager::Mode mode);
    void closed(DeviceManager::Mode mode);
    void imageReadFile(const ImageFile *file, DeviceManager::Mode mode);
    void imageReadVideo(const QPixmap &pixmap, DeviceManager::Mode mode);
    void disksFresh(const QStringList &disks);
    void updateExtendParam(const VideoExtendParam &param);

private:
    /** The modes to ask of a backend offering offered when requested are wanted. */
    static int requestFor(int requested, int offered);
    /** The requested modes that the modes opened stand for. */
    static int servedBy(int requested, int opened);
    DeviceBackend *backendFor(DeviceManager::Mode mode) const;
    void announceOpened(DeviceManager::Mode mode);

    QList<DeviceBackend *> m_backends;
    bool m_probing = false;
    QList<DeviceManager::Mode> m_heldOpened;
};

#endif // TETHRA_H
