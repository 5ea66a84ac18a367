#include "fakebackend.h"
#include "mainwindow.h"
#include "modalwatcher.h"
#include "optionsfile.h"
#include "tethra.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const char *const s_defaultPath = "<default>";

OptionParam readOptionsFrom(const QByteArray &xml, const OptionParam &start)
{
    QByteArray bytes = xml;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    OptionParam param = start;
    OptionsFile::readOptions(&buffer, param);
    return param;
}

QString readLanguageFrom(const QByteArray &xml)
{
    QByteArray bytes = xml;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return OptionsFile::readLanguage(&buffer);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_OptionsFile : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void readOptions_data();
    void readOptions();
    void readLanguage_data();
    void readLanguage();
    void writtenFormat();
    void writeReadRoundTrip_data();
    void writeReadRoundTrip();
    void damagedHexIsHarmless();
    void writtenValueReadsBack_data();
    void writtenValueReadsBack();
    void writeLeavesOutLoneSurrogates_data();
    void writeLeavesOutLoneSurrogates();

    void windowWithoutFile();
    void windowKeepsGeometryAcrossRuns();
    void windowFallsBackFromDeletedHistoryPath();
    void unwritableFileWarnsAndKeepsNothingHalfWritten();
    void undecodableLanguageDoesNotBlockSaving();

private:
    QTemporaryDir m_dir;
    QString m_existingDir;
};

void tst_OptionsFile::initTestCase()
{
    qputenv("TETHRA_BACKENDS", "none");
    QVERIFY(m_dir.isValid());
    m_existingDir = m_dir.filePath(QStringLiteral("history"));
    QVERIFY(QDir().mkpath(m_existingDir));
    OptionsFile::setPathForTesting(m_dir.filePath(QStringLiteral("options.xml")));
}

void tst_OptionsFile::cleanup()
{
    QFile::remove(OptionsFile::readPath());
}

void tst_OptionsFile::readOptions_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<bool>("startFlags");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("historyPath");
    QTest::addColumn<bool>("alarm");
    QTest::addColumn<bool>("sound");
    QTest::addColumn<bool>("log");

    const QString existing = m_existingDir;
    const QByteArray existingXml = existing.toUtf8();
    const QString def = QString::fromLatin1(s_defaultPath);

    QTest::newRow("complete file")
        << QByteArray("<options><Language>CH</Language><HistoryFilesPath>" + existingXml
                      + "</HistoryFilesPath><AllowAlarm>1</AllowAlarm><AllowAlarmSound>0"
                        "</AllowAlarmSound><AllowLogGeneration>1</AllowLogGeneration>"
                        "</options>")
        << false << "CH" << existing << true << false << true;
    QTest::newRow("numbers other than 0 are true")
        << QByteArray("<options><AllowAlarm>2</AllowAlarm><AllowAlarmSound>-1"
                      "</AllowAlarmSound><AllowLogGeneration>0</AllowLogGeneration></options>")
        << true << "" << def << true << true << false;
    QTest::newRow("words are false")
        << QByteArray("<options><AllowAlarm>true</AllowAlarm><AllowAlarmSound>yes"
                      "</AllowAlarmSound><AllowLogGeneration>on</AllowLogGeneration></options>")
        << true << "" << def << false << false << false;
    QTest::newRow("empty and blank elements leave the flags")
        << QByteArray("<options><AllowAlarm></AllowAlarm><AllowAlarmSound>  \n\t"
                      "</AllowAlarmSound><AllowLogGeneration/></options>")
        << true << "" << def << true << true << true;
    QTest::newRow("two Language elements: the last wins")
        << QByteArray("<options><Language>EN</Language><Language>CH</Language></options>") << false
        << "CH" << def << false << false << false;
    QTest::newRow("blanks around the language are kept")
        << QByteArray("<options><Language> CH</Language></options>") << false << " CH" << def
        << false << false << false;
    QTest::newRow("nested one level deeper and re-ordered")
        << QByteArray("<options><group><AllowAlarm>1</AllowAlarm><Language>CH</Language>"
                      "</group></options>")
        << false << "CH" << def << true << false << false;
    QTest::newRow("another root name")
        << QByteArray("<settings><Language>CH</Language><AllowLogGeneration>3"
                      "</AllowLogGeneration></settings>")
        << false << "CH" << def << false << false << true;
    QTest::newRow("file breaks off midway")
        << QByteArray("<?xml version=\"1.0\"?><options><Language>CH</Language><AllowAlarm>1"
                      "</AllowAlarm><AllowAlarmSou")
        << false << "CH" << def << true << false << false;
    QTest::newRow("history path that does not exist")
        << QByteArray("<options><HistoryFilesPath>/no/such/folder/anywhere</HistoryFilesPath>"
                      "</options>")
        << false << "" << def << false << false << false;
    QTest::newRow("only the first text run of an element counts")
        << QByteArray("<options><Language>CH<!-- note -->EN</Language>"
                      "<AllowAlarm>0<?pi?>1</AllowAlarm></options>")
        << false << "CH" << def << false << false << false;
    QTest::newRow("element names are case-sensitive")
        << QByteArray("<options><language>CH</language><allowalarm>1</allowalarm></options>")
        << false << "" << def << false << false << false;
    QTest::newRow("attributes, comments and unknown elements are ignored")
        << QByteArray("<options version=\"2\"><!-- c --><Other>1</Other>"
                      "<Language lang=\"x\">CH</Language></options>")
        << false << "CH" << def << false << false << false;
    QTest::newRow("not XML at all")
        << QByteArray("\x01\x02 garbage <<<") << true << "" << def << true << true << true;
    // "+2AA-" is U+D800 alone in UTF-7: a text no writer can put back counts as no value.
    QTest::newRow("UTF-7 language decoding to a lone surrogate")
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-7\"?><options><Language>EN"
                      "</Language><Language>+2AA-</Language><AllowAlarm>1</AllowAlarm>"
                      "</options>")
        << false << "EN" << def << true << false << false;
    QTest::newRow("UTF-7 language decoding to a whole pair")
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-7\"?><options><Language>C+2D3eAA-H"
                      "</Language></options>")
        << false << QStringLiteral("C\U0001F600H") << def << false << false << false;
}

