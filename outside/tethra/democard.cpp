#include "democard.h"

#include "instrumentpicture.h"
#include "thermalscene.h"
#include "thermogramformat.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QtEndian>

namespace {

void putLe32(QByteArray &bytes, int offset, quint32 value)
{
    qToLittleEndian<quint32>(value, bytes.data() + offset);
}

bool writeFile(const QString &path, const QByteArray &bytes, const QDateTime &time, QString *error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    if (time.isValid())
        file.setFileTime(time, QFileDevice::FileModificationTime);
    return true;
}

} // namespace

QByteArray DemoCard::pictureFile(const QImage &image)
{
    return InstrumentPicture::fileBytes(image);
}

QByteArray DemoCard::pictureFile(const QImage &image, const Thermogram &thermogram)
{
    return InstrumentPicture::fileBytes(image, thermogram);
}

Thermogram DemoCard::measurement(const QVector<float> &temperatures, const QDateTime &captured)
{
    Thermogram thermogram;
    if (temperatures.size() != ThermalScene::Width * ThermalScene::Height)
        return thermogram;
    // A hundredth of a degree per count from -100 degrees: up to 555.35 degrees.
    thermogram.celsiusPerCount = 0.01;
    thermogram.celsiusAtZero = -100.0;
    thermogram.emissivity = 0.95;
    thermogram.reflectedCelsius = 20.0;
    thermogram.ambientCelsius = 22.0;
    thermogram.distanceMetres = 1.5;
    thermogram.captureTime = captured.toUTC();
    thermogram.planeSize = QSize(PlaneWidth, PlaneHeight);
    thermogram.counts.resize(PlaneWidth * PlaneHeight);
    const int stepX = ThermalScene::Width / PlaneWidth;
    const int stepY = ThermalScene::Height / PlaneHeight;
    for (int cy = 0; cy < PlaneHeight; ++cy) {
        for (int cx = 0; cx < PlaneWidth; ++cx) {
            double sum = 0.0;
            for (int y = cy * stepY; y < (cy + 1) * stepY; ++y)
                for (int x = cx * stepX; x < (cx + 1) * stepX; ++x)
                    sum += temperatures.at(y * ThermalScene::Width + x);
            thermogram.counts[cy * PlaneWidth + cx] = thermogram.countFor(sum / (stepX * stepY));
        }
    }
    return thermogram;
}

bool DemoCard::exists(const QString &folder)
{
    return QFileInfo(QDir(folder).filePath(QStringLiteral("DCIM"))).isDir();
}

bool DemoCard::generate(const QString &folder, int count, QString *error)
{
    const QString target = QFileInfo(folder).absoluteFilePath();
    if (QFileInfo(target).exists() && !QDir(target).isEmpty()) {
        if (error)
            *error = QStringLiteral("%1 exists and is not empty").arg(target);
        return false;
    }
    const QString staging = target + QStringLiteral(".partial");
    QDir(staging).removeRecursively();
    QDir root(staging);
    if (!QDir().mkpath(staging)) {
        if (error)
            *error = QStringLiteral("cannot create %1").arg(staging);
        return false;
    }

    const QDateTime first(QDate(2026, 11, 2), QTime(9, 12), Qt::LocalTime);
    const int firstFolder = (count + 1) / 2;
    for (int i = 0; i < count; ++i) {
        const ThermalScene scene(i + 1);
        const QString name = QStringLiteral("DCIM/%1THERM/IR_%2.BMP")
                                 .arg(i < firstFolder ? 100 : 101)
                                 .arg(i + 1, 4, 10, QLatin1Char('0'));
        const double time = i * 1.7;
        const QDateTime captured = first.addSecs(qint64(i) * 37 * 60);
        const QByteArray bytes
            = pictureFile(scene.render(time), measurement(scene.temperatures(time), captured));
        if (!writeFile(root.filePath(name), bytes, captured, error))
            return false;
    }

    // A measured picture whose block took a bad byte: it lists and opens like the others, and
    // has no temperatures.
    const ThermalScene damagedScene(96);
    QByteArray damaged
        = pictureFile(damagedScene.render(4.0), measurement(damagedScene.temperatures(4.0), first));
    const int damagedByte = int(ThermogramFormat::DeclaredBmpSize) + ThermogramFormat::HeaderSize
        + PlaneWidth * PlaneHeight;
    damaged[damagedByte] = char(damaged.at(damagedByte) ^ 0x10);
    if (!writeFile(root.filePath(QLatin1String(DamagedPicture)), damaged, first, error))
        return false;

    // Decoys: a plain BMP without the trailer, a file of the right size whose header is
    // wrong, notes, and a valid picture inside a hidden folder (a desktop's trash); none of
    // them may be listed.
    QByteArray thumbnail = pictureFile(ThermalScene(99).render(3.0));
    thumbnail.truncate(int(DemoCard::BmpFileSize));
    QByteArray broken = pictureFile(ThermalScene(98).render(1.0));
    putLe32(broken, 2, 0xdeadbeef);
    const bool decoysWritten = writeFile(root.filePath(QStringLiteral("DCIM/100THERM/TH_0001.BMP")),
                                         thumbnail, first, error)
        && writeFile(root.filePath(QStringLiteral("DCIM/101THERM/IR_BROKEN.BMP")), broken, first,
                     error)
        && writeFile(root.filePath(QStringLiteral("MISC/NOTES.TXT")),
                     QByteArrayLiteral("Calorix demo card. Pictures live under DCIM.\n"), first,
                     error)
        && writeFile(root.filePath(QStringLiteral(".Trash-1000/IR_0999.BMP")),
                     pictureFile(ThermalScene(97).render(2.0)), first, error);
    if (!decoysWritten)
        return false;

    if (QFileInfo(target).exists())
        QDir(target).removeRecursively(); // it was empty
    if (!QDir().rename(staging, target)) {
        if (error)
            *error = QStringLiteral("cannot move %1 to %2").arg(staging, target);
        return false;
    }
    return true;
}
