#include "testpictures.h"
#include "thermogramformat.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cmath>

using Format = ThermogramFormat;

namespace {

/** A 160 x 120 plane from 10 to about 480 degrees, as the demo writes it. */
Thermogram sample()
{
    Thermogram t;
    t.planeSize = QSize(160, 120);
    t.celsiusPerCount = 0.01;
    t.celsiusAtZero = -100.0;
    t.emissivity = 0.95;
    t.reflectedCelsius = 20.5;
    t.ambientCelsius = -3.25;
    t.distanceMetres = 2.75;
    t.captureTime = QDateTime(QDate(2026, 11, 2), QTime(9, 12, 30, 250), Qt::UTC);
    t.counts.resize(160 * 120);
    for (int i = 0; i < t.counts.size(); ++i)
        t.counts[i] = quint16(11000 + (i * 37) % 48000);
    return t;
}

/** Seals a changed block again, so that a check other than the checksum has to catch it. */
void reseal(QByteArray &block)
{
    const int plane = int(qFromLittleEndian<quint32>(block.constData() + Format::PlaneBytesAt));
    const int covered = qMin(plane, block.size() - Format::HeaderSize);
    const quint32 crc = Format::crc32(block.constData() + Format::HeaderSize, covered,
                                      Format::crc32(block.constData(), Format::ChecksumAt));
    char sealed[4];
    qToLittleEndian<quint32>(crc, sealed);
    block.replace(Format::ChecksumAt, 4, sealed, 4);
}

template <typename T> void put(QByteArray &block, int at, T value)
{
    qToLittleEndian<T>(value, block.data() + at);
}

QByteArray pictureWith(const QByteArray &trailer)
{
    QByteArray file = TestPictures::instrumentPicture(3);
    file.replace(int(Format::DeclaredBmpSize), trailer.size(), trailer);
    return file;
}

} // namespace

class tst_ThermogramFormat : public QObject
{
    Q_OBJECT
private slots:
    void validBlockReadsBack();
    void damagedField_data();
    void damagedField();
    void truncatedAtEveryLength();
    void instrumentFile_data();
    void instrumentFile();
    void fileOnDisk();
    void writerRefusesWhatReaderRefuses_data();
    void writerRefusesWhatReaderRefuses();
};

void tst_ThermogramFormat::validBlockReadsBack()
{
    const Thermogram written = sample();
    const QByteArray block = Format::writeBlock(written);
    QCOMPARE(block.size(), Format::HeaderSize + 2 * 160 * 120);
    QVERIFY(block.size() <= Format::BlockCapacity);
    QVERIFY(block.startsWith("CLXTHERM"));

    const std::optional<Thermogram> read = Format::readBlock(block.constData(), block.size());
    QVERIFY(read);
    QCOMPARE(read->planeSize, written.planeSize);
    QCOMPARE(read->counts, written.counts);
    QCOMPARE(read->celsiusPerCount, 0.01);
    QCOMPARE(read->celsiusAtZero, -100.0);
    QCOMPARE(read->emissivity, 0.95);
    QCOMPARE(read->reflectedCelsius, 20.5);
    QCOMPARE(read->ambientCelsius, -3.25);
    QCOMPARE(read->distanceMetres, 2.75);
    QCOMPARE(read->captureTime, written.captureTime);
    // Counts become temperatures through the unit and the offset.
    QCOMPARE(read->celsiusAt(QPoint(1, 0)), -100.0 + 0.01 * (11000 + 37));
    QCOMPARE(read->hottestCell(), written.hottestCell());
    QVERIFY(read->celsiusAt(read->hottestCell()) > 479.0);

    // Bytes after the block (the rest of the trailer) are not the block's business.
    QByteArray padded = block + QByteArray(100, '\xff');
    QVERIFY(Format::readBlock(padded.constData(), padded.size()));
}

void tst_ThermogramFormat::damagedField_data()
{
    QTest::addColumn<int>("at");
    QTest::addColumn<QByteArray>("bytes"); // little endian
    QTest::addColumn<bool>("resealed");

    const auto le = [](qint64 value, int size) {
        QByteArray bytes(size, '\0');
        for (int i = 0; i < size; ++i)
            bytes[i] = char((value >> (8 * i)) & 0xff);
        return bytes;
    };
    QTest::newRow("magic") << Format::MagicAt << QByteArray("CLXTRAIL") << true;
    QTest::newRow("version") << Format::VersionAt << le(2, 2) << true;
    QTest::newRow("header size") << Format::HeaderSizeAt << le(48, 2) << true;
    QTest::newRow("width zero") << Format::WidthAt << le(0, 2) << true;
    QTest::newRow("width too large") << Format::WidthAt << le(1025, 2) << true;
    QTest::newRow("height zero") << Format::HeightAt << le(0, 2) << true;
    QTest::newRow("height against plane bytes") << Format::HeightAt << le(240, 2) << true;
    QTest::newRow("plane bytes") << Format::PlaneBytesAt << le(38398, 4) << true;
    QTest::newRow("unit zero") << Format::UnitAt << le(0, 4) << true;
    QTest::newRow("unit coarser than 0.1") << Format::UnitAt << le(100001, 4) << true;
    QTest::newRow("emissivity below 0.01") << Format::EmissivityAt << le(99, 2) << true;
    QTest::newRow("emissivity above 1") << Format::EmissivityAt << le(10001, 2) << true;
    QTest::newRow("reserved") << Format::ReservedAt << le(1, 2) << true;
    QTest::newRow("reserved tail") << Format::Reserved2At + 7 << le(1, 1) << true;
    QTest::newRow("reflected too cold") << Format::ReflectedAt << le(-100001, 4) << true;
    QTest::newRow("ambient too hot") << Format::AmbientAt << le(1000001, 4) << true;
    QTest::newRow("distance") << Format::DistanceAt << le(1000001, 4) << true;
    QTest::newRow("captured before 2000") << Format::CaptureTimeAt << le(946684799999, 8) << true;
    QTest::newRow("captured in 2100") << Format::CaptureTimeAt << le(4102444800000, 8) << true;
    QTest::newRow("captured negative") << Format::CaptureTimeAt << le(-1, 8) << true;
    // Offset and counts that put a cell outside -100 ... 1000 degrees.
    QTest::newRow("offset: hottest cell too hot") << Format::OffsetAt << le(600000, 4) << true;
    QTest::newRow("offset: coldest cell too cold") << Format::OffsetAt << le(-210001, 4) << true;
    QTest::newRow("unit: hottest cell too hot") << Format::UnitAt << le(100000, 4) << true;
    QTest::newRow("checksum") << Format::ChecksumAt << le(0x12345678, 4) << false;
    QTest::newRow("plane byte") << Format::HeaderSize + 20000 << le(0x5a, 1) << false;
    QTest::newRow("last plane byte") << Format::HeaderSize + 38399 << le(0xee, 1) << false;
    QTest::newRow("emissivity, not resealed") << Format::EmissivityAt << le(9000, 2) << false;
}

