#ifndef HISTORYLOG_H
#define HISTORYLOG_H

#include "livescope_global.h"

#include <QString>

class QDateTime;
class QImage;
struct Thermogram;
struct VideoExtendParam;

/**
 * Writes the live video's history into a folder, created when needed: one CSV file of
 * readings per day and link ("20261207_USB_readings.csv", its header naming the units) and
 * frames named after their time, in the instrument's own picture format with the frame's
 * temperature block, so that they open like the card's pictures.
 *
 * Each reading is one whole line, written at once and checked: a line that does not fit (a
 * full disk) is taken back, so the file never ends in part of a line.
 */
class LIVESCOPE_EXPORT HistoryLog
{
public:
    static const char CsvHeader[];

    /** prefix tells the links apart in the file names, for example "USB" or "WiFi". */
    explicit HistoryLog(const QString &prefix = QString());

    void setFolder(const QString &folder) { m_folder = folder; }
    QString folder() const { return m_folder; }

    bool appendReading(const VideoExtendParam &param, const QDateTime &time);
    /**
     * Saves a frame with its temperatures (a thermogram without data gives a picture without
     * them); suffix (for example "alarm") is added to the file name. Returns the file's path,
     * or an empty string when it could not be written.
     */
    QString saveFrame(const QImage &frame, const Thermogram &thermogram, const QDateTime &time,
                      const QString &suffix = QString());
    /** Why the last write failed, as one line for the user; empty after a success. */
    QString lastError() const { return m_lastError; }

private:
    bool ensureFolder();
    void failed(const QString &path, const QString &reason);

    QString m_prefix;
    QString m_folder;
    QString m_lastError;
};

#endif // HISTORYLOG_H
