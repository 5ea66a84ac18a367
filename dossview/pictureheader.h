#ifndef PICTUREHEADER_H
#define PICTUREHEADER_H

#include "dossview_global.h"

#include <QString>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

/**
 * The instrument's picture files: BMP files of exactly FileSize bytes whose BMP header declares
 * DeclaredSize bytes in its file-size field. Only the first HeaderSize bytes are examined.
 */
namespace PictureHeader {

constexpr qint64 FileSize = 307792;
constexpr qint64 HeaderSize = 54;
constexpr quint32 DeclaredSize = 230454;

/**
 * True when header, of length bytes as they came back from reading the start of a file, is the
 * header of an instrument picture: exactly HeaderSize bytes, and the 32-bit little-endian value
 * at offset 2 is DeclaredSize. Any buffer is safe to pass; nothing beyond length is read.
 */
DOSSVIEW_EXPORT bool isInstrumentPicture(const char *header, qint64 length);

/** A file's modification and access times in milliseconds since the epoch, when known. */
struct FileTimes
{
    qint64 modified = 0;
    qint64 read = 0;
    bool known = false;
};

/**
 * Reads the first HeaderSize bytes of the regular file at path into header (room for
 * HeaderSize bytes) and returns how many came back, or -1 when it is not a regular file or
 * cannot be opened or read. Nothing past the header is read, and a file that turned into a
 * pipe or a device meanwhile does not hold the call up. Where the system tells them, times
 * gets the file's times as they stood before the read.
 */
DOSSVIEW_EXPORT qint64 readHeader(const QString &path, char *header, FileTimes *times);

#ifdef Q_OS_UNIX
/**
 * As readHeader(), for the file name in the open directory directory (or AT_FDCWD), and only
 * when it is a regular file of exactly FileSize bytes; -1 otherwise. status gets the file's
 * status as it stood before the read, whenever the file could be opened.
 */
DOSSVIEW_EXPORT qint64 readHeaderAt(int directory, const char *name, char *header,
                                    struct stat *status);
/** The times of a file's status. */
DOSSVIEW_EXPORT FileTimes timesOf(const struct stat &status);
#endif

} // namespace PictureHeader

#endif // PICTUREHEADER_H
