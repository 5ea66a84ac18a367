#include "thermogramformat.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cmath>
#include <cstring>

#include <zlib.h>

namespace {

template <typename T> T field(const char *block, int at)
{
    return qFromLittleEndian<T>(block + at);
}

bool inRange(double celsius)
{
    return celsius >= ThermogramFormat::MinCelsius && celsius <= ThermogramFormat::MaxCelsius;
}

bool allZero(const char *bytes, int size)
{
    for (int i = 0; i < size; ++i) {
        if (bytes[i])
            return false;
    }
    return true;
}

} // namespace

constexpr char ThermogramFormat::Magic[9];

quint32 ThermogramFormat::crc32(const char *bytes, qint64 size, quint32 crc)
{
    // The block is far below zlib's 4 GB a call.
    return quint32(::crc32(crc, reinterpret_cast<const Bytef *>(bytes), uInt(size)));
}

namespace {

/** The instrument's file: its size, and a BMP header that declares the instrument's picture. */
bool isInstrumentFile(const char *file, qint64 size)
{
    // The block follows the picture that the BMP header declares; a picture of another size
    // is not the instrument's, whatever its tail holds.
    return file && size == ThermogramFormat::FileSize && file[0] == 'B' && file[1] == 'M'
        && field<quint32>(file, 2) == ThermogramFormat::DeclaredBmpSize;
}

} // namespace

std::optional<Thermogram> ThermogramFormat::read(const char *file, qint64 size)
{
    if (!isInstrumentFile(file, size))
        return std::nullopt;
    return readBlock(file + DeclaredBmpSize, size - DeclaredBmpSize);
}

bool ThermogramFormat::hasBlock(const QByteArray &file)
{
    return isInstrumentFile(file.constData(), file.size())
        && std::memcmp(file.constData() + DeclaredBmpSize + MagicAt, Magic, 8) == 0;
}

std::optional<Thermogram> ThermogramFormat::read(const QByteArray &file)
{
    return read(file.constData(), file.size());
}

std::optional<Thermogram> ThermogramFormat::readFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() != FileSize)
        return std::nullopt;
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly))
        return std::nullopt;
    return read(source.read(FileSize + 1));
}

std::optional<Thermogram> ThermogramFormat::readBlock(const char *block, qint64 size)
{
    if (!block || size < HeaderSize)
        return std::nullopt;
    if (std::memcmp(block + MagicAt, Magic, 8) != 0 || field<quint16>(block, VersionAt) != Version
        || field<quint16>(block, HeaderSizeAt) != HeaderSize)
        return std::nullopt;
    if (field<quint16>(block, ReservedAt) != 0 || !allZero(block + Reserved2At, 8))
        return std::nullopt;

    const int width = field<quint16>(block, WidthAt);
    const int height = field<quint16>(block, HeightAt);
    if (width < 1 || height < 1 || width > MaxPlaneSide || height > MaxPlaneSide)
        return std::nullopt;
    const qint64 planeBytes = 2 * qint64(width) * height;
    if (field<quint32>(block, PlaneBytesAt) != planeBytes || size - HeaderSize < planeBytes)
        return std::nullopt;

    const quint32 checksum = crc32(block + HeaderSize, planeBytes, crc32(block, ChecksumAt));
    if (checksum != field<quint32>(block, ChecksumAt))
        return std::nullopt;

    Thermogram thermogram;
    const quint32 unit = field<quint32>(block, UnitAt);
    if (unit < 1 || unit > MaxMicroDegreesPerCount)
        return std::nullopt;
    thermogram.celsiusPerCount = unit / 1e6;
    thermogram.celsiusAtZero = field<qint32>(block, OffsetAt) / 1e3;
    const quint16 emissivity = field<quint16>(block, EmissivityAt);
    if (emissivity < MinEmissivity || emissivity > MaxEmissivity)
        return std::nullopt;
    thermogram.emissivity = emissivity / 1e4;
    thermogram.reflectedCelsius = field<qint32>(block, ReflectedAt) / 1e3;
    thermogram.ambientCelsius = field<qint32>(block, AmbientAt) / 1e3;
    if (!inRange(thermogram.reflectedCelsius) || !inRange(thermogram.ambientCelsius))
        return std::nullopt;
    const quint32 distance = field<quint32>(block, DistanceAt);
    if (distance > MaxDistanceMillimetres)
        return std::nullopt;
    thermogram.distanceMetres = distance / 1e3;
    const qint64 captured = field<qint64>(block, CaptureTimeAt);
    if (captured < EarliestCapture || captured >= LatestCapture)
        return std::nullopt;
    thermogram.captureTime = QDateTime::fromMSecsSinceEpoch(captured, Qt::UTC);

    thermogram.planeSize = QSize(width, height);
    thermogram.counts.resize(width * height);
    const char *plane = block + HeaderSize;
    for (int i = 0; i < thermogram.counts.size(); ++i)
        thermogram.counts[i] = field<quint16>(plane, 2 * i);
    // Every cell must be a temperature the instrument can have measured.
    if (!inRange(thermogram.celsiusAt(thermogram.coldestCell()))
        || !inRange(thermogram.celsiusAt(thermogram.hottestCell())))
        return std::nullopt;
    return thermogram;
}

