// Killing the program while it writes options.xml must never cost the user the settings: after
// a SIGKILL at any moment the file is the previous generation or the new one, whole.

#include "optionsfile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

struct Generation
{
    bool whole = false;
    qint64 number = -1;
};

// A file is whole when reading it and writing the values back gives the same bytes: a cut-off
// or mixed file cannot reproduce itself with all seven elements.
Generation inspect(const QString &path)
{
    Generation result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    const QByteArray bytes = file.readAll();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    OptionParam param;
    OptionsFile::readOptions(&buffer, param);
    buffer.close();
    buffer.open(QIODevice::ReadOnly);
    QByteArray geometry;
    QByteArray state;
    OptionsFile::readGeometryState(
        &buffer, [&geometry](const QByteArray &blob) { geometry = blob; },
        [&state](const QByteArray &blob) { state = blob; });

    QByteArray rewritten;
    QBuffer out(&rewritten);
    out.open(QIODevice::WriteOnly);
    OptionsFile::write(&out, geometry, state, param);
    bool ok = false;
    result.number = param.language.toLongLong(&ok);
    result.whole = ok && rewritten == bytes;
    return result;
}

} // namespace

class tst_OptionsRobustKill : public QObject
{
    Q_OBJECT
private slots:
    void killWhileWriting();
};

void tst_OptionsRobustKill::killWhileWriting()
{
    const QString writer
        = QCoreApplication::applicationDirPath() + QStringLiteral("/optionswriter");
    QVERIFY2(QFileInfo(writer).isExecutable(), qPrintable(writer + " is missing"));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("options.xml"));
    const QString history = dir.filePath(QStringLiteral("History"));
    QVERIFY(QDir().mkpath(history));

    OptionParam first;
    first.language = QStringLiteral("0");
    first.historyFilesPath = history;
    QVERIFY(OptionsFile::save(path, QByteArray(100, 'g'), QByteArray(10, 's'), first));
    Generation current = inspect(path);
    QVERIFY(current.whole);
    QCOMPARE(current.number, qint64(0));

    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("random seed %u", seed);
    QRandomGenerator random(seed);

    const int runs = 200;
    int intact = 0;
    int killedInWrite = 0;
    int killedBeforeFirstWrite = 0;
    qint64 written = 0;
    for (int run = 0; run < runs; ++run) {
        QProcess process;
        QSignalSpy finished(&process,
                            QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished));
        process.start(writer, { path, history, QString::number(current.number + 1) });
        QVERIFY2(process.waitForStarted(), qPrintable(process.errorString()));
        // Once the writer is in its loop (however slow its start under a sanitizer), a timer
        // kills it anywhere in a write or between two; every tenth run it dies while starting.
        if (run % 10 != 0)
            QVERIFY(process.waitForReadyRead(10000));
        QTimer::singleShot(int(random.bounded(run % 10 ? 25 : 5)), Qt::PreciseTimer, &process,
                           &QProcess::kill);
        QVERIFY(finished.wait(10000));
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);

        qint64 lastDone = current.number;
        QByteArray lastLine;
        for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
            if (line.isEmpty())
                continue;
            lastLine = line;
            if (line.startsWith("done "))
                lastDone = line.mid(5).toLongLong();
        }
        if (lastLine.isEmpty())
            ++killedBeforeFirstWrite;
        else if (lastLine.startsWith("begin "))
            ++killedInWrite;

        const Generation after = inspect(path);
        const QByteArray where = "run " + QByteArray::number(run) + ": generation "
            + QByteArray::number(after.number) + ", last done " + QByteArray::number(lastDone);
        QVERIFY2(after.whole, where);
        // The old one or the new one: a write may complete unseen just before the kill.
        QVERIFY2(after.number == lastDone || after.number == lastDone + 1, where);
        written += after.number - current.number;
        current = after;
        ++intact;
    }

    // Killed mid-write often enough that the test means something.
    QVERIFY2(killedInWrite >= runs / 10,
             qPrintable(QStringLiteral("only %1 kills during a write").arg(killedInWrite)));

    const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    qInfo("%d runs, %d whole afterwards, %d killed during a write, %d before the first write, "
          "%lld generations written, %d files left beside options.xml",
          runs, intact, killedInWrite, killedBeforeFirstWrite, written, int(left.size()) - 1);
    // Qt writes into an unnamed file and names it only just before renaming it over the old
    // one, so a kill in between can leave a spare copy behind; it must be a whole one.
    for (const QString &name : left) {
        QVERIFY2(name == QLatin1String("options.xml") || name.startsWith("options.xml."),
                 qPrintable(name));
        QVERIFY2(inspect(dir.filePath(name)).whole, qPrintable(name));
    }
}

QTEST_GUILESS_MAIN(tst_OptionsRobustKill)
#include "tst_optionsrobustkill.moc"
