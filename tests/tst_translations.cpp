#include "optiondialog.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct Message
{
    QString context;
    QString source;
    QString comment;
    QString type; // empty when finished
    QStringList translations; // one per numerus form, or one
};

QString key(const Message &m)
{
    return m.context + QLatin1Char('\x1f') + m.source + QLatin1Char('\x1f') + m.comment;
}

QString repositoryRoot()
{
    return QStringLiteral(CALORIX_SOURCE_DIR);
}

QString lupdatePath()
{
    const QString beside = QLibraryInfo::location(QLibraryInfo::BinariesPath) + "/lupdate";
    if (QFileInfo(beside).isExecutable())
        return beside;
    return QStandardPaths::findExecutable(QStringLiteral("lupdate"));
}

QList<Message> readTs(const QString &path, QString *error)
{
    QList<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = "cannot open " + path;
        return messages;
    }
    QXmlStreamReader xml(&file);
    QString context;
    Message current;
    bool inMessage = false;
    bool numerus = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QStringRef name = xml.name();
            if (name == QLatin1String("name") && !inMessage) {
                context = xml.readElementText();
            } else if (name == QLatin1String("message")) {
                current = Message();
                current.context = context;
                inMessage = true;
                numerus = xml.attributes().value("numerus") == QLatin1String("yes");
            } else if (name == QLatin1String("source")) {
                current.source = xml.readElementText();
            } else if (name == QLatin1String("comment")) {
                current.comment = xml.readElementText();
            } else if (name == QLatin1String("translation")) {
                current.type = xml.attributes().value("type").toString();
                if (!numerus)
                    current.translations << xml.readElementText();
            } else if (name == QLatin1String("numerusform")) {
                current.translations << xml.readElementText();
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            messages << current;
            inMessage = false;
        }
    }
    if (xml.hasError())
        *error = path + ": " + xml.errorString();
    return messages;
}

// Scans @p folders under @p root with lupdate into a fresh catalogue, as the update script does.
QList<Message> scan(const QString &root, const QStringList &folders, QString *error)
{
    QTemporaryDir out;
    const QString ts = out.filePath(QStringLiteral("scan_zh_CN.ts"));
    QProcess lupdate;
    lupdate.setWorkingDirectory(root);
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    lupdate.start(lupdatePath(),
                  QStringList { "-recursive" } + folders
                      + QStringList { "-extensions", "cpp,h", "-locations", "none", "-no-obsolete",
                                      "-target-language", "zh_CN", "-ts", ts });
    if (!lupdate.waitForFinished(120000) || lupdate.exitCode() != 0) {
        *error = "lupdate failed: " + QString::fromLocal8Bit(lupdate.readAll());
        return {};
    }
    return readTs(ts, error);
}

// Source texts of @p fresh that @p catalogue does not translate (missing or not finished).
QStringList untranslated(const QList<Message> &fresh, const QList<Message> &catalogue)
{
    QHash<QString, Message> byKey;
    for (const Message &m : catalogue)
        byKey.insert(key(m), m);
    QStringList problems;
    for (const Message &m : fresh) {
        const auto found = byKey.constFind(key(m));
        bool ok
            = found != byKey.constEnd() && found->type.isEmpty() && !found->translations.isEmpty();
        if (ok) {
            for (const QString &t : found->translations)
                ok = ok && !t.trimmed().isEmpty();
        }
        if (!ok)
            problems << m.context + ": \"" + m.source + "\"";
    }
    return problems;
}

QSet<QString> placeholders(const QString &text)
{
    QSet<QString> found;
    QRegularExpressionMatchIterator it = QRegularExpression("%L?\\d+").globalMatch(text);
    while (it.hasNext())
        found << it.next().captured().remove('L');
    return found;
}

QString committedCatalogue()
{
    return repositoryRoot() + "/translations/CH.ts";
}

QString compiledCatalogue()
{
    return QCoreApplication::applicationDirPath() + "/CH.qm";
}

} // namespace

