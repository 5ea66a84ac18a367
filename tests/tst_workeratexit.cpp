#include "diplaythumbnailthread.h"
#include "disktree.h"
#include "dossview.h"
#include "dossviewprobe.h"
#include "qurlinfo.h"

#include <QApplication>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <memory>

// A thumbnail worker that outlives the window's wait is let go. When it finishes after the
// event loop has ended, as at the program's end, it must still be freed: by the application's
// end at the latest. That is checked in main(), after the application object has gone.

namespace {
bool s_workerDeleted = false;
} // namespace

class tst_WorkerAtExit : public QObject
{
    Q_OBJECT
private slots:
    void workerFinishingAfterTheEventLoop();
};

void tst_WorkerAtExit::workerFinishingAfterTheEventLoop()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The worker blocks reading the pipe until the test writes to it.
    const QString gate = dir.filePath(QStringLiteral("gate.bmp"));
    QVERIFY(DiskTree::makeFifo(gate));
    const QDateTime when(QDate(2026, 3, 4), QTime(5, 6));
    std::unique_ptr<QUrlInfo> record(new QUrlInfo(gate, 0644, QStringLiteral("owner"),
                                                  QStringLiteral("group"), 230454, when, when,
                                                  false, true, false, true, true, false));
    auto *view = new Dossview(DeviceManager::UsbFile, QStringLiteral("EN"));
    view->setFiles({ record.get() });
    QPointer<DiplayThumbnailThread> worker = DossviewProbe(view).thumbnailThread();
    QVERIFY(worker);
    connect(worker.data(), &QObject::destroyed, [] { s_workerDeleted = true; });

    delete view; // waits for the worker, in vain, and lets it go
    QVERIFY(worker);
    QVERIFY(worker->isRunning());

    // From here on no event loop runs, as after QApplication::exec() has returned.
    QVERIFY(DiskTree::feedFifo(gate, "x"));
    QVERIFY(worker->wait(30000));
    QVERIFY(worker);
    QVERIFY(!s_workerDeleted);
}

int main(int argc, char *argv[])
{
    int failures = 0;
    {
        QApplication app(argc, argv);
        tst_WorkerAtExit test;
        failures = QTest::qExec(&test, argc, argv);
    }
    if (!s_workerDeleted) {
        std::fprintf(stderr,
                     "FAIL!  : the worker that finished after the event loop was not "
                     "deleted at the application's end\n");
        ++failures;
    }
    return failures;
}

#include "tst_workeratexit.moc"
