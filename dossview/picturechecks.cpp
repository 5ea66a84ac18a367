#include "picturechecks.h"

#include "ownernamecache.h"
#include "pictureheader.h"
#include "qurlinfo.h"

#include <QFile>
#include <QThread>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <system_error>
#include <thread>
#include <vector>

namespace {

// More threads than this only queue on the same disk.
constexpr int MaxThreads = 4;
// Candidates a thread takes at a time.
constexpr int BatchSize = 64;

using Checked = PictureChecks::Checked;

// The record of one candidate as QFileInfo gives it; only the calling thread may use info
// meanwhile, since QFileInfo fills its status in as it is asked.
Checked checkedByQt(const QFileInfo &info)
{
    if (info.size() != PictureHeader::FileSize)
        return {};
    const QString path = info.absoluteFilePath();
    char header[PictureHeader::HeaderSize];
    PictureHeader::FileTimes times;
    const qint64 length = PictureHeader::readHeader(path, header, &times);
    if (!PictureHeader::isInstrumentPicture(header, length))
        return {};
    auto *record
        = new QUrlInfo(path, int(info.permissions()), QString(), QString(), info.size(),
                       QDateTime(), QDateTime(), info.isDir(), info.isFile(), info.isSymLink(),
                       info.isWritable(), info.isReadable(), info.isExecutable());
    if (times.known) {
        record->setLastModifiedMSecs(times.modified);
        record->setLastReadMSecs(times.read);
    } else {
        record->setLastModified(info.lastModified());
        record->setLastRead(info.lastRead());
    }
    return { record, info.ownerId(), info.groupId() };
}

#ifdef Q_OS_UNIX

// Checks the candidates one thread is given, looking each up in its open directory: the walk
// gives them folder by folder, and a name costs the system less to find than a whole path.
// The file's status comes from the file as opened, and the record says what QFileInfo would.
class CandidateChecker
{
public:
    CandidateChecker() = default;
    CandidateChecker(const CandidateChecker &) = delete;
    CandidateChecker &operator=(const CandidateChecker &) = delete;
    ~CandidateChecker() { closeDirectory(); }

    Checked check(const QFileInfo &info)
    {
        const int directory = openDirectory(info.path());
        if (directory < 0)
            return checkedByQt(info);
        const QByteArray name = QFile::encodeName(info.fileName());
        char header[PictureHeader::HeaderSize];
        struct stat status;
        const qint64 length
            = PictureHeader::readHeaderAt(directory, name.constData(), header, &status);
        if (!PictureHeader::isInstrumentPicture(header, length))
            return {};

        // As QFileInfo: the user's permissions are what access() says, the rest the mode. Two
        // answers are known without asking: the file has just been opened for reading (this
        // program runs with its own ids), and a file without an execute bit is executable by
        // nobody, the superuser included.
        int permissions = modePermissions(status.st_mode) | QFileDevice::ReadUser;
        const bool readable = true;
        bool writable = false;
        bool executable = false;
        bool failed = false; // other than a refusal: QFileInfo asks no further
        if (::faccessat(directory, name.constData(), W_OK, 0) == 0) {
            writable = true;
            permissions |= QFileDevice::WriteUser;
        } else {
            failed = errno != EACCES && errno != EROFS;
        }
        if (!failed && (status.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH))
            && ::faccessat(directory, name.constData(), X_OK, 0) == 0) {
            executable = true;
            permissions |= QFileDevice::ExeUser;
        }

