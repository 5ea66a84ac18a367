#ifndef LOCALTIMETEXT_H
#define LOCALTIMETEXT_H

#include "dossview_global.h"

#include <QHash>
#include <QLocale>
#include <QString>

/**
 * Writes instants as local date and time in one locale and format, as
 * locale.toString(QDateTime::fromMSecsSinceEpoch(msecs), format) does, without a time-zone
 * look-up for each of thousands of times. The offset from UTC is looked up at both ends of the
 * quarter hour an instant falls in; when they agree (clocks change at most once in a quarter
 * hour), every instant of that quarter hour is written from UTC shifted by the offset. Where
 * they differ, or the format names the time zone, each time is turned into local time.
 *
 * A format that is the locale's date format, a blank and its time format, as the locale's own
 * date-time formats are, is written in two parts: the date part once for each day.
 */
class DOSSVIEW_EXPORT LocalTimeText
{
public:
    LocalTimeText(const QLocale &locale, const QString &format);

    /** The text of an instant in milliseconds since the epoch. */
    QString text(qint64 msecsSinceEpoch);

private:
    static constexpr qint64 QuarterHour = 15 * 60 * 1000;
    static constexpr qint64 Day = 24 * 3600 * 1000;
    /** Marks a quarter hour whose two ends have different offsets. */
    static constexpr int Mixed = -1000000;

    int offsetOf(qint64 quarter);
    /** The text of a local time given as milliseconds since the epoch in UTC. */
    QString localText(qint64 local);

    QLocale m_locale;
    QString m_format;
    bool m_namesZone;
    QString m_dateFormat;
    QString m_timeFormat;
    qint64 m_day = 0;
    QString m_dayText;
    QHash<qint64, int> m_offsets;
};

#endif // LOCALTIMETEXT_H