class tst_Translations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everySourceTextHasFinishedTranslation();
    void checkCatchesMissingTranslation_data();
    void checkCatchesMissingTranslation();
    void catalogueIsCleanChinese();
    void compiledCatalogueMatchesSource();
    void knownTexts_data();
    void knownTexts();
    void qtCatalogueLoadsWithItsDependencies();
    void dialogComesUpInChinese();

private:
    QList<Message> m_catalogue;
};

void tst_Translations::initTestCase()
{
    QVERIFY2(QFile::exists(committedCatalogue()), qPrintable(committedCatalogue()));
    QVERIFY2(!lupdatePath().isEmpty(), "lupdate not found (qttools5-dev-tools)");
    QString error;
    m_catalogue = readTs(committedCatalogue(), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(m_catalogue.size() >= 20);
}

void tst_Translations::everySourceTextHasFinishedTranslation()
{
    QString error;
    const QList<Message> fresh
        = scan(repositoryRoot(), { "app", "dossview", "outside", "thermography" }, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(!fresh.isEmpty());
    const QStringList problems = untranslated(fresh, m_catalogue);
    QVERIFY2(problems.isEmpty(),
             qPrintable("run scripts/update-translations.sh and translate:\n  "
                        + problems.join("\n  ")));
}

void tst_Translations::checkCatchesMissingTranslation_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("catalogue");
    QTest::addColumn<QString>("expected");

    const QString code = "#include <QObject>\n"
                         "class Probe : public QObject { Q_OBJECT\n"
                         "    void f() { tr(\"Probe text\"); }\n"
                         "};\n";
    const QString finished = "<TS version=\"2.1\" language=\"zh_CN\"><context><name>Probe</name>"
                             "<message><source>Probe text</source>"
                             "<translation>%1</translation></message></context></TS>";
    QTest::newRow("translated") << code << finished.arg("探测文本") << "";
    QTest::newRow("absent from catalogue") << code << "<TS version=\"2.1\" language=\"zh_CN\"></TS>"
                                           << "Probe: \"Probe text\"";
    QTest::newRow("empty translation") << code << finished.arg("") << "Probe: \"Probe text\"";
    QTest::newRow("unfinished")
        << code
        << "<TS version=\"2.1\"><context><name>Probe</name><message><source>Probe text</source>"
           "<translation type=\"unfinished\">探测文本</translation></message></context></TS>"
        << "Probe: \"Probe text\"";
    QTest::newRow("other context")
        << code << QString(finished).replace("Probe<", "Other<") << "Probe: \"Probe text\"";
    QTest::newRow("noop marker") << "#include <QObject>\nstatic const char *n = "
                                    "QT_TRANSLATE_NOOP(\"Probe\", \"Probe text\");\n"
                                 << "<TS version=\"2.1\"></TS>"
                                 << "Probe: \"Probe text\"";
}

void tst_Translations::checkCatchesMissingTranslation()
{
    QFETCH(QString, source);
    QFETCH(QString, catalogue);
    QFETCH(QString, expected);

    QTemporaryDir tree;
    QVERIFY(QDir(tree.path()).mkpath("src"));
    QFile code(tree.filePath("src/probe.cpp"));
    QVERIFY(code.open(QIODevice::WriteOnly));
    code.write(source.toUtf8());
    code.close();
    QFile ts(tree.filePath("CH.ts"));
    QVERIFY(ts.open(QIODevice::WriteOnly));
    ts.write(catalogue.toUtf8());
    ts.close();

    QString error;
    const QList<Message> fresh = scan(tree.path(), { "src" }, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QList<Message> committed = readTs(ts.fileName(), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(untranslated(fresh, committed).join('\n'), expected);
}

void tst_Translations::catalogueIsCleanChinese()
{
    const QRegularExpression han("[\\x{4e00}-\\x{9fff}]");
    // Names of links and standards read the same in Chinese.
    const QStringList keptAsIs = { "USB" };
    for (const Message &m : qAsConst(m_catalogue)) {
        const QString what = m.context + ": " + m.source;
        QVERIFY2(m.type.isEmpty(), qPrintable(what + " is " + m.type));
        QVERIFY2(!m.translations.isEmpty(), qPrintable(what));
        for (const QString &t : m.translations) {
            QVERIFY2(!t.trimmed().isEmpty(), qPrintable(what));
            QVERIFY2(placeholders(t) == placeholders(m.source), qPrintable(what + " -> " + t));
            QVERIFY2(m.source.contains('&') == t.contains('&'), qPrintable(what + " -> " + t));
            if (!keptAsIs.contains(m.source))
                QVERIFY2(t.contains(han), qPrintable(what + " -> " + t));
        }
    }
}

void tst_Translations::compiledCatalogueMatchesSource()
{
    QTranslator translator;
    QVERIFY2(translator.load(compiledCatalogue()), qPrintable(compiledCatalogue()));
    for (const Message &m : qAsConst(m_catalogue)) {
        const QString compiled
            = translator.translate(m.context.toUtf8().constData(), m.source.toUtf8().constData(),
                                   m.comment.isEmpty() ? nullptr : m.comment.toUtf8().constData());
        QCOMPARE(compiled, m.translations.value(0));
    }
}

void tst_Translations::knownTexts_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("chinese");
    QTest::newRow("menu") << "MainWindow"
                          << "File"
                          << "文件";
    QTest::newRow("connect") << "MainWindow"
                             << "Connect"
                             << "连接";
    QTest::newRow("failed") << "MainWindow"
                            << "Failed to open device"
                            << "打开设备失败";
    QTest::newRow("restart") << "MainWindow"
                             << "Changes will take effect when you restart application."
                             << "更改将在重新启动应用程序后生效。";
    QTest::newRow("link wifi") << "MainWindow"
                               << "Wi-Fi"
                               << "无线";
    QTest::newRow("link usb") << "MainWindow"
                              << "USB"
                              << "USB";
    QTest::newRow("kind video") << "MainWindow"
                                << "Video"
                                << "视频";
    QTest::newRow("dialog title") << "OptionDialog"
                                  << "Options"
                                  << "选项";
    QTest::newRow("dialog ok") << "OptionDialog"
                               << "Ok"
                               << "确定";
    QTest::newRow("dialog path") << "OptionDialog"
                                 << "History files path"
                                 << "历史文件路径";
    QTest::newRow("picture tab") << "Panelet"
                                 << "Picture"
                                 << "图片";
}

void tst_Translations::knownTexts()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, chinese);
    QTranslator translator;
    QVERIFY(translator.load(compiledCatalogue()));
    QCOMPARE(translator.translate(context.toUtf8().constData(), source.toUtf8().constData()),
             chinese);
}

