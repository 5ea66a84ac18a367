// Damaged and oversized options.xml: a file cut off anywhere, or one that hides its values
// behind megabytes of padding, must load without a crash or a hang and never yield a value
// that the program did not write.

#include "mainwindow.h"
#include "optionsfile.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

namespace {

struct Loaded
{
    QString language;
    OptionParam param;
    QList<QByteArray> geometries;
    QList<QByteArray> states;
};

Loaded loadAll(const QByteArray &document, const OptionParam &start)
{
    Loaded loaded;
    QBuffer buffer;
    buffer.setData(document);

    buffer.open(QIODevice::ReadOnly);
    loaded.language = OptionsFile::readLanguage(&buffer);
    buffer.close();

    loaded.param = start;
    buffer.open(QIODevice::ReadOnly);
    OptionsFile::readOptions(&buffer, loaded.param);
    buffer.close();

    buffer.open(QIODevice::ReadOnly);
    OptionsFile::readGeometryState(
        &buffer, [&loaded](const QByteArray &blob) { loaded.geometries.append(blob); },
        [&loaded](const QByteArray &blob) { loaded.states.append(blob); });
    buffer.close();
    return loaded;
}

} // namespace

class tst_OptionsRobust : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void everyPrefixLoads();
    void readLanguageOptionOnTruncatedFile();
    void valuesAfterHugePadding_data();
    void valuesAfterHugePadding();
    void stateGuard_data();
    void stateGuard();
    void windowStartsWithHostileState();

private:
    QTemporaryDir m_dir;
    QString m_historyPath;
    QByteArray m_geometry;
    QByteArray m_state;
    OptionParam m_written;
    OptionParam m_start;
    QByteArray m_document;
};

void tst_OptionsRobust::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // A history folder whose name needs escaping, and beside it folders named after its
    // prefixes: a path cut short would name an existing folder and be taken if the readers
    // accepted a text that breaks off.
    m_historyPath = m_dir.path() + QStringLiteral("/hist & <史> dir");
    QVERIFY(QDir().mkpath(m_historyPath));
    for (const QString &prefix :
         { QStringLiteral("/h"), QStringLiteral("/hist"), QStringLiteral("/hist "),
           QStringLiteral("/hist & "), QStringLiteral("/hist & <史") })
        QVERIFY(QDir().mkpath(m_dir.path() + prefix));

    // Real blobs from a main window with a tool bar and a status bar, as the program has.
    QMainWindow window;
    window.addToolBar(QStringLiteral("File"))->setObjectName(QStringLiteral("fileToolBar"));
    window.statusBar();
    window.setGeometry(40, 50, 900, 640);
    m_geometry = window.saveGeometry();
    m_state = window.saveState(0);
    QVERIFY(!m_geometry.isEmpty());
    QVERIFY(!m_state.isEmpty());

    m_written.language = QStringLiteral("CH");
    m_written.historyFilesPath = m_historyPath;
    m_written.allowAlarm = true;
    m_written.allowAlarmSound = false;
    m_written.allowLogGeneration = true;

    // Start values differ from every written value, so each field shows which one it holds.
    m_start.historyFilesPath = m_dir.path() + QStringLiteral("/History");
    m_start.allowAlarm = false;
    m_start.allowAlarmSound = true;
    m_start.allowLogGeneration = false;

    const QString path = m_dir.filePath(QStringLiteral("options.xml"));
    QVERIFY(OptionsFile::save(path, m_geometry, m_state, m_written));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    m_document = file.readAll();

    const Loaded full = loadAll(m_document, m_start);
    QCOMPARE(full.language, m_written.language);
    QCOMPARE(full.param, m_written);
    QCOMPARE(full.geometries, QList<QByteArray>() << m_geometry);
    QCOMPARE(full.states, QList<QByteArray>() << m_state);
}