void tst_OptionsFile::readOptions()
{
    QFETCH(QByteArray, xml);
    QFETCH(bool, startFlags);

    OptionParam start;
    start.historyFilesPath = QString::fromLatin1(s_defaultPath);
    start.allowAlarm = start.allowAlarmSound = start.allowLogGeneration = startFlags;
    const OptionParam param = readOptionsFrom(xml, start);

    QTEST(param.language, "language");
    QTEST(param.historyFilesPath, "historyPath");
    QTEST(param.allowAlarm, "alarm");
    QTEST(param.allowAlarmSound, "sound");
    QTEST(param.allowLogGeneration, "log");
}

void tst_OptionsFile::readLanguage_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("language");

    QTest::newRow("plain") << QByteArray("<options><Language>CH</Language></options>") << "CH";
    QTest::newRow("empty element") << QByteArray("<options><Language/></options>") << "";
    QTest::newRow("blank element") << QByteArray("<options><Language> </Language></options>") << "";
    QTest::newRow("two elements: the last wins")
        << QByteArray("<options><Language>CH</Language><Language>EN</Language></options>") << "EN";
    // The language reader keeps the element current after taking its text.
    QTest::newRow("a later text run replaces the value")
        << QByteArray("<options><Language>CH<!-- note -->EN</Language></options>") << "EN";
    QTest::newRow("text after the end tag still counts")
        << QByteArray("<options><Language>CH</Language>EN</options>") << "EN";
    QTest::newRow("another element's text stops it")
        << QByteArray("<options><Language>CH</Language><State>00</State>EN</options>") << "CH";
    QTest::newRow("breaks off") << QByteArray("<options><Language>CH</Language><Sta") << "CH";
    QTest::newRow("lone surrogates are no value")
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-7\"?><options><Language>CH"
                      "</Language><Language>+3AA-</Language><Language>E+2AA-N</Language>"
                      "</options>")
        << "CH";
    QTest::newRow("no file content") << QByteArray() << "";
}

void tst_OptionsFile::readLanguage()
{
    QFETCH(QByteArray, xml);
    QTEST(readLanguageFrom(xml), "language");
}

void tst_OptionsFile::writtenFormat()
{
    OptionParam param;
    param.language = QStringLiteral("CH");
    param.historyFilesPath = QStringLiteral("/data/a&b<c>");
    param.allowAlarm = true;
    param.allowLogGeneration = true;

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(OptionsFile::write(&buffer, QByteArray("\x01\xff", 2), QByteArray(), param));
    QCOMPARE(bytes,
             QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<options>\n"
                        "    <Geometry>01ff</Geometry>\n"
                        "    <State></State>\n"
                        "    <Language>CH</Language>\n"
                        "    <HistoryFilesPath>/data/a&amp;b&lt;c&gt;</HistoryFilesPath>\n"
                        "    <AllowAlarm>1</AllowAlarm>\n"
                        "    <AllowAlarmSound>0</AllowAlarmSound>\n"
                        "    <AllowLogGeneration>1</AllowLogGeneration>\n"
                        "</options>\n"));
}