void tst_Translations::qtCatalogueLoadsWithItsDependencies()
{
    // The program loads it relative to its working directory, as "./translations/qt_zh_CN.qm".
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    QTranslator qt;
    const bool loaded = qt.load(QStringLiteral("./translations/qt_zh_CN.qm"));
    QDir::setCurrent(previous);
    QVERIFY(loaded);
    const QString cancel = qt.translate("QPlatformTheme", "Cancel");
    QVERIFY(!cancel.isEmpty());
    QVERIFY(cancel != QLatin1String("Cancel"));
}

void tst_Translations::dialogComesUpInChinese()
{
    QTranslator translator;
    QVERIFY(translator.load(compiledCatalogue()));
    QVERIFY(QCoreApplication::installTranslator(&translator));
    OptionDialog dialog;
    const QString title = dialog.windowTitle();
    const QString first = dialog.cbbLanguage->itemText(0);
    const QString second = dialog.cbbLanguage->itemText(1);
    QCoreApplication::removeTranslator(&translator);

    QCOMPARE(title, translator.translate("OptionDialog", "Options"));
    QVERIFY(title != QLatin1String("Options"));
    // The language names are never translated.
    QCOMPARE(first, QString::fromUtf8("\xe4\xb8\xad\xe6\x96\x87"));
    QCOMPARE(second, QStringLiteral("English"));
}

QTEST_MAIN(tst_Translations)
#include "tst_translations.moc"
