#include "historylog.h"

#include "instrumentpicture.h"
#include "thermogram.h"
#include "videoextendparam.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSaveFile>

const char HistoryLog::CsvHeader[] = "time,minimum (\xc2\xb0"
                                     "C),maximum (\xc2\xb0"
                                     "C),centre (\xc2\xb0"
                                     "C),frame rate (fps)\n";

HistoryLog::HistoryLog(const QString &prefix)
    : m_prefix(prefix)
{ }

bool HistoryLog::ensureFolder()
{
    if (m_folder.isEmpty()) {
        m_lastError = QCoreApplication::translate("Livescope", "No history folder is set");
        return false;
    }
    // A folder removed while logging is made again.
    if (!QDir().mkpath(m_folder)) {
        m_lastError = QCoreApplication::translate("Livescope", "Cannot create %1")
                          .arg(QDir::toNativeSeparators(m_folder));
        return false;
    }
    return true;
}

void HistoryLog::failed(const QString &path, const QString &reason)
{
    m_lastError = QCoreApplication::translate("Livescope", "Cannot write %1: %2")
                      .arg(QDir::toNativeSeparators(path), reason);
}

bool HistoryLog::appendReading(const VideoExtendParam &param, const QDateTime &time)
{
    if (!ensureFolder())
        return false;
    const QString name = QStringLiteral("%1_%2_readings.csv")
                             .arg(time.toString(QStringLiteral("yyyyMMdd")), m_prefix);
    // Unbuffered, so that the write below is the one write() of the line and its result is
    // what the disk took.
    QFile file(QDir(m_folder).filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        failed(file.fileName(), file.errorString());
        return false;
    }
    const qint64 before = file.size();
    QByteArray line;
    if (before == 0)
        line += CsvHeader;
    line += time.toString(Qt::ISODateWithMs).toLatin1() + ','
        + QByteArray::number(param.minTemperature, 'f', 1) + ','
        + QByteArray::number(param.maxTemperature, 'f', 1) + ','
        + QByteArray::number(param.centreTemperature, 'f', 1) + ','
        + QByteArray::number(param.frameRate, 'f', 1) + '\n';
    if (file.write(line) != line.size()) {
        failed(file.fileName(), file.errorString());
        file.resize(before); // take back a part of the line that did fit
        return false;
    }
    m_lastError.clear();
    return true;
}

QString HistoryLog::saveFrame(const QImage &frame, const Thermogram &thermogram,
                              const QDateTime &time, const QString &suffix)
{
    if (frame.isNull() || !ensureFolder())
        return QString();
    QString name
        = time.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) + QLatin1Char('_') + m_prefix;
    if (!suffix.isEmpty())
        name += QLatin1Char('_') + suffix;
    const QString path = QDir(m_folder).filePath(name + QStringLiteral(".BMP"));
    // All or nothing: a picture cut short by a full disk is never left behind.
    QSaveFile file(path);
    const QByteArray bytes = InstrumentPicture::fileBytes(frame, thermogram);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        failed(path, file.errorString());
        return QString();
    }
    m_lastError.clear();
    return path;
}