        auto *record = new QUrlInfo(info.absoluteFilePath(), permissions, QString(), QString(),
                                    qint64(status.st_size), QDateTime(), QDateTime(), false,
                                    true, info.isSymLink(), writable, readable, executable);
        const PictureHeader::FileTimes times = PictureHeader::timesOf(status);
        record->setLastModifiedMSecs(times.modified);
        record->setLastReadMSecs(times.read);
        return { record, uint(status.st_uid), uint(status.st_gid) };
    }

private:
    static int modePermissions(mode_t mode)
    {
        int permissions = 0;
        const auto add = [&](mode_t bit, int permission) {
            if (mode & bit)
                permissions |= permission;
        };
        add(S_IRUSR, QFileDevice::ReadOwner);
        add(S_IWUSR, QFileDevice::WriteOwner);
        add(S_IXUSR, QFileDevice::ExeOwner);
        add(S_IRGRP, QFileDevice::ReadGroup);
        add(S_IWGRP, QFileDevice::WriteGroup);
        add(S_IXGRP, QFileDevice::ExeGroup);
        add(S_IROTH, QFileDevice::ReadOther);
        add(S_IWOTH, QFileDevice::WriteOther);
        add(S_IXOTH, QFileDevice::ExeOther);
        return permissions;
    }

    int openDirectory(const QString &path)
    {
        if (path == m_path && m_directory >= 0)
            return m_directory;
        closeDirectory();
        m_path = path;
        do {
            m_directory = ::open(QFile::encodeName(path).constData(),
                                 O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        } while (m_directory < 0 && errno == EINTR);
        return m_directory;
    }

    void closeDirectory()
    {
        if (m_directory >= 0)
            ::close(m_directory);
        m_directory = -1;
    }

    QString m_path;
    int m_directory = -1;
};

#else

class CandidateChecker
{
public:
    Checked check(const QFileInfo &info) { return checkedByQt(info); }
};

#endif

} // namespace

PictureChecks::PictureChecks() = default;

PictureChecks::~PictureChecks()
{
    // Ended without records(): the helpers finish, and what they made goes.
    if (!m_ending)
        qDeleteAll(records());
}

void PictureChecks::add(const QFileInfoList &candidates)
{
    if (candidates.isEmpty())
        return;
    {
        // In small batches, so that the threads share even one long list evenly.
        const std::lock_guard<std::mutex> lock(m_mutex);
        for (int first = 0; first < candidates.size(); first += BatchSize) {
            const QFileInfoList batch = candidates.mid(first, BatchSize);
            m_batches.push_back({ batch, std::vector<Checked>(size_t(batch.size())) });
        }
        m_handedOver += candidates.size();
    }
    m_added.notify_all();
    if (m_helpers.empty() && m_handedOver >= ParallelFrom)
        startHelpers();
}

void PictureChecks::startHelpers()
{
    const int helpers = qBound(1, QThread::idealThreadCount(), MaxThreads) - 1;
    for (int i = 0; i < helpers; ++i) {
        try {
            m_helpers.emplace_back([this] { checkBatches(true); });
        } catch (const std::system_error &) {
            break; // no thread to be had: records() checks what is left
        }
    }
}

PictureChecks::Batch *PictureChecks::takeBatch(bool wait)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (wait)
        m_added.wait(lock, [this] { return m_next < m_batches.size() || m_ending; });
    if (m_next == m_batches.size())
        return nullptr;
    return &m_batches[m_next++];
}

void PictureChecks::checkBatches(bool wait)
{
    CandidateChecker checker;
    while (Batch *batch = takeBatch(wait)) {
        for (int i = 0; i < batch->candidates.size(); ++i)
            batch->checked[size_t(i)] = checker.check(batch->candidates.at(i));
    }
}

QList<QUrlInfo *> PictureChecks::records()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_ending = true;
    }
    m_added.notify_all();
    checkBatches(false);
    for (std::thread &helper : m_helpers)
        helper.join();
    m_helpers.clear();

    OwnerNameCache names;
    QList<QUrlInfo *> records;
    records.reserve(m_handedOver);
    for (const Batch &batch : m_batches) {
        for (int i = 0; i < batch.candidates.size(); ++i) {
            const Checked &found = batch.checked[size_t(i)];
            if (!found.record)
                continue;
            found.record->setOwner(names.owner(found.ownerId, batch.candidates.at(i)));
            found.record->setGroup(names.group(found.groupId, batch.candidates.at(i)));
            records.append(found.record);
        }
    }
    m_batches.clear();
    return records;
}

QList<QUrlInfo *> pictureRecords(const QFileInfoList &candidates)
{
    PictureChecks checks;
    checks.add(candidates);
    return checks.records();
}
