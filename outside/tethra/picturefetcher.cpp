#include "picturefetcher.h"

#include "imagefile.h"
#include "qurlinfo.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QImageReader>
#include <QtConcurrent/QtConcurrentRun>

PictureFetcher::PictureFetcher(QObject *parent)
    : QObject(parent)
{ }

PictureFetcher::~PictureFetcher() = default;

void PictureFetcher::setFiles(const QList<QUrlInfo *> &files)
{
    m_listedPaths.clear();
    for (const QUrlInfo *record : files) {
        if (record)
            m_listedPaths.insert(record, record->name());
    }
}

void PictureFetcher::pull(const QUrlInfo *record, DeviceManager::Mode mode)
{
    if (!record)
        return;
    const auto listed = m_listedPaths.constFind(record);
    const QString path = listed != m_listedPaths.cend() ? *listed : record->name();
    const quint64 request = ++m_nextRequest;
    m_latestRequest.insert(mode, request);

    const QStringList roots = m_allowedRoots;
    // A shared pointer as the result, so an answer that nobody collects is still freed.
    using Result = std::shared_ptr<ImageFile>;
    auto *watcher = new QFutureWatcher<Result>(this);
    connect(watcher, &QFutureWatcher<Result>::finished, this, [this, watcher, request, mode] {
        deliver(request, mode, watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run([path, roots]() -> Result {
        auto file = std::make_shared<ImageFile>();
        return readPicture(path, roots, file.get()) ? file : nullptr;
    }));
}

void PictureFetcher::cancel()
{
    m_latestRequest.clear();
}

void PictureFetcher::deliver(quint64 request, DeviceManager::Mode mode,
                             const std::shared_ptr<ImageFile> &file)
{
    if (m_latestRequest.value(mode) != request)
        return;
    m_latestRequest.remove(mode);
    if (!file)
        return;
    // The previous picture goes only after the new one has been handed over.
    const std::shared_ptr<ImageFile> previous = m_current;
    m_current = file;
    emit pictureRead(m_current.get(), mode);
}

bool PictureFetcher::readPicture(const QString &path, const QStringList &allowedRoots,
                                 ImageFile *file)
{
    // Never trust the disk: no devices, pipes or huge files, and no links out of the disk.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() <= 0 || info.size() > MaxFileSize)
        return false;
    if (!allowedRoots.isEmpty()) {
        const QString canonical = info.canonicalFilePath();
        bool inside = false;
        for (const QString &root : allowedRoots) {
            QString base = QFileInfo(root).canonicalFilePath();
            if (base.isEmpty())
                continue;
            if (!base.endsWith(QLatin1Char('/')))
                base += QLatin1Char('/');
            inside = inside || canonical.startsWith(base);
        }
        if (!inside)
            return false;
    }

    QFile source(path);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = source.read(MaxFileSize + 1);
    if (bytes.isEmpty() || bytes.size() > MaxFileSize)
        return false;

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > MaxPixels)
        return false;
    QImage image = reader.read();
    if (image.isNull())
        return false;

    file->image = image;
    file->path = path;
    file->size = bytes.size();
    return true;
}
