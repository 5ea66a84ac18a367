#ifndef HISTORYLOG_H
#define HISTORYLOG_H

#include "livescope_global.h"

#include <QString>

class QDateTime;
class QImage;
struct VideoExtendParam;

/**
 * Writes the live video's history into a folder, created when needed: one CSV file of
 * readings per day and link ("20261207_USB_readings.csv": time, minimum, maximum, centre,
 * frame rate) and frames as PNG files named after their time.
 */
class LIVESCOPE_EXPORT HistoryLog
{
public:
    /** prefix tells the links apart in the file names, for example "USB" or "WiFi". */
    explicit HistoryLog(const QString &prefix = QString());

    void setFolder(const QString &folder) { m_folder = folder; }
    QString folder() const { return m_folder; }

    bool appendReading(const VideoExtendParam &param, const QDateTime &time);
    /** Saves a frame; suffix (for example "alarm") is added to the file name. */
    bool saveFrame(const QImage &frame, const QDateTime &time, const QString &suffix = QString());
    /** Why the last write failed, as text for the user; empty after a success. */
    QString lastError() const { return m_lastError; }

private:
    bool ensureFolder();

    QString m_prefix;
    QString m_folder;
    QString m_lastError;
};

#endif // HISTORYLOG_H