void tst_OptionsRobust::everyPrefixLoads()
{
    int sawPartial = 0;
    for (int length = 0; length <= m_document.size(); ++length) {
        const QByteArray prefix = m_document.left(length);
        const Loaded loaded = loadAll(prefix, m_start);
        const QByteArray where = "prefix of " + QByteArray::number(length) + " bytes";

        QVERIFY2(loaded.language.isEmpty() || loaded.language == m_written.language, where);
        QVERIFY2(loaded.param.language.isEmpty() || loaded.param.language == m_written.language,
                 where);
        QVERIFY2(loaded.param.historyFilesPath == m_start.historyFilesPath
                     || loaded.param.historyFilesPath == m_written.historyFilesPath,
                 where + " history " + loaded.param.historyFilesPath.toUtf8());
        QVERIFY2(loaded.param.allowAlarm == m_start.allowAlarm
                     || loaded.param.allowAlarm == m_written.allowAlarm,
                 where);
        QVERIFY2(loaded.param.allowAlarmSound == m_start.allowAlarmSound
                     || loaded.param.allowAlarmSound == m_written.allowAlarmSound,
                 where);
        QVERIFY2(loaded.param.allowLogGeneration == m_start.allowLogGeneration
                     || loaded.param.allowLogGeneration == m_written.allowLogGeneration,
                 where);
        // A blob is handed over whole or not at all: half a geometry is not the window's.
        QVERIFY2(loaded.geometries.isEmpty()
                     || loaded.geometries == QList<QByteArray> { m_geometry },
                 where);
        QVERIFY2(loaded.states.isEmpty() || loaded.states == QList<QByteArray> { m_state }, where);

        if (loaded.param != m_start && loaded.param != m_written)
            ++sawPartial;
    }
    // The cut points between the elements must give mixed results; otherwise the loop above
    // checked nothing but empty and full files.
    QVERIFY(sawPartial > 0);
}

void tst_OptionsRobust::readLanguageOptionOnTruncatedFile()
{
    const int languageAt = m_document.indexOf("<Language>") + int(qstrlen("<Language>"));
    QVERIFY(languageAt > 10);
    const QString path = m_dir.filePath(QStringLiteral("cut.xml"));
    OptionsFile::setPathForTesting(path);
    for (int cut : { languageAt, languageAt + 1, languageAt + 2, languageAt + 3 }) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(m_document.left(cut));
        file.close();
        const QString language = readLanguageOption();
        QVERIFY2(language.isEmpty() || language == QLatin1String("CH"),
                 qPrintable(QStringLiteral("cut at %1: '%2'").arg(cut).arg(language)));
    }
    OptionsFile::setPathForTesting(QString());
}

void tst_OptionsRobust::valuesAfterHugePadding_data()
{
    const int size = 5 * 1024 * 1024;
    QTest::addColumn<QByteArray>("padding");
    QTest::newRow("comment") << "<!--" + QByteArray(size, 'x') + "-->";
    QTest::newRow("whitespace") << QByteArray(size, ' ');
    QTest::newRow("one unknown element") << "<Padding>" + QByteArray(size, 'y') + "</Padding>";
    QByteArray many;
    while (many.size() < size)
        many += "<Noise a=\"1\">text</Noise>\n";
    QTest::newRow("many unknown elements") << many;
    QByteArray hex = QByteArray(size / 2, '\x5a').toHex();
    QTest::newRow("huge geometry first") << "<Geometry>" + hex + "</Geometry>";
    // 100000 levels, then blanks up to the size: deep enough to hurt a recursive reader,
    // without making every start tag of the 5 MiB an allocation.
    QByteArray nested;
    const int depth = 100000;
    nested.reserve(size);
    for (int i = 0; i < depth; ++i)
        nested += "<n>";
    for (int i = 0; i < depth; ++i)
        nested += "</n>";
    nested += QByteArray(size - nested.size(), ' ');
    QTest::newRow("deep nesting") << nested;
}

