#ifndef THERMOGRAMFORMAT_H
#define THERMOGRAMFORMAT_H

#include "thermography_global.h"

#include "thermogram.h"

#include <QByteArray>
#include <optional>

class QString;

/**
 * The instrument's temperature block, the one place that knows its layout.
 *
 * An instrument picture file is a 24-bit BMP whose header declares DeclaredBmpSize bytes,
 * padded to FileSize; the block starts right after the declared BMP. All numbers are little
 * endian; the layout is documented in docs/devices.md. The reader checks every size, count,
 * value range and the checksum against the bytes it was given before it takes anything, and
 * answers std::nullopt ("no temperature data") for anything else: zeros, another instrument's
 * trailer, a damaged or truncated block.
 */
class THERMOGRAPHY_EXPORT ThermogramFormat
{
public:
    static constexpr qint64 FileSize = 307792;
    static constexpr qint64 DeclaredBmpSize = 230454;
    static constexpr qint64 BlockCapacity = FileSize - DeclaredBmpSize; // 77338

    static constexpr char Magic[9] = "CLXTHERM";
    static constexpr quint16 Version = 1;

    // Header fields: byte offsets from the block's start.
    static constexpr int MagicAt = 0; // 8 bytes
    static constexpr int VersionAt = 8; // u16
    static constexpr int HeaderSizeAt = 10; // u16, HeaderSize
    static constexpr int WidthAt = 12; // u16, cells across
    static constexpr int HeightAt = 14; // u16, cells down
    static constexpr int UnitAt = 16; // u32, millionths of a degree per count
    static constexpr int OffsetAt = 20; // i32, thousandths of a degree at count 0
    static constexpr int EmissivityAt = 24; // u16, ten-thousandths
    static constexpr int ReservedAt = 26; // u16, zero
    static constexpr int ReflectedAt = 28; // i32, thousandths of a degree
    static constexpr int AmbientAt = 32; // i32, thousandths of a degree
    static constexpr int DistanceAt = 36; // u32, millimetres
    static constexpr int CaptureTimeAt = 40; // i64, milliseconds since 1970 UTC
    static constexpr int PlaneBytesAt = 48; // u32, 2 x width x height
    static constexpr int Reserved2At = 52; // 8 bytes, zero
    static constexpr int ChecksumAt = 60; // u32, CRC-32 of the header before it and the plane
    static constexpr int HeaderSize = 64; // the plane follows: u16 counts, row by row from the top

    static constexpr int MaxPlaneSide = 1024;
    static constexpr quint32 MaxMicroDegreesPerCount = 100000; // 0.1 degree or finer
    static constexpr double MinCelsius = -100.0; // every temperature of a block lies in here
    static constexpr double MaxCelsius = 1000.0;
    static constexpr quint16 MinEmissivity = 100; // 0.01
    static constexpr quint16 MaxEmissivity = 10000; // 1.00
    static constexpr quint32 MaxDistanceMillimetres = 1000000;
    static constexpr qint64 EarliestCapture = 946684800000; // 2000-01-01 UTC
    static constexpr qint64 LatestCapture = 4102444800000; // 2100-01-01 UTC

    /** Reads the block of a whole instrument picture file. */
    static std::optional<Thermogram> read(const char *file, qint64 size);
    static std::optional<Thermogram> read(const QByteArray &file);
    /**
     * Whether a whole file is an instrument picture whose block starts with the magic: then a
     * file that read() refuses holds a damaged block rather than none. Says nothing about
     * whether the block is usable.
     */
    static bool hasBlock(const QByteArray &file);
    /** Reads the block of the file at path (a regular file of FileSize bytes). */
    static std::optional<Thermogram> readFile(const QString &path);
    /** Reads a block that starts at block; the bytes after it are not looked at. */
    static std::optional<Thermogram> readBlock(const char *block, qint64 size);

    /**
     * The block's bytes for a thermogram, to be put at DeclaredBmpSize; empty when the
     * thermogram is not one the reader would accept.
     */
    static QByteArray writeBlock(const Thermogram &thermogram);
    /** CRC-32 (as zlib) of bytes, continuing from crc. */
    static quint32 crc32(const char *bytes, qint64 size, quint32 crc = 0);
};

#endif // THERMOGRAMFORMAT_H
