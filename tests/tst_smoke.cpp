#include <QtTest>
class tst_Smoke : public QObject { Q_OBJECT private slots: void ok() { QVERIFY(true); } };
QTEST_MAIN(tst_Smoke)
#include "tst_smoke.moc"