void tst_OptionsFile::writeReadRoundTrip_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("flags");
    QTest::newRow("Chinese, all on") << "CH" << true;
    QTest::newRow("English, all off") << "EN" << false;
    QTest::newRow("empty language") << "" << true;
}

void tst_OptionsFile::writeReadRoundTrip()
{
    QFETCH(QString, language);
    QFETCH(bool, flags);

    OptionParam param;
    param.language = language;
    param.historyFilesPath = m_existingDir;
    param.allowAlarm = param.allowAlarmSound = param.allowLogGeneration = flags;
    const QByteArray geometry("\x01\xd9\xd0\xcb\x00\x03", 6);
    const QByteArray state("\x00\x00\x00\xff", 4);
    QVERIFY(OptionsFile::save(OptionsFile::writePath(), geometry, state, param));

    OptionParam start;
    start.allowAlarm = start.allowAlarmSound = start.allowLogGeneration = !flags;
    QCOMPARE(readOptionsFrom(readAll(OptionsFile::readPath()), start), param);
    QCOMPARE(readLanguageOption(), language);

    QFile file(OptionsFile::readPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QList<QByteArray> geometries, states;
    OptionsFile::readGeometryState(
        &file, [&](const QByteArray &blob) { geometries << blob; },
        [&](const QByteArray &blob) { states << blob; });
    QCOMPARE(geometries, QList<QByteArray>() << geometry);
    QCOMPARE(states, QList<QByteArray>() << state);
}

void tst_OptionsFile::damagedHexIsHarmless()
{
    QByteArray xml("<options><Geometry>zz01q</Geometry><State>0</State></options>");
    QBuffer buffer(&xml);
    buffer.open(QIODevice::ReadOnly);
    int calls = 0;
    OptionsFile::readGeometryState(
        &buffer, [&](const QByteArray &) { ++calls; }, [&](const QByteArray &) { ++calls; });
    QCOMPARE(calls, 2);

    // A window handed such blobs stays as it was built.
    QRect built;
    {
        MainWindow reference;
        built = reference.geometry();
    }
    QFile file(OptionsFile::readPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(xml);
    file.close();
    MainWindow window;
    QCOMPARE(window.geometry(), built);
    QVERIFY(!window.isMaximized());
}

void tst_OptionsFile::windowWithoutFile()
{
    QVERIFY(!QFile::exists(OptionsFile::readPath()));
    QCOMPARE(readLanguageOption(), QString());
    {
        MainWindow window;
        QCOMPARE(window.optionParam().language, QString());
        QCOMPARE(window.optionParam().historyFilesPath,
                 QCoreApplication::applicationDirPath() + QStringLiteral("/History"));
        window.close();
    }
    const QByteArray xml = readAll(OptionsFile::readPath());
    QStringList order;
    for (const char *name : { "Geometry", "State", "Language", "HistoryFilesPath", "AllowAlarm",
                              "AllowAlarmSound", "AllowLogGeneration" })
        QVERIFY2(xml.indexOf(QByteArray("<") + name + ">") > 0, name);
    QVERIFY(xml.contains("<Language></Language>"));
    QVERIFY(xml.contains("<AllowAlarm>0</AllowAlarm>"));
    QVERIFY(xml.contains("<HistoryFilesPath>" + QCoreApplication::applicationDirPath().toUtf8()
                         + "/History<"));
}

void tst_OptionsFile::windowKeepsGeometryAcrossRuns()
{
    QRect saved;
    {
        MainWindow window;
        window.show();
        window.setGeometry(120, 90, 700, 480);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        saved = window.geometry();
        window.close();
    }
    MainWindow again;
    QCOMPARE(again.geometry().size(), saved.size());
    QCOMPARE(again.geometry().topLeft(), saved.topLeft());
}

void tst_OptionsFile::windowFallsBackFromDeletedHistoryPath()
{
    const QString doomed = m_dir.filePath(QStringLiteral("doomed"));
    QVERIFY(QDir().mkpath(doomed));
    OptionParam param;
    param.historyFilesPath = doomed;
    QVERIFY(OptionsFile::save(OptionsFile::writePath(), QByteArray(), QByteArray(), param));
    QVERIFY(QDir(doomed).removeRecursively());

    const QString fallback = QCoreApplication::applicationDirPath() + QStringLiteral("/History");
    {
        MainWindow window;
        QCOMPARE(window.optionParam().historyFilesPath, fallback);
        window.close();
    }
    QVERIFY(readAll(OptionsFile::readPath()).contains(fallback.toUtf8()));
}

void tst_OptionsFile::unwritableFileWarnsAndKeepsNothingHalfWritten()
{
    const QString blocked = m_dir.filePath(QStringLiteral("missing-folder/options.xml"));
    OptionsFile::setPathForTesting(blocked);
    ModalWatcher watcher([](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            box->button(QMessageBox::Ok)->click();
    });
    {
        MainWindow window;
        window.close();
    }
    OptionsFile::setPathForTesting(m_dir.filePath(QStringLiteral("options.xml")));
    QCOMPARE(watcher.seen, QStringList() << QStringLiteral("QMessageBox: Can not open file."));
    QVERIFY(!QFile::exists(blocked));
    QVERIFY(
        QDir(m_dir.path())
            .entryList(QStringList() << QStringLiteral("options.xml*"), QDir::Files | QDir::Hidden)
            .isEmpty());
}

void tst_OptionsFile::writtenValueReadsBack_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("carriage return") << "a\rb";
    QTest::newRow("carriage return and line feed") << "a\r\nb";
    QTest::newRow("carriage returns at both ends") << "\rab\r\r";
    QTest::newRow("line feed and tab") << "a\n\tb";
    QTest::newRow("markup characters") << "<a href=\"x\">&amp;]]></a>";
    QTest::newRow("blanks around") << "  CH ";
}

void tst_OptionsFile::writtenValueReadsBack()
{
    QFETCH(QString, value);
    OptionParam param;
    param.language = value;
    param.historyFilesPath = m_existingDir;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(OptionsFile::write(&buffer, QByteArray(), QByteArray(), param));
    QCOMPARE(readOptionsFrom(bytes, OptionParam()), param);
    QCOMPARE(readLanguageFrom(bytes), value);
}

void tst_OptionsFile::writeLeavesOutLoneSurrogates_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("readBack");
    const QChar high(0xd800);
    const QChar low(0xdc00);
    QTest::newRow("high alone") << QString(QStringLiteral("C") + high + QStringLiteral("H"))
                                << "CH";
    QTest::newRow("low alone") << QString(low + QStringLiteral("CH")) << "CH";
    QTest::newRow("high at the end") << QString(QStringLiteral("CH") + high) << "CH";
    QTest::newRow("low before high") << QString(QStringLiteral("C") + low + high) << "C";
    QTest::newRow("a whole pair stays")
        << QStringLiteral("C\U0001F600H") << QStringLiteral("C\U0001F600H");
}

