#include "appinfo.h"
#include "startup.h"

#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

class tst_Startup : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void nameAndVersion();
    void translatorsOnlyForCH_data();
    void translatorsOnlyForCH();
    void catalogueIsLookedUpInWorkingDirectory();
    void installedCatalogues();

private:
    QTranslator *m_appTranslator = nullptr;
    QTranslator *m_qtTranslator = nullptr;
};

void tst_Startup::cleanup()
{
    delete m_appTranslator;
    delete m_qtTranslator;
    m_appTranslator = m_qtTranslator = nullptr;
    QLocale::setDefault(QLocale::c());
    QDir::setCurrent(QCoreApplication::applicationDirPath());
}

void tst_Startup::nameAndVersion()
{
    QCOMPARE(AppInfo::displayName(), QStringLiteral("Calorix"));
    QCOMPARE(AppInfo::version(), QStringLiteral("1.35"));
}

void tst_Startup::translatorsOnlyForCH_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("chinese");

    QTest::newRow("CH") << "CH" << true;
    QTest::newRow("ch") << "ch" << false;
    QTest::newRow("leading blank") << " CH" << false;
    QTest::newRow("trailing blank") << "CH " << false;
    QTest::newRow("EN") << "EN" << false;
    QTest::newRow("empty") << "" << false;
}

void tst_Startup::translatorsOnlyForCH()
{
    QFETCH(QString, language);
    QFETCH(bool, chinese);

    // The build puts CH.qm and translations/ beside the executables.
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    QVERIFY(QFile::exists(QStringLiteral("CH.qm")));
    QVERIFY(QFile::exists(QStringLiteral("translations/qt_zh_CN.qm")));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    m_appTranslator = new QTranslator;
    m_qtTranslator = new QTranslator;
    QCOMPARE(installTranslatorsFor(language, *m_appTranslator, *m_qtTranslator), chinese);

    const QString connect = QCoreApplication::translate("MainWindow", "Connect");
    const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
    if (chinese) {
        QVERIFY(connect != QStringLiteral("Connect"));
        QVERIFY(cancel != QStringLiteral("Cancel"));
        QCOMPARE(QLocale().language(), QLocale::Chinese);
        QCOMPARE(QLocale().country(), QLocale::China);
    } else {
        QCOMPARE(connect, QStringLiteral("Connect"));
        QCOMPARE(cancel, QStringLiteral("Cancel"));
        QCOMPARE(QLocale().language(), QLocale::English);
    }
}

void tst_Startup::catalogueIsLookedUpInWorkingDirectory()
{
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    m_appTranslator = new QTranslator;
    m_qtTranslator = new QTranslator;
    QVERIFY(installTranslatorsFor(QStringLiteral("CH"), *m_appTranslator, *m_qtTranslator));
    QVERIFY(m_appTranslator->isEmpty());
    QCOMPARE(QCoreApplication::translate("MainWindow", "Connect"), QStringLiteral("Connect"));
}

void tst_Startup::installedCatalogues()
{
    // Not in the working directory: the build folder stands in for the installed data folder.
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    m_appTranslator = new QTranslator;
    m_qtTranslator = new QTranslator;
    QVERIFY(installTranslatorsFor(QStringLiteral("CH"), *m_appTranslator, *m_qtTranslator,
                                  QCoreApplication::applicationDirPath()));
    QVERIFY(QCoreApplication::translate("MainWindow", "Connect") != QLatin1String("Connect"));
    QVERIFY(QCoreApplication::translate("QPlatformTheme", "Cancel") != QLatin1String("Cancel"));
}

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
