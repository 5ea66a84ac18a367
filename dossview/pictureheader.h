#ifndef PICTUREHEADER_H
#define PICTUREHEADER_H

#include "dossview_global.h"

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

} // namespace PictureHeader

#endif // PICTUREHEADER_H
