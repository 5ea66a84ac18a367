#include "picturefetcher.h"

#include "imagefile.h"
#include "qurlinfo.h"
#include "thermogramformat.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace {

std::atomic<int> runningReadThreads { 0 };

} // namespace

/**
 * Where the reading threads leave their answers. It outlives the fetcher while a thread still
 * holds it; owner is cleared when the fetcher goes, and answers for nobody are dropped.
 * A plain std::mutex guards it, so the hand-over is one that thread checkers can follow.
 */
struct PictureFetcher::Mailbox
{
    struct Answer
    {
        quint64 request;
        DeviceManager::Mode mode;
        std::shared_ptr<ImageFile> file;
    };

    std::mutex mutex;
    PictureFetcher *owner = nullptr;
    std::vector<Answer> answers;
};

PictureFetcher::PictureFetcher(QObject *parent)
    : QObject(parent)
    , m_mailbox(std::make_shared<Mailbox>())
{
    m_mailbox->owner = this;
}

PictureFetcher::~PictureFetcher()
{
    const std::lock_guard<std::mutex> lock(m_mailbox->mutex);
    m_mailbox->owner = nullptr;
}

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

    // The thread gets deep copies, so no string data is shared across threads.
    QString ownPath(path.constData(), path.size());
    QStringList ownRoots;
    for (const QString &root : qAsConst(m_allowedRoots))
        ownRoots << QString(root.constData(), root.size());

    // One short-lived thread per request: a read that hangs on a dying disk holds up nothing
    // but itself, and its answer is dropped when a newer request or a close came meanwhile.
    ++runningReadThreads;
    std::thread([mailbox = m_mailbox, path = std::move(ownPath), roots = std::move(ownRoots),
                 request, mode] {
        auto file = std::make_shared<ImageFile>();
        if (!readPicture(path, roots, file.get()))
            file.reset();
        {
            const std::lock_guard<std::mutex> lock(mailbox->mutex);
            if (mailbox->owner) {
                mailbox->answers.push_back({ request, mode, std::move(file) });
                // Queued by name: the call event is then made and read inside Qt alone.
                QMetaObject::invokeMethod(mailbox->owner, "collect", Qt::QueuedConnection);
            }
        }
        --runningReadThreads;
    }).detach();
}

int PictureFetcher::runningReads()
{
    return runningReadThreads;
}

void PictureFetcher::collect()
{
    std::vector<Mailbox::Answer> answers;
    {
        const std::lock_guard<std::mutex> lock(m_mailbox->mutex);
        answers.swap(m_mailbox->answers);
    }
    for (const Mailbox::Answer &answer : answers)
        deliver(answer.request, answer.mode, answer.file);
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
    // The measurement comes from the same bytes; a picture without one still shows.
    file->thermogram = ThermogramFormat::read(bytes).value_or(Thermogram());
    file->thermogramDamaged = !file->thermogram.isValid() && ThermogramFormat::hasBlock(bytes);
    return true;
}
