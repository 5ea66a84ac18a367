#ifndef TETHRA_H
#define TETHRA_H

#include "tethra_global.h"

#include "devicemanager.h"
#include "unitcore.h"

#include <QList>

class DeviceBackend;
class QPixmap;
class QUrlInfo;
struct ImageFile;
struct VideoExtendParam;

/**
 * Device access: the only path to the instrument. Opens and closes the access modes through
 * its backends and reports what they deliver. All signals arrive on the GUI thread.
 */
class TETHRA_EXPORT Tethra : public Unitcore
{
    Q_OBJECT
public:
    explicit Tethra(QObject *parent = nullptr);
    ~Tethra() override;

    /**
     * Tries to open the modes named by the mask (a combination of DeviceManager::Mode bits;
     * the program asks for 6, USB files and Wi-Fi video). Returns true when at least one mode
     * opened; each is announced by opened().
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
    DeviceBackend *backendFor(DeviceManager::Mode mode) const;

    QList<DeviceBackend *> m_backends;
};

#endif // TETHRA_H
