#ifndef DEVICEBACKEND_H
#define DEVICEBACKEND_H

#include "tethra_global.h"

#include "devicemanager.h"

#include <QList>
#include <QObject>

class QPixmap;
class QUrlInfo;
struct ImageFile;
struct LiveReading;
struct VideoExtendParam;

/**
 * One way of reaching the instrument (a USB disk watcher, a camera, the demo instrument...).
 * Tethra owns its backends, asks them to open and close modes and passes on what they report.
 * A backend reports on the GUI thread.
 */
class TETHRA_EXPORT DeviceBackend : public QObject
{
    Q_OBJECT
public:
    explicit DeviceBackend(QObject *parent = nullptr);
    ~DeviceBackend() override;

    /** The modes this backend can offer, as a mask of DeviceManager::Mode bits. */
    virtual int modes() const = 0;
    /**
     * Tries to open the modes of the mask that it offers, without blocking for long, and
     * announces each one that opened with opened(). Returns the mask of modes now open.
     */
    virtual int open(int modeMask) = 0;
    /** Closes a mode; emits closed() when it was open, and is harmless otherwise. */
    virtual void close(DeviceManager::Mode mode) = 0;
    virtual bool isOpen(DeviceManager::Mode mode) const = 0;
    /** Fetches the picture the record names; the answer comes as imageReadFile(). */
    virtual void pullImage(const QUrlInfo *info, DeviceManager::Mode mode);
    /** The pictures a file window now lists for the mode. */
    virtual void setFiles(const QList<QUrlInfo *> &files, DeviceManager::Mode mode);

signals:
    void opened(DeviceManager::Mode mode);
    void closed(DeviceManager::Mode mode);
    void imageReadFile(const ImageFile *file, DeviceManager::Mode mode);
    void imageReadVideo(const QPixmap &pixmap, DeviceManager::Mode mode);
    void disksFresh(const QStringList &disks);
    void updateExtendParam(const VideoExtendParam &param);
    /** What a video mode measured in its latest frame; Tethra puts it on the LiveFeed. */
    void liveReading(DeviceManager::Mode mode, const LiveReading &reading);
};

#endif // DEVICEBACKEND_H
