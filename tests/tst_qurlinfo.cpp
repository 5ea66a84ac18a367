#include "qurlinfo.h"

#include <QtTest>

class tst_QUrlInfo : public QObject
{
    Q_OBJECT
private slots:
    void timesFromMSecs_data();
    void timesFromMSecs();
};

void tst_QUrlInfo::timesFromMSecs_data()
{
    QTest::addColumn<qint64>("msecs");
    QTest::newRow("no time") << qint64(0);
    QTest::newRow("with milliseconds") << qint64(1764932461123);
    QTest::newRow("before the epoch") << qint64(-86400123);
}

// A time given as milliseconds reads back as QFileInfo would give it, and a record so made
// equals one made from the QDateTime values.
void tst_QUrlInfo::timesFromMSecs()
{
    QFETCH(qint64, msecs);
    const QDateTime expected = msecs ? QDateTime::fromMSecsSinceEpoch(msecs) : QDateTime();

    QUrlInfo fromMSecs(QStringLiteral("/card/a.bmp"), 0644, QStringLiteral("u"),
                       QStringLiteral("g"), 307792, QDateTime(), QDateTime(), false, true, false,
                       true, true, false);
    fromMSecs.setLastModifiedMSecs(msecs);
    fromMSecs.setLastReadMSecs(msecs + 1000);
    QCOMPARE(fromMSecs.lastModified().isValid(), expected.isValid());
    QCOMPARE(fromMSecs.lastModified(), expected);
    QCOMPARE(fromMSecs.lastModified().timeSpec(), Qt::LocalTime);
    QCOMPARE(fromMSecs.lastRead(), QDateTime::fromMSecsSinceEpoch(msecs + 1000));

    QUrlInfo fromDateTimes(QStringLiteral("/card/a.bmp"), 0644, QStringLiteral("u"),
                           QStringLiteral("g"), 307792, expected,
                           QDateTime::fromMSecsSinceEpoch(msecs + 1000), false, true, false, true,
                           true, false);
    QVERIFY(fromMSecs == fromDateTimes);
    fromDateTimes.setLastModified(QDateTime::fromMSecsSinceEpoch(msecs + 1));
    QVERIFY(fromMSecs != fromDateTimes);
}

QTEST_MAIN(tst_QUrlInfo)
#include "tst_qurlinfo.moc"
