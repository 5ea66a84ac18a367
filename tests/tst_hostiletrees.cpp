// A disk the user plugs in may hold anything: link cycles, absurd depth, thousands of files,
// odd names, things that are not files, and files that change while the window looks at them.
// The listing must end, list exactly the valid pictures in the walk's order, and the thumbnail
// worker must outlive whatever vanishes under it.

#include "diplaythumbnailthread.h"
#include "disktree.h"
#include "dossview.h"
#include "dossviewprobe.h"
#include "findfiles.h"
#include "mosaicview.h"
#include "picturechecks.h"
#include "qurlinfo.h"
#include "testpictures.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>

#include <unistd.h>

namespace {

// An instrument picture whose pixels are all zero, written sparse: thousands of them cost
// almost no disk, yet every one passes the listing's tests and decodes.
bool writeSparsePicture(const QString &path)
{
    static const QByteArray header = TestPictures::instrumentPicture(0).left(54);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(header) == header.size()
        && file.resize(TestPictures::InstrumentFileSize);
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    return TestPictures::writeFile(path, bytes);
}

QStringList listedPaths(const QSignalSpy &spy, const QString &root)
{
    if (spy.isEmpty())
        return { QStringLiteral("<no updateFiles>") };
    QStringList paths;
    for (const QUrlInfo *info : spy.last().at(0).value<QList<QUrlInfo *>>())
        paths.append(info->name());
    return DiskTree::relativePaths(root, paths);
}

using TreeMaker = std::function<bool(const QString &root, QStringList *expected)>;

} // namespace

Q_DECLARE_METATYPE(TreeMaker)

class tst_HostileTrees : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void listing_data();
    void listing();
    void changesBetweenWalkAndRead_data();
    void changesBetweenWalkAndRead();
    void workerSurvivesVanishing_data();
    void workerSurvivesVanishing();
};

void tst_HostileTrees::initTestCase()
{
    qRegisterMetaType<QList<QUrlInfo *>>();
    qRegisterMetaType<DeviceManager::Mode>();
}

