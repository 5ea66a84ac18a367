#ifndef TESTPICTURES_H
#define TESTPICTURES_H

#include <QByteArray>
#include <QString>

/** Pictures and disk trees for the tests, made on the fly. */
namespace TestPictures {

/** The instrument's size of a picture file: a 320 x 240 24-bit BMP padded to this size. */
constexpr qint64 InstrumentFileSize = 307792;
/** The BMP header's file-size field of an instrument picture. */
constexpr quint32 InstrumentHeaderSize = 230454;

/**
 * The bytes of an instrument picture: a 320 x 240 24-bit BMP whose pixels depend on seed,
 * padded with zeros to 307792 bytes.
 */
QByteArray instrumentPicture(int seed = 0);
/** Writes bytes to path, creating the folders on the way. */
bool writeFile(const QString &path, const QByteArray &bytes);

} // namespace TestPictures

#endif // TESTPICTURES_H
