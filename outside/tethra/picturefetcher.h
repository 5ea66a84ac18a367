#ifndef PICTUREFETCHER_H
#define PICTUREFETCHER_H

#include "tethra_global.h"

#include "devicemanager.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>

class QUrlInfo;
struct ImageFile;

/**
 * Reads the pictures a file window asks for. The file is read and decoded on a thread of its own,
 * so a slow or vanishing disk never holds up the GUI thread, and the result is handed back
 * as an ImageFile that the fetcher owns, with the temperatures of the file's block when it has a
 * valid one (read from the same bytes). The last delivered ImageFile stays alive until the
 * next one is delivered or the fetcher goes.
 *
 * Only the newest request of each mode is answered. A file that has vanished, is not a
 * regular file, is too large, lies outside the allowed roots or cannot be decoded yields no
 * picture and no signal.
 */
class TETHRA_EXPORT PictureFetcher : public QObject
{
    Q_OBJECT
public:
    /** Files above this size are not pictures of the instrument and are not read. */
    static constexpr qint64 MaxFileSize = 32 * 1024 * 1024;
    /** Pictures claiming more pixels than this are refused before decoding. */
    static constexpr qint64 MaxPixels = 8192 * 8192;

    explicit PictureFetcher(QObject *parent = nullptr);
    ~PictureFetcher() override;

    /** Remembers the paths of the listed records; the records are not read again later. */
    void setFiles(const QList<QUrlInfo *> &files);
    /** Only files below one of these folders are read; an empty list allows any. */
    void setAllowedRoots(const QStringList &roots) { m_allowedRoots = roots; }
    /**
     * Fetches the picture of a record. A record of the last listing is found by its address
     * alone; any other record is read now, while the caller still holds it.
     */
    void pull(const QUrlInfo *record, DeviceManager::Mode mode);
    /** Drops the answers still under way. */
    void cancel();

    /** Reads under way in this process; their answers are posted before the count drops. */
    static int runningReads();
    /**
     * Reads and decodes one file as pull() does, on the calling thread. Returns false and
     * leaves file untouched when there is no picture to show.
     */
    static bool readPicture(const QString &path, const QStringList &allowedRoots, ImageFile *file);

signals:
    void pictureRead(const ImageFile *file, DeviceManager::Mode mode);

private:
    struct Mailbox;

    Q_INVOKABLE void collect();
    void deliver(quint64 request, DeviceManager::Mode mode, const std::shared_ptr<ImageFile> &file);

    QHash<const QUrlInfo *, QString> m_listedPaths;
    QStringList m_allowedRoots;
    QHash<int, quint64> m_latestRequest;
    quint64 m_nextRequest = 0;
    std::shared_ptr<ImageFile> m_current;
    std::shared_ptr<Mailbox> m_mailbox;
};

#endif // PICTUREFETCHER_H