void tst_HostileTrees::listing_data()
{
    QTest::addColumn<TreeMaker>("make");
    QTest::addColumn<bool>("needsNonRoot");

    QTest::newRow("directory-link cycle") << TreeMaker(
        [](const QString &root, QStringList *expected) {
            // a/loop -> b and b/back -> a: each real folder is walked once, through its first path.
            *expected = QStringList { "a/loop/p2.bmp", "a/p1.bmp" };
            return writeSparsePicture(root + "/a/p1.bmp") && writeSparsePicture(root + "/b/p2.bmp")
                && DiskTree::link(root, "a/loop", "../b") && DiskTree::link(root, "b/back", "../a");
        }) << false;
    QTest::newRow("link to an ancestor") << TreeMaker([](const QString &root,
                                                         QStringList *expected) {
        *expected = QStringList { "deep/er/x.bmp", "y.bmp" };
        return writeSparsePicture(root + "/deep/er/x.bmp") && writeSparsePicture(root + "/y.bmp")
            && DiskTree::link(root, "deep/er/top", "../..")
            && DiskTree::link(root, "deep/er/abs", root) && DiskTree::link(root, "self", ".");
    }) << false;
    QTest::newRow("60 levels of nesting")
        << TreeMaker([](const QString &root, QStringList *expected) {
               QString path;
               for (int level = 1; level <= 60; ++level) {
                   path += QStringLiteral("level %1 层/").arg(level, 2, 10, QLatin1Char('0'));
                   if (level % 20 == 0 || level == 1) {
                       // sorts after the folder of the next level ("level …" < "pic …")
                       expected->append(path + QStringLiteral("pic %1.bmp").arg(level));
                       if (!writeSparsePicture(root + '/' + expected->last()))
                           return false;
                   }
               }
               // In every folder the next level sorts before the picture ("level" < "pic"), so the
               // walk goes down first and the deepest picture comes first.
               std::reverse(expected->begin(), expected->end());
               return true;
           })
        << false;
    QTest::newRow("3000 pictures in one folder") << TreeMaker([](const QString &root,
                                                                 QStringList *expected) {
        for (int i = 0; i < 3000; ++i) {
            // alternating case, so the order must ignore it
            const QString name = (i % 2 ? QStringLiteral("IMG%1.bmp") : QStringLiteral("img%1.BMP"))
                                     .arg(i, 4, 10, QLatin1Char('0'));
            expected->append("DCIM/" + name);
            if (!writeSparsePicture(root + "/DCIM/" + name))
                return false;
        }
        return true;
    }) << false;
    // Enough candidates to be checked on several threads: the records still come in the
    // walk's order, and the decoys in between are all left out. In one folder the checks share
    // one long list; in many, each folder's candidates are checked while the walk goes on.
    for (const int folders : { 1, 30 }) {
        QTest::newRow(folders == 1 ? "1500 candidates, pictures among decoys"
                                   : "1500 candidates in 30 folders, pictures among decoys")
            << TreeMaker([folders](const QString &root, QStringList *expected) {
                   QByteArray wrongHeader = TestPictures::instrumentPicture(3).left(54);
                   wrongHeader[3] = wrongHeader[3] + 1;
                   for (int i = 0; i < 1500; ++i) {
                       const QString folder = folders == 1
                           ? QStringLiteral("DCIM")
                           : QStringLiteral("DCIM/F%1").arg(i % folders, 2, 10, QLatin1Char('0'));
                       const QString name = QStringLiteral("%1/%2.bmp")
                                                .arg(folder)
                                                .arg(i, 4, 10, QLatin1Char('0'));
                       const QString path = root + '/' + name;
                       bool written = false;
                       switch (i % 4) {
                       case 1:
                           written = writeBytes(path, TestPictures::instrumentPicture(1).left(54));
                           break;
                       case 2:
                           written = writeBytes(path, wrongHeader)
                               && QFile::resize(path, TestPictures::InstrumentFileSize);
                           break;
                       default:
                           written = writeSparsePicture(path);
                           expected->append(name);
                       }
                       if (!written)
                           return false;
                   }
                   expected->sort(); // folder by folder, as the walk goes
                   return true;
               })
            << false;
    }
    QTest::newRow("odd names") << TreeMaker([](const QString &root, QStringList *expected) {
        // Code point order once case is folded: newline, blank, dash, letters, Chinese.
        *expected = QStringList { QStringLiteral("\nstarts with newline.bmp"),
                                  QStringLiteral(" blank first.bmp"),
                                  QStringLiteral("--help.bmp"),
                                  QStringLiteral("-dash dir/-x.bmp"),
                                  QStringLiteral("new\nline.bmp"),
                                  QStringLiteral("with  two spaces .bmp"),
                                  QStringLiteral("温度图像 01.bmp") };
        for (const QString &name : *expected)
            if (!writeSparsePicture(root + '/' + name))
                return false;
        return true;
    }) << false;
    QTest::newRow("things that are not pictures")
        << TreeMaker([](const QString &root, QStringList *expected) {
               // A pipe named .bmp would block a reader for ever; a dangling link, a folder with
               // the suffix and files of the wrong size or header are skipped; a link to a picture
               // counts.
               *expected = QStringList { "folder.bmp/inside.bmp", "good.bmp", "link-to-good.bmp" };
               QByteArray wrongHeader = TestPictures::instrumentPicture(1);
               wrongHeader[2] = wrongHeader[2] + 1;
               return writeSparsePicture(root + "/good.bmp")
                   && writeSparsePicture(root + "/folder.bmp/inside.bmp")
                   && DiskTree::link(root, "link-to-good.bmp", "good.bmp")
                   && DiskTree::link(root, "dangling.bmp", "nowhere/missing.bmp")
                   && DiskTree::makeFifo(root + "/fifo.bmp")
                   && writeBytes(root + "/short.bmp", TestPictures::instrumentPicture(2).left(54))
                   && writeBytes(root + "/wrong-header.bmp", wrongHeader)
                   && writeBytes(root + "/empty.bmp", QByteArray());
           })
        << false;
    QTest::newRow("unreadable files and folders")
        << TreeMaker([](const QString &root, QStringList *expected) {
               *expected = QStringList { "open/b.bmp" };
               const bool made = writeSparsePicture(root + "/locked.bmp")
                   && writeSparsePicture(root + "/closed/a.bmp")
                   && writeSparsePicture(root + "/open/b.bmp");
               return made && QFile::setPermissions(root + "/locked.bmp", {})
                   && QFile::setPermissions(root + "/closed", {});
           })
        << true;
}

