#include "localtimetext.h"

#include <QDateTime>

LocalTimeText::LocalTimeText(const QLocale &locale, const QString &format)
    : m_locale(locale)
    , m_format(format)
    , m_namesZone(format.contains(QLatin1Char('t')))
{ }

QString LocalTimeText::text(qint64 msecsSinceEpoch)
{
    // Rounded towards minus infinity, so that times before the epoch find their own quarter.
    qint64 quarter = msecsSinceEpoch / QuarterHour;
    if (msecsSinceEpoch % QuarterHour < 0)
        --quarter;
    const int offset = m_namesZone ? Mixed : offsetOf(quarter);
    if (offset == Mixed)
        return m_locale.toString(QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch), m_format);
    return m_locale.toString(
        QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch + qint64(offset) * 1000, Qt::UTC), m_format);
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
