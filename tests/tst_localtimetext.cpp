#include "localtimetext.h"

#include <QDateTime>
#include <QtTest>

#include <ctime>

class tst_LocalTimeText : public QObject
{
    Q_OBJECT
private slots:
    void asQtWrites_data();
    void asQtWrites();
    void cleanupTestCase();

private:
    QByteArray m_savedZone = qgetenv("TZ");
};

void tst_LocalTimeText::asQtWrites_data()
{
    // Zones as POSIX rules, so that no time-zone database is needed.
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("localeName");
    const QString withMSecs = QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");
    QTest::newRow("UTC") << QByteArray("UTC0") << withMSecs << QString();
    QTest::newRow("central Europe") << QByteArray("CET-1CEST,M3.5.0,M10.5.0/3") << withMSecs << QString();
    // Clocks change at half past a UTC hour.
    QTest::newRow("Newfoundland") << QByteArray("NST3:30NDT,M3.2.0,M11.1.0") << withMSecs << QString();
    // Clocks move by half an hour.
    QTest::newRow("Lord Howe") << QByteArray("<+1030>-10:30<+11>-11,M10.1.0,M4.1.0") << withMSecs << QString();
    // Clocks change inside a quarter hour.
    QTest::newRow("change at an odd minute")
        << QByteArray("CET-1CEST,M3.5.0/2:07:30,M10.5.0/3:07:30") << withMSecs << QString();
    QTest::newRow("format naming the zone")
        << QByteArray("CET-1CEST,M3.5.0,M10.5.0/3") << QStringLiteral("d.M.yy H:mm t") << QString();
    // The locales' own formats, written date and time apart.
    const QByteArray europe("CET-1CEST,M3.5.0,M10.5.0/3");
    const QByteArray lordHowe("<+1030>-10:30<+11>-11,M10.1.0,M4.1.0");
    const QList<QPair<QByteArray, QString>> zonesAndLocales {
        { europe, QStringLiteral("en_US") }, { europe, QStringLiteral("de_DE") },
        { europe, QStringLiteral("zh_CN") }, { lordHowe, QStringLiteral("ar_EG") },
        { lordHowe, QStringLiteral("fr_CA") }, { europe, QStringLiteral("C") },
    };
    for (const auto &zoneAndLocale : zonesAndLocales) {
        const QLocale locale(zoneAndLocale.second);
        for (const QLocale::FormatType type : { QLocale::ShortFormat, QLocale::LongFormat }) {
            const QString name = zoneAndLocale.second
                + (type == QLocale::ShortFormat ? QLatin1String(" short") : QLatin1String(" long"));
            QTest::newRow(qPrintable(name)) << zoneAndLocale.first << locale.dateTimeFormat(type)
                                            << zoneAndLocale.second;
        }
    }
}

// Every instant around each change of the clocks in a year, and a few far from any, come out
// as Qt writes the same instant in local time.
void tst_LocalTimeText::asQtWrites()
{
    QFETCH(QByteArray, zone);
    QFETCH(QString, format);
    QFETCH(QString, localeName);
    qputenv("TZ", zone);
    tzset();
    const QLocale locale = localeName.isEmpty() ? QLocale(QLocale::C) : QLocale(localeName);

    const qint64 hour = 3600 * 1000;
    const qint64 yearStart = QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
    QList<qint64> changes;
    int offset = QDateTime::fromMSecsSinceEpoch(yearStart).offsetFromUtc();
    for (qint64 t = yearStart; t < yearStart + 366 * 24 * hour; t += hour) {
        const int now = QDateTime::fromMSecsSinceEpoch(t).offsetFromUtc();
        if (now != offset)
            changes << t;
        offset = now;
    }
    if (zone != "UTC0")
        QCOMPARE(changes.size(), 2);

    QList<qint64> instants { 0, -86400 * 1000 - 1, yearStart + 45 * 24 * hour + 123 };
    for (qint64 change : qAsConst(changes)) {
        for (qint64 t = change - 3 * hour; t < change + 2 * hour; t += 61 * 1000 + 7)
            instants << t;
    }
    LocalTimeText text(locale, format);
    for (qint64 t : qAsConst(instants)) {
        const QString expected = locale.toString(QDateTime::fromMSecsSinceEpoch(t), format);
        if (text.text(t) != expected)
            QFAIL(qPrintable(QStringLiteral("%1: %2, not %3").arg(t).arg(text.text(t), expected)));
    }
}

void tst_LocalTimeText::cleanupTestCase()
{
    if (m_savedZone.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", m_savedZone);
    tzset();
}

QTEST_GUILESS_MAIN(tst_LocalTimeText)
#include "tst_localtimetext.moc"