void tst_HostileTrees::listing()
{
    QFETCH(TreeMaker, make);
    QFETCH(bool, needsNonRoot);
    if (needsNonRoot && ::geteuid() == 0)
        QSKIP("running as root: permission bits do not stop root from reading, so nothing here "
              "is unreadable (the pipe, dangling-link and vanishing cases cover unopenable files)");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString root = dir.filePath(QStringLiteral("disk"));
    QVERIFY(QDir().mkpath(root));
    QStringList expected;
    QVERIFY(make(root, &expected));

    Dossview view(DeviceManager::UsbFile, QStringLiteral("EN"));
    QSignalSpy spy(&view, &Dossview::updateFiles);
    view.setUDisks({ root });
    QCOMPARE(spy.count(), 1);
    QCOMPARE(listedPaths(spy, root), expected);
    QCOMPARE(DossviewProbe(&view).mosaicview()->count(), expected.size());

    // Listed twice in a row, the same: the walk keeps no state that the first run spoiled.
    view.setUDisks({ root });
    QCOMPARE(spy.count(), 2);
    QCOMPARE(listedPaths(spy, root), expected);

    // Restore permissions so the temporary folder can go.
    for (const QString &path : { root + "/locked.bmp", root + "/closed" })
        if (QFileInfo::exists(path))
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void tst_HostileTrees::changesBetweenWalkAndRead_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("listed");

    QTest::newRow("deleted") << "deleted" << false;
    QTest::newRow("cut to 20 bytes") << "cut" << false;
    QTest::newRow("header rewritten") << "header" << false;
    QTest::newRow("replaced by a folder") << "folder" << false;
    QTest::newRow("replaced by a dangling link") << "dangling" << false;
    QTest::newRow("replaced by a pipe") << "pipe" << false;
    QTest::newRow("unchanged") << "none" << true;
}

namespace {

struct ChangeAttempt
{
    bool changed = false;
    bool pipeReleased = false;
    QStringList listed;
};

void changeTarget(const QString &target, const QString &change, const QString &root)
{
    const QByteArray targetName = QFile::encodeName(target);
    if (change == QLatin1String("deleted")) {
        ::unlink(targetName.constData());
    } else if (change == QLatin1String("cut")) {
        ::truncate(targetName.constData(), 20);
    } else if (change == QLatin1String("header")) {
        QFile file(target);
        file.open(QIODevice::ReadWrite);
        file.seek(2);
        file.write("\x37\x84\x03\x00", 4);
    } else if (change == QLatin1String("folder")) {
        ::unlink(targetName.constData());
        QDir().mkdir(target);
    } else if (change == QLatin1String("dangling")) {
        ::unlink(targetName.constData());
        QFile::link(root + "/nowhere.bmp", target);
    } else if (change == QLatin1String("pipe")) {
        ::unlink(targetName.constData());
        DiskTree::makeFifo(target);
    }
}

// One listing of a tree with pictures ahead of m/target.bmp, made as the file browser makes it:
// the walk hands the candidates of each folder to the checks as soon as it has read the folder,
// and the checks of the pictures before are under way on other threads meanwhile. The target is
// changed the moment the walk has read its folder: after its status was read, before its header
// is.
ChangeAttempt listWithChange(const QString &root, const QString &change)
{
    ChangeAttempt attempt;
    const QString target = root + QStringLiteral("/m/target.bmp");
    std::atomic<bool> listingDone { false };
    std::atomic<bool> pipeReleased { false };
    std::thread releaser;

    QFileInfoList found;
    int handedOver = 0;
    QList<QUrlInfo *> records;
    {
        PictureChecks checks;
        findFiles(root, QStringLiteral("bmp"), found, [&] {
            const QFileInfoList fresh = found.mid(handedOver);
            if (!attempt.changed && !fresh.isEmpty() && fresh.last().absoluteFilePath() == target) {
                changeTarget(target, change, root);
                attempt.changed = true;
                if (change == QLatin1String("pipe")) {
                    // A listing stuck on the pipe is let go after a while, so the test fails
                    // instead of hanging; a sound listing never opens it.
                    releaser = std::thread([&] {
                        const auto deadline
                            = std::chrono::steady_clock::now() + std::chrono::seconds(10);
                        while (!listingDone && std::chrono::steady_clock::now() < deadline)
                            std::this_thread::sleep_for(std::chrono::milliseconds(20));
                        if (!listingDone) {
                            pipeReleased = true;
                            DiskTree::feedFifo(target, QByteArray(54, '\0'));
                        }
                    });
                }
            }
            checks.add(fresh);
            handedOver = found.size();
        });
        records = checks.records();
    }
    listingDone = true;
    if (releaser.joinable())
        releaser.join();

    QStringList paths;
    for (const QUrlInfo *record : qAsConst(records))
        paths.append(record->name());
    qDeleteAll(records);
    attempt.pipeReleased = pipeReleased;
    attempt.listed = DiskTree::relativePaths(root, paths);
    return attempt;
}

} // namespace

