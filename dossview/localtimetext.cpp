#include "localtimetext.h"

#include <QDateTime>

LocalTimeText::LocalTimeText(const QLocale &locale, const QString &format)
    : m_locale(locale)
    , m_format(format)
    , m_namesZone(format.contains(QLatin1Char('t')))
{
    for (const QLocale::FormatType type :
         { QLocale::ShortFormat, QLocale::LongFormat, QLocale::NarrowFormat }) {
        const QString date = locale.dateFormat(type);
        const QString time = locale.timeFormat(type);
        if (!date.isEmpty() && !time.isEmpty() && format == date + QLatin1Char(' ') + time) {
            m_dateFormat = date;
            m_timeFormat = time;
            break;
        }
    }
}

QString LocalTimeText::text(qint64 msecsSinceEpoch)
{
    // Rounded towards minus infinity, so that times before the epoch find their own quarter.
    qint64 quarter = msecsSinceEpoch / QuarterHour;
    if (msecsSinceEpoch % QuarterHour < 0)
        --quarter;
    const int offset = m_namesZone ? Mixed : offsetOf(quarter);
    if (offset == Mixed)
        return m_locale.toString(QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch), m_format);
    return localText(msecsSinceEpoch + qint64(offset) * 1000);
}

QString LocalTimeText::localText(qint64 local)
{
    if (m_timeFormat.isEmpty())
        return m_locale.toString(QDateTime::fromMSecsSinceEpoch(local, Qt::UTC), m_format);
    qint64 day = local / Day;
    if (local % Day < 0)
        --day;
    if (m_dayText.isNull() || day != m_day) {
        m_day = day;
        m_dayText = m_locale.toString(QDate(1970, 1, 1).addDays(day), m_dateFormat);
    }
    const QTime time = QTime::fromMSecsSinceStartOfDay(int(local - day * Day));
    return m_dayText + QLatin1Char(' ') + m_locale.toString(time, m_timeFormat);
}

int LocalTimeText::offsetOf(qint64 quarter)
{
    const auto known = m_offsets.constFind(quarter);
    if (known != m_offsets.cend())
        return *known;
    const qint64 start = quarter * QuarterHour;
    const QDateTime first = QDateTime::fromMSecsSinceEpoch(start);
    const QDateTime last = QDateTime::fromMSecsSinceEpoch(start + QuarterHour - 1);
    const int offset
        = first.isValid() && last.isValid() && first.offsetFromUtc() == last.offsetFromUtc()
        ? first.offsetFromUtc()
        : Mixed;
    m_offsets.insert(quarter, offset);
    return offset;
}