QByteArray ThermogramFormat::writeBlock(const Thermogram &thermogram)
{
    if (!thermogram.isValid() || thermogram.planeSize.width() > MaxPlaneSide
        || thermogram.planeSize.height() > MaxPlaneSide || !thermogram.captureTime.isValid())
        return QByteArray();
    // Values that would wrap in their fields are refused before they are scaled.
    const auto within
        = [](double value, double low, double high) { return value >= low && value <= high; };
    if (!within(thermogram.celsiusPerCount, 1e-6, MaxMicroDegreesPerCount / 1e6)
        || !within(thermogram.celsiusAtZero, -2e6, 2e6) || !within(thermogram.emissivity, 0, 1)
        || !within(thermogram.distanceMetres, 0, MaxDistanceMillimetres / 1e3)
        || !inRange(thermogram.reflectedCelsius) || !inRange(thermogram.ambientCelsius))
        return QByteArray();
    const int width = thermogram.planeSize.width();
    const int height = thermogram.planeSize.height();
    char header[HeaderSize] = {};
    std::memcpy(header + MagicAt, Magic, 8);
    qToLittleEndian<quint16>(Version, header + VersionAt);
    qToLittleEndian<quint16>(HeaderSize, header + HeaderSizeAt);
    qToLittleEndian<quint16>(quint16(width), header + WidthAt);
    qToLittleEndian<quint16>(quint16(height), header + HeightAt);
    const auto scaled = [](double value, double factor) { return std::llround(value * factor); };
    qToLittleEndian<quint32>(quint32(scaled(thermogram.celsiusPerCount, 1e6)), header + UnitAt);
    qToLittleEndian<qint32>(qint32(scaled(thermogram.celsiusAtZero, 1e3)), header + OffsetAt);
    qToLittleEndian<quint16>(quint16(scaled(thermogram.emissivity, 1e4)), header + EmissivityAt);
    qToLittleEndian<qint32>(qint32(scaled(thermogram.reflectedCelsius, 1e3)), header + ReflectedAt);
    qToLittleEndian<qint32>(qint32(scaled(thermogram.ambientCelsius, 1e3)), header + AmbientAt);
    qToLittleEndian<quint32>(quint32(scaled(thermogram.distanceMetres, 1e3)), header + DistanceAt);
    qToLittleEndian<qint64>(thermogram.captureTime.toMSecsSinceEpoch(), header + CaptureTimeAt);
    qToLittleEndian<quint32>(quint32(2 * width * height), header + PlaneBytesAt);

    QByteArray plane(2 * width * height, Qt::Uninitialized);
    qToLittleEndian<quint16>(thermogram.counts.constData(), thermogram.counts.size(), plane.data());
    const quint32 checksum = crc32(plane.constData(), plane.size(), crc32(header, ChecksumAt));
    qToLittleEndian<quint32>(checksum, header + ChecksumAt);
    const QByteArray block = QByteArray(header, HeaderSize) + plane;
    // What the reader refuses is not written.
    if (!readBlock(block.constData(), block.size()))
        return QByteArray();
    return block;
}
