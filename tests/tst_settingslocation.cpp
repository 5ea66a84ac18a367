// Where options.xml and the default history folder live when the executable's folder can or
// cannot be written. Whether it can is decided by an injected probe, so the cases hold for
// root (who ignores permission bits) as well; the real probe is checked on its own.

#include "mainwindow.h"
#include "modalwatcher.h"
#include "optionsfile.h"
#include "settingslocation.h"

#include <QAbstractButton>
#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeLanguageFile(const QString &path, const QString &language)
{
    OptionParam param;
    param.language = language;
    QVERIFY(OptionsFile::save(path, QByteArray(), QByteArray(), param));
}

/** A program folder, a per-user configuration folder and a per-user data folder. */
struct Folders
{
    QTemporaryDir root;
    QString program = root.filePath(QStringLiteral("program"));
    QString config = root.filePath(QStringLiteral("home/config/calorix"));
    QString data = root.filePath(QStringLiteral("home/data/calorix"));

    Folders() { QDir().mkpath(program); }

    SettingsLocation location(bool programWritable) const
    {
        return SettingsLocation(program, config, data,
                                [programWritable](const QString &) { return programWritable; });
    }
};

} // namespace

class tst_SettingsLocation : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void rule_data();
    void rule();
    void windowKeepsSettingsPerUser();
    void neitherPlaceWritableWarns();
    void probe_data();
    void probe();
    void systemFolderNeverPortable_data();
    void systemFolderNeverPortable();
    void decidedOncePerProcess();
};

void tst_SettingsLocation::initTestCase()
{
    qputenv("TETHRA_BACKENDS", "none");
    QStandardPaths::setTestModeEnabled(true);
}

void tst_SettingsLocation::cleanup()
{
    OptionsFile::setLocationForTesting(nullptr);
}

void tst_SettingsLocation::rule_data()
{
    QTest::addColumn<bool>("programWritable");
    QTest::addColumn<bool>("besideProgram");
    QTest::addColumn<bool>("perUser");
    QTest::addColumn<QString>("readFrom");
    QTest::addColumn<QString>("writeTo");
    QTest::addColumn<QString>("history");

    // Files present: "EN" beside the program, "CH" in the per-user folder.
    QTest::newRow("writable folder") << true << false << false << "program"
                                     << "program"
                                     << "program";
    QTest::newRow("writable folder ignores a per-user file") << true << true << true << "program"
                                                             << "program"
                                                             << "program";
    QTest::newRow("read-only folder") << false << false << false << "program"
                                      << "config"
                                      << "data";
    QTest::newRow("read-only folder holding a file") << false << true << false << "program"
                                                     << "config"
                                                     << "data";
    QTest::newRow("read-only folder, per-user file wins") << false << true << true << "config"
                                                          << "config"
                                                          << "data";
}

void tst_SettingsLocation::rule()
{
    QFETCH(bool, programWritable);
    QFETCH(bool, besideProgram);
    QFETCH(bool, perUser);
    QFETCH(QString, readFrom);
    QFETCH(QString, writeTo);
    QFETCH(QString, history);

    Folders folders;
    const QString programFile = folders.program + QStringLiteral("/options.xml");
    const QString userFile = folders.config + QStringLiteral("/options.xml");
    if (besideProgram)
        writeLanguageFile(programFile, QStringLiteral("EN"));
    if (perUser) {
        QVERIFY(QDir().mkpath(folders.config));
        writeLanguageFile(userFile, QStringLiteral("CH"));
    }
    const auto folder = [&folders](const QString &name) {
        return name == QLatin1String("program") ? folders.program
            : name == QLatin1String("config")   ? folders.config
                                                : folders.data;
    };

    const SettingsLocation location = folders.location(programWritable);
    QCOMPARE(location.isPortable(), programWritable);
    QCOMPARE(location.optionsFileToRead(), folder(readFrom) + QStringLiteral("/options.xml"));
    QCOMPARE(location.defaultHistoryFolder(), folder(history) + QStringLiteral("/History"));
    QCOMPARE(location.optionsFileToWrite(), folder(writeTo) + QStringLiteral("/options.xml"));
    // The per-user folder is made for the write, and only then.
    QCOMPARE(QFileInfo(folders.config).isDir(), writeTo == QLatin1String("config") || perUser);

    // The start-up language reader follows the same rule.
    OptionsFile::setLocationForTesting(&location);
    const QString expected = readFrom == QLatin1String("config") ? QStringLiteral("CH")
        : besideProgram                                          ? QStringLiteral("EN")
                                                                 : QString();
    QCOMPARE(readLanguageOption(), expected);
}