void tst_OptionsFile::writeLeavesOutLoneSurrogates()
{
    QFETCH(QString, value);
    OptionParam param;
    param.language = value;
    param.historyFilesPath = m_existingDir;
    param.allowAlarmSound = true;

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(OptionsFile::write(&buffer, QByteArray("\x01", 1), QByteArray(), param));
    QVERIFY2(!bytes.contains("</>"), bytes.constData());

    OptionParam expected = param;
    QFETCH(QString, readBack);
    expected.language = readBack;
    QCOMPARE(readOptionsFrom(bytes, OptionParam()), expected);
    QCOMPARE(readLanguageFrom(bytes), readBack);
}

void tst_OptionsFile::undecodableLanguageDoesNotBlockSaving()
{
    // A damaged file whose Language decodes to a lone surrogate must not keep every later
    // close from saving the settings.
    QFile file(OptionsFile::writePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<?xml version=\"1.0\" encoding=\"UTF-7\"?><options><Language>+2AA-</Language>"
               "<AllowAlarm>1</AllowAlarm></options>");
    file.close();
    ModalWatcher watcher([](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            box->button(QMessageBox::Ok)->click();
    });
    for (int run = 0; run < 2; ++run) {
        MainWindow window;
        QVERIFY(window.optionParam().allowAlarm);
        window.close();
    }
    QCOMPARE(watcher.seen, QStringList());
    const QByteArray xml = readAll(OptionsFile::readPath());
    QVERIFY2(xml.contains("<Language></Language>"), xml.constData());
    QVERIFY(xml.contains("<AllowAlarm>1</AllowAlarm>"));
}

QTEST_MAIN(tst_OptionsFile)
#include "tst_optionsfile.moc"