void tst_OptionsRobust::valuesAfterHugePadding()
{
    QFETCH(QByteArray, padding);
    QByteArray values;
    QBuffer buffer(&values);
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QVERIFY(OptionsFile::write(&buffer, m_geometry, m_state, m_written));
    buffer.close();
    const int root = values.indexOf("<options>") + int(qstrlen("<options>"));
    QVERIFY(root > int(qstrlen("<options>")));
    const QByteArray document = values.left(root) + padding + values.mid(root);
    QVERIFY(document.size() > 5 * 1024 * 1024);

    const QString path = m_dir.filePath(QStringLiteral("huge.xml"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(document), qint64(document.size()));
    file.close();

    OptionsFile::setPathForTesting(path);
    QCOMPARE(readLanguageOption(), m_written.language);
    OptionsFile::setPathForTesting(QString());

    QVERIFY(file.open(QIODevice::ReadOnly));
    OptionParam param = m_start;
    OptionsFile::readOptions(&file, param);
    file.close();
    QCOMPARE(param, m_written);

    QVERIFY(file.open(QIODevice::ReadOnly));
    QList<QByteArray> geometries;
    QList<QByteArray> states;
    OptionsFile::readGeometryState(
        &file, [&geometries](const QByteArray &blob) { geometries.append(blob); },
        [&states](const QByteArray &blob) { states.append(blob); });
    QVERIFY(!geometries.isEmpty());
    QCOMPARE(geometries.last(), m_geometry);
    QCOMPARE(states, QList<QByteArray> { m_state });
}

// Found by fuzz_optionsfile: a State whose toolbar section claims 0x40000001 lines kept
// QMainWindow::restoreState busy for 80 seconds.
static const char HostileState[]
    = "000000ff00000000fd00000000000000000000000000000004000000040000000800000008fc40000001"
      "00000002000000010000001600660069006c00650054006f006f006c0042006100720100000000ffffff"
      "ff0000000000000000";

void tst_OptionsRobust::stateGuard_data()
{
    QTest::addColumn<QByteArray>("state");
    QTest::addColumn<bool>("restorable");

    QMainWindow bare;
    QTest::newRow("window without bars") << bare.saveState(0) << true;
    QTest::newRow("window with a tool bar") << m_state << true;
    QMainWindow twoLines;
    twoLines.addToolBar(QStringLiteral("a"))->setObjectName(QStringLiteral("a"));
    twoLines.addToolBarBreak(Qt::TopToolBarArea);
    twoLines.addToolBar(QStringLiteral("b"))->setObjectName(QStringLiteral("b"));
    auto *side = new QToolBar(QStringLiteral("c"));
    side->setObjectName(QStringLiteral("c"));
    twoLines.addToolBar(Qt::LeftToolBarArea, side);
    QTest::newRow("tool bars on three lines") << twoLines.saveState(0) << true;

    QTest::newRow("found by the fuzzer") << QByteArray::fromHex(HostileState) << false;
    QByteArray manyToolBars = m_state;
    const int line = manyToolBars.indexOf(char(0xfc));
    QVERIFY(line > 0);
    // the first line's number of tool bars, after its area
    qToBigEndian<qint32>(0x7fffffff, manyToolBars.data() + line + 1 + 4 + 4);
    QTest::newRow("a line of 2^31 tool bars") << manyToolBars << false;
    QByteArray longName = m_state;
    qToBigEndian<quint32>(0x7ffffff0, longName.data() + line + 1 + 4 + 4 + 4);
    QTest::newRow("a 2 GB tool bar name") << longName << false;
    QByteArray docks = bare.saveState(0);
    qToBigEndian<qint32>(1000000, docks.data() + 9);
    QTest::newRow("a million dock areas") << docks << false;
    QTest::newRow("cut in a tool bar") << m_state.left(m_state.size() - 3) << false;
    QTest::newRow("other version") << QMainWindow().saveState(1) << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void tst_OptionsRobust::stateGuard()
{
    QFETCH(QByteArray, state);
    QFETCH(bool, restorable);
    QCOMPARE(OptionsFile::isRestorableState(state), restorable);
    if (restorable) {
        // What passes is what Qt itself takes.
        QMainWindow window;
        for (const char *name : { "fileToolBar", "a", "b", "c" })
            window.addToolBar(QString::fromLatin1(name))->setObjectName(QString::fromLatin1(name));
        QVERIFY(window.restoreState(state, 0));
    }
}

// The whole start-up path: a window built over an options.xml with the fuzzer's State comes up
// with the geometry the file holds (without the guard, Qt spends over a minute on the State).
void tst_OptionsRobust::windowStartsWithHostileState()
{
    qputenv("TETHRA_BACKENDS", "none");
    QByteArray document;
    QBuffer buffer(&document);
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QVERIFY(OptionsFile::write(&buffer, m_geometry, QByteArray::fromHex(HostileState), m_written));
    buffer.close();
    const QString path = m_dir.filePath(QStringLiteral("hostile-state.xml"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(document);
    file.close();

    OptionsFile::setPathForTesting(path);
    MainWindow window;
    OptionsFile::setPathForTesting(QString());
    QCOMPARE(window.saveGeometry(), m_geometry);
}

QTEST_MAIN(tst_OptionsRobust)
#include "tst_optionsrobust.moc"