void tst_SettingsLocation::windowKeepsSettingsPerUser()
{
    Folders folders;
    const QString programFile = folders.program + QStringLiteral("/options.xml");
    const QString userFile = folders.config + QStringLiteral("/options.xml");
    OptionParam defaults;
    defaults.language = QStringLiteral("CH");
    defaults.allowAlarm = true;
    QVERIFY(OptionsFile::save(programFile, QByteArray(), QByteArray(), defaults));
    const QByteArray administratorFile = readAll(programFile);

    const SettingsLocation location = folders.location(false);
    OptionsFile::setLocationForTesting(&location);
    {
        MainWindow window;
        QCOMPARE(window.optionParam().language, QStringLiteral("CH"));
        QVERIFY(window.optionParam().allowAlarm);
        QCOMPARE(window.optionParam().historyFilesPath, folders.data + QStringLiteral("/History"));
        window.resize(640, 420);
        window.close();
    }
    QCOMPARE(readAll(programFile), administratorFile);
    const QByteArray saved = readAll(userFile);
    QVERIFY(saved.contains("<Language>CH</Language>"));
    QVERIFY(saved.contains("<AllowAlarm>1</AllowAlarm>"));

    // Next run: the user's own file is read, whatever the administrator's file says now.
    defaults.language = QStringLiteral("EN");
    QVERIFY(OptionsFile::save(programFile, QByteArray(), QByteArray(), defaults));
    QCOMPARE(readLanguageOption(), QStringLiteral("CH"));
    MainWindow again;
    QCOMPARE(again.optionParam().language, QStringLiteral("CH"));
    QCOMPARE(again.size(), QSize(640, 420));
}

void tst_SettingsLocation::neitherPlaceWritableWarns()
{
    Folders folders;
    // A regular file where the per-user folder should be: not even root can create it.
    const QString blocker = folders.root.filePath(QStringLiteral("home"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    const SettingsLocation location = folders.location(false);
    OptionsFile::setLocationForTesting(&location);
    ModalWatcher watcher([](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            box->button(QMessageBox::Ok)->click();
    });
    {
        MainWindow window;
        window.close();
    }
    QCOMPARE(watcher.seen, QStringList() << QStringLiteral("QMessageBox: Can not open file."));
    QVERIFY(!QFile::exists(folders.program + QStringLiteral("/options.xml")));
}

void tst_SettingsLocation::probe_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("writable");

    QTest::newRow("folder") << "folder" << true;
    QTest::newRow("missing folder") << "folder/missing" << false;
    QTest::newRow("regular file") << "folder/file" << false;
    QTest::newRow("empty name") << "" << false;
}

void tst_SettingsLocation::probe()
{
    QFETCH(QString, target);
    QFETCH(bool, writable);

    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("folder"));
    QVERIFY(QDir().mkpath(folder));
    QFile file(folder + QStringLiteral("/file"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    const QString path = target.isEmpty() ? QString() : root.filePath(target);
    QCOMPARE(SettingsLocation::canCreateFilesIn(path), writable);
    // The probe leaves nothing behind.
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList() << QStringLiteral("file"));
}

void tst_SettingsLocation::systemFolderNeverPortable_data()
{
    QTest::addColumn<QString>("program");
    for (const char *system :
         { "/usr/bin", "/usr/local/bin", "/bin", "/opt/calorix/bin", "/usr/lib/../bin/" })
        QTest::newRow(system) << QString::fromLatin1(system);
}

void tst_SettingsLocation::systemFolderNeverPortable()
{
    QFETCH(QString, program);
    // Writable, as it is for root.
    const auto writable = [](const QString &) { return true; };
    QVERIFY(!SettingsLocation(program, QString(), QString(), writable).isPortable());
    QVERIFY(SettingsLocation(program + QStringLiteral("/calorix"), QString(), QString(), writable)
                .isPortable());
}

void tst_SettingsLocation::decidedOncePerProcess()
{
    int asked = 0;
    const auto probe = [&](const QString &) { return ++asked == 1; }; // writable only once
    const QString first = SettingsLocation::forThisProgram(probe).optionsFileToWrite();
    QCOMPARE(SettingsLocation::forThisProgram(probe).optionsFileToWrite(), first);
    QCOMPARE(asked, 1);
}

QTEST_MAIN(tst_SettingsLocation)
#include "tst_settingslocation.moc"