void tst_ThermogramFormat::damagedField()
{
    QFETCH(int, at);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, resealed);
    QByteArray block = Format::writeBlock(sample());
    QVERIFY(Format::readBlock(block.constData(), block.size()));
    QVERIFY(block.mid(at, bytes.size()) != bytes);
    block.replace(at, bytes.size(), bytes);
    if (resealed)
        reseal(block);
    QVERIFY(!Format::readBlock(block.constData(), block.size()));
}

void tst_ThermogramFormat::truncatedAtEveryLength()
{
    const QByteArray block = Format::writeBlock(sample());
    // Each length gets a buffer of its own size, so a sanitizer sees any read past it.
    for (int length = 0; length < block.size(); ++length) {
        const QByteArray cut = block.left(length);
        if (Format::readBlock(cut.constData(), cut.size()))
            QFAIL(qPrintable(
                QStringLiteral("accepted %1 of %2 bytes").arg(length).arg(block.size())));
    }
    QVERIFY(Format::readBlock(block.constData(), block.size()));
    QVERIFY(!Format::readBlock(nullptr, 0));
}

void tst_ThermogramFormat::instrumentFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("measured");

    const QByteArray block = Format::writeBlock(sample());
    const QByteArray file = pictureWith(block);
    QTest::newRow("measured") << file << true;
    QTest::newRow("trailer of zeros") << TestPictures::instrumentPicture(3) << false;
    QTest::newRow("older demo trailer") << pictureWith("CLXTRAIL") << false;
    QByteArray otherDeclared = file;
    put<quint32>(otherDeclared, 2, 230455);
    QTest::newRow("header declares another size") << otherDeclared << false;
    QByteArray notBmp = file;
    notBmp[0] = 'X';
    QTest::newRow("not a BMP") << notBmp << false;
    QTest::newRow("one byte short") << file.left(file.size() - 1) << false;
    QTest::newRow("one byte long") << file + "x" << false;
    QTest::newRow("cut inside the block") << file.left(int(Format::DeclaredBmpSize) + 100) << false;
    QTest::newRow("empty") << QByteArray() << false;
    QByteArray damaged = file;
    damaged[int(Format::DeclaredBmpSize + Format::HeaderSize + 100)] = 0x7f;
    QTest::newRow("damaged block") << damaged << false;
}

void tst_ThermogramFormat::instrumentFile()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, measured);
    const std::optional<Thermogram> read = Format::read(file);
    QCOMPARE(bool(read), measured);
    // A damaged block is told from none: its magic is there.
    QCOMPARE(Format::hasBlock(file),
             measured || QTest::currentDataTag() == QLatin1String("damaged block"));
    if (read)
        QCOMPARE(read->counts, sample().counts);
}

void tst_ThermogramFormat::fileOnDisk()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("IR_0001.BMP"));
    QVERIFY(TestPictures::writeFile(path, pictureWith(Format::writeBlock(sample()))));
    const std::optional<Thermogram> read = Format::readFile(path);
    QVERIFY(read);
    QCOMPARE(read->captureTime, sample().captureTime);
    QVERIFY(!Format::readFile(dir.filePath(QStringLiteral("missing.BMP"))));
    QVERIFY(!Format::readFile(dir.path()));
}

void tst_ThermogramFormat::writerRefusesWhatReaderRefuses_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<double>("value");
    QTest::newRow("emissivity above 1") << "emissivity" << 1.5;
    QTest::newRow("emissivity wrapping") << "emissivity" << 6.6536;
    QTest::newRow("unit not a number") << "unit" << std::nan("");
    QTest::newRow("unit too coarse") << "unit" << 0.5;
    QTest::newRow("distance negative") << "distance" << -1.0;
    QTest::newRow("ambient too hot") << "ambient" << 1200.0;
    QTest::newRow("offset puts cells too hot") << "offset" << 700.0;
}

void tst_ThermogramFormat::writerRefusesWhatReaderRefuses()
{
    QFETCH(QString, field);
    QFETCH(double, value);
    Thermogram t = sample();
    double *target = field == "emissivity" ? &t.emissivity
        : field == "unit"                  ? &t.celsiusPerCount
        : field == "distance"              ? &t.distanceMetres
        : field == "ambient"               ? &t.ambientCelsius
                                           : &t.celsiusAtZero;
    *target = value;
    QVERIFY(Format::writeBlock(t).isEmpty());
}

QTEST_MAIN(tst_ThermogramFormat)
#include "tst_thermogramformat.moc"
