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

} // namespace

qint64 PictureHeader::readHeader(const QString &path, char *header, FileTimes *times)
{
    // Plain system calls: a QFile costs several times as much for 54 bytes. Non-blocking, so
    // that opening a pipe does not wait for a writer.
    const QByteArray name = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return -1;

    qint64 length = -1;
    struct stat status;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        if (times) {
            times->modified = msecsOf(status.st_mtim);
            times->read = msecsOf(status.st_atim);
            times->known = true;
        }
        length = 0;
        while (length < HeaderSize) {
            const ssize_t got = ::pread(fd, header + length, size_t(HeaderSize - length), length);
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
