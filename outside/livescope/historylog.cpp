#include "historylog.h"

#include "videoextendparam.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>

HistoryLog::HistoryLog(const QString &prefix)
    : m_prefix(prefix)
{ }

bool HistoryLog::ensureFolder()
{
    if (m_folder.isEmpty()) {
        m_lastError = QCoreApplication::translate("Livescope", "No history folder is set");
        return false;
    }
    if (!QDir().mkpath(m_folder)) {
        m_lastError = QCoreApplication::translate("Livescope", "Cannot create %1").arg(m_folder);
        return false;
    }
    return true;
}

bool HistoryLog::appendReading(const VideoExtendParam &param, const QDateTime &time)
{
    if (!ensureFolder())
        return false;
    const QString name = QStringLiteral("%1_%2_readings.csv")
                             .arg(time.toString(QStringLiteral("yyyyMMdd")), m_prefix);
    QFile file(QDir(m_folder).filePath(name));
    const bool fresh = !file.exists();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        m_lastError = QCoreApplication::translate("Livescope", "Cannot write %1")
                          .arg(QDir::toNativeSeparators(file.fileName()));
        return false;
    }
    QByteArray line;
    if (fresh)
        line += "time,minimum,maximum,centre,frame rate\n";
    line += time.toString(Qt::ISODateWithMs).toLatin1() + ','
        + QByteArray::number(param.minTemperature, 'f', 1) + ','
        + QByteArray::number(param.maxTemperature, 'f', 1) + ','
        + QByteArray::number(param.centreTemperature, 'f', 1) + ','
        + QByteArray::number(param.frameRate, 'f', 1) + '\n';
    if (file.write(line) != line.size()) {
        m_lastError = QCoreApplication::translate("Livescope", "Cannot write %1")
                          .arg(QDir::toNativeSeparators(file.fileName()));
        return false;
    }
    m_lastError.clear();
    return true;
}

bool HistoryLog::saveFrame(const QImage &frame, const QDateTime &time, const QString &suffix)
{
    if (frame.isNull() || !ensureFolder())
        return false;
    QString name
        = time.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) + QLatin1Char('_') + m_prefix;
    if (!suffix.isEmpty())
        name += QLatin1Char('_') + suffix;
    const QString path = QDir(m_folder).filePath(name + QStringLiteral(".png"));
    if (!frame.save(path, "PNG")) {
        m_lastError = QCoreApplication::translate("Livescope", "Cannot write %1")
                          .arg(QDir::toNativeSeparators(path));
        return false;
    }
    m_lastError.clear();
    return true;
}
