#include "picturerecords.h"

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

// Below this many candidates, starting threads costs more than it saves.
constexpr int ParallelFrom = 512;
constexpr int MaxThreads = 4;

// What a check finds out about a candidate: its record, when it is a picture, without owner and
// group names, and the ids to name them by.
struct Checked
{
    QUrlInfo *record = nullptr;
    uint ownerId = uint(-2);
    uint groupId = uint(-2);
};

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

QList<QUrlInfo *> pictureRecords(const QFileInfoList &candidates)
{
    const int count = candidates.size();
    std::vector<Checked> checked(static_cast<size_t>(count));
    const int stride
        = count < ParallelFrom ? 1 : qBound(1, QThread::idealThreadCount(), MaxThreads);
    // Every stride-th candidate from first on: each candidate is touched by one thread only.
    const auto check = [&](int first) {
        CandidateChecker checker;
        for (int i = first; i < count; i += stride)
            checked[size_t(i)] = checker.check(candidates.at(i));
    };

    std::vector<std::thread> helpers;
    std::vector<int> ownShares { 0 };
    for (int share = 1; share < stride; ++share) {
        try {
            helpers.emplace_back(check, share);
        } catch (const std::system_error &) {
            ownShares.push_back(share); // no thread to be had: this one does that share too
        }
    }
    for (int share : ownShares)
        check(share);
    for (std::thread &helper : helpers)
        helper.join();

    OwnerNameCache names;
    QList<QUrlInfo *> records;
    records.reserve(count);
    for (int i = 0; i < count; ++i) {
        const Checked &found = checked[size_t(i)];
        QUrlInfo *record = found.record;
        if (!record)
            continue;
        record->setOwner(names.owner(found.ownerId, candidates.at(i)));
        record->setGroup(names.group(found.groupId, candidates.at(i)));
        records.append(record);
    }
    return records;
}