// A picture that changes between the walk, which read its status, and the check of its header
// must be judged by what it is at the check.
void tst_HostileTrees::changesBetweenWalkAndRead()
{
    QFETCH(QString, change);
    QFETCH(bool, listed);

    // Enough pictures ahead of the target that the checks run on several threads.
    constexpr int Before = 1000;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString root = dir.filePath(QStringLiteral("disk"));
    QStringList expected;
    for (int i = 0; i < Before; ++i) {
        expected.append(QStringLiteral("a/%1.bmp").arg(i, 4, 10, QLatin1Char('0')));
        QVERIFY(writeSparsePicture(root + '/' + expected.last()));
    }
    QVERIFY(writeSparsePicture(root + QStringLiteral("/m/target.bmp")));
    if (listed)
        expected.append(QStringLiteral("m/target.bmp"));
    QVERIFY(QDir().mkpath(root + QStringLiteral("/z")));

    const ChangeAttempt attempt = listWithChange(root, change);
    QVERIFY2(attempt.changed, "the walk never read the target's folder");
    QVERIFY2(!attempt.pipeReleased, "the listing blocked on a pipe that replaced a picture");
    QCOMPARE(attempt.listed, expected);
}

void tst_HostileTrees::workerSurvivesVanishing_data()
{
    QTest::addColumn<QString>("change");

    QTest::newRow("files deleted") << "deleted";
    QTest::newRow("files cut short") << "cut";
    QTest::newRow("files overwritten with garbage") << "garbage";
    QTest::newRow("files replaced by folders") << "folder";
    QTest::newRow("whole disk removed") << "disk";
}

// Right after the listing, while the worker is at its first pictures, the files change under it.
void tst_HostileTrees::workerSurvivesVanishing()
{
    QFETCH(QString, change);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString root = dir.filePath(QStringLiteral("disk"));
    QStringList paths;
    for (int i = 0; i < 300; ++i) {
        paths.append(root + QStringLiteral("/DCIM/IMG%1.BMP").arg(i, 4, 10, QLatin1Char('0')));
        QVERIFY(writeSparsePicture(paths.last()));
    }

    auto *view = new Dossview(DeviceManager::UsbFile, QStringLiteral("EN"));
    view->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<Dossview> alive = view;
    DossviewProbe probe(view);
    view->setUDisks({ root });
    QCOMPARE(probe.files().size(), paths.size());
    QPointer<DiplayThumbnailThread> worker = probe.thumbnailThread();
    QVERIFY(worker);
    // Counted on the GUI thread, as the window gets them.
    QObject receiver;
    int lastRefreshed = -1;
    connect(worker.data(), &DiplayThumbnailThread::refreshLister1, &receiver,
            [&lastRefreshed](int row) { lastRefreshed = row; });

    // Every second file changes, from the end backwards, so the worker meets changed files
    // early and late.
    for (int i = paths.size() - 1; i >= 0; i -= 2) {
        const QByteArray name = QFile::encodeName(paths.at(i));
        if (change == QLatin1String("deleted") || change == QLatin1String("folder")) {
            QVERIFY(QFile::remove(paths.at(i)));
            if (change == QLatin1String("folder"))
                QVERIFY(QDir().mkdir(paths.at(i)));
        } else if (change == QLatin1String("cut")) {
            QCOMPARE(::truncate(name.constData(), 30), 0);
        } else if (change == QLatin1String("garbage")) {
            QVERIFY(writeBytes(paths.at(i), QByteArray(1000, '\xff')));
        }
    }
    if (change == QLatin1String("disk"))
        QVERIFY(QDir(root).removeRecursively());

    // The worker walks all 300 entries and finishes; the window is then still usable.
    QTRY_VERIFY_WITH_TIMEOUT(worker->isFinished(), 60000);
    QTRY_COMPARE(lastRefreshed, paths.size() - 1);

    const int remaining = change == QLatin1String("disk") ? 0 : paths.size() / 2;
    QSignalSpy listed(view, &Dossview::updateFiles);
    view->setUDisks({ root });
    QCOMPARE(listed.count(), 1);
    QCOMPARE(probe.files().size(), remaining);

    QVERIFY(view->close());
    QTRY_VERIFY(alive.isNull());
}

QTEST_MAIN(tst_HostileTrees)
#include "tst_hostiletrees.moc"
