#include "pictureheader.h"

#include <QFile>
#include <QtEndian>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

bool PictureHeader::isInstrumentPicture(const char *header, qint64 length)
{
    if (!header || length != HeaderSize)
        return false;
    return qFromLittleEndian<quint32>(header + 2) == DeclaredSize;
}

#ifdef Q_OS_UNIX

namespace {

qint64 msecsOf(const timespec &time)
{
    return qint64(time.tv_sec) * 1000 + time.tv_nsec / 1000000;
}

// Opens name in directory without waiting on a pipe or taking a terminal, and reads the header
// when the file passes accept.
template<typename Accept>
qint64 readOpened(int directory, const char *name, char *header, struct stat *status,
                  Accept accept)
{
    int fd;
    do {
        fd = ::openat(directory, name, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return -1;

    qint64 length = -1;
    if (::fstat(fd, status) == 0 && accept(*status)) {
        length = 0;
        while (length < PictureHeader::HeaderSize) {
            const ssize_t got = ::pread(fd, header + length,
                                        size_t(PictureHeader::HeaderSize - length), length);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                length = -1;
            if (got <= 0)
                break;
            length += got;
        }
    }
    ::close(fd);
    return length;
}

} // namespace

qint64 PictureHeader::readHeader(const QString &path, char *header, FileTimes *times)
{
    // Plain system calls: a QFile costs several times as much for 54 bytes.
    struct stat status;
    const qint64 length = readOpened(AT_FDCWD, QFile::encodeName(path).constData(), header,
                                     &status,
                                     [](const struct stat &s) { return S_ISREG(s.st_mode); });
    if (length >= 0 && times)
        *times = timesOf(status);
    return length;
}

PictureHeader::FileTimes PictureHeader::timesOf(const struct stat &status)
{
    FileTimes times;
    times.modified = msecsOf(status.st_mtim);
    times.read = msecsOf(status.st_atim);
    times.known = true;
    return times;
}

qint64 PictureHeader::readHeaderAt(int directory, const char *name, char *header,
                                   struct stat *status)
{
    return readOpened(directory, name, header, status, [](const struct stat &s) {
        return S_ISREG(s.st_mode) && s.st_size == FileSize;
    });
}

#else

qint64 PictureHeader::readHeader(const QString &path, char *header, FileTimes *)
{
    // Unbuffered, so that no more than the header is read from the disk.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return -1;
    return file.read(header, HeaderSize);
}

#endif
