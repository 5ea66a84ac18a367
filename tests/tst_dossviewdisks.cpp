#include "diplaythumbnailthread.h"
#include "disktree.h"
#include "dossview.h"
#include "dossviewprobe.h"
#include "imagefile.h"
#include "ledgerview.h"
#include "mosaicview.h"
#include "qurlinfo.h"
#include "testpictures.h"

#include <QListWidget>
#include <QPointer>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

QStringList namesOf(const QList<QUrlInfo *> &records, const QString &root)
{
    QStringList paths;
    for (const QUrlInfo *record : records)
        paths.append(record->name());
    return DiskTree::relativePaths(root, paths);
}

QStringList picturePaths(const QString &folder, int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths.append(QStringLiteral("%1/IR_%2.BMP").arg(folder).arg(i, 4, 10, QLatin1Char('0')));
    return paths;
}

/**
 * Runs deliver once from inside the next listing's own event passes: from its first pass, or,
 * with afterWalk, from the pass of its fill, once the walk has made the window's records.
 */
class ListingInterrupter : public QObject
{
public:
    ListingInterrupter(Dossview *view, bool afterWalk, std::function<void()> deliver)
        : m_probe(view)
        , m_afterWalk(afterWalk)
        , m_deliver(std::move(deliver))
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
            if (m_afterWalk && m_probe.files().isEmpty())
                return;
            m_timer.stop();
            m_delivered = true;
            m_deliver();
        });
        m_timer.start();
    }
    bool delivered() const { return m_delivered; }

private:
    DossviewProbe m_probe;
    bool m_afterWalk;
    std::function<void()> m_deliver;
    QTimer m_timer;
    bool m_delivered = false;
};

QImage iconImage(const QIcon &icon)
{
    return icon.pixmap(QSize(16, 16)).toImage();
}

} // namespace

class tst_DossviewDisks : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pictureTest_data();
    void pictureTest();
    void order_data();
    void order();
    void record_data();
    void record();
    void disks();
    void emptyDisks();
    void secondDisks();
    void blankDiskIgnored();
    void missingDisk();
    void linkCycle();
    void filesTabShown();
    void requestDuringListing_data();
    void requestDuringListing();
    void closeDuringListing_data();
    void closeDuringListing();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Dossview> m_view;
    std::unique_ptr<QSignalSpy> m_updates;

    QList<QUrlInfo *> lastUpdate() const
    {
        return m_updates->last().at(0).value<QList<QUrlInfo *>>();
    }
};

void tst_DossviewDisks::initTestCase()
{
    qRegisterMetaType<QList<QUrlInfo *>>();
}

void tst_DossviewDisks::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    m_view.reset(new Dossview(DeviceManager::UsbFile, QStringLiteral("EN")));
    m_updates.reset(new QSignalSpy(m_view.get(), &Dossview::updateFiles));
}

void tst_DossviewDisks::cleanup()
{
    m_updates.reset();
    m_view.reset();
    m_dir.reset();
}

void tst_DossviewDisks::pictureTest_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("listed");

    const QByteArray picture = TestPictures::instrumentPicture(3);
    QTest::newRow("instrument picture") << "A.BMP" << picture << true;
    QTest::newRow("300000 bytes") << "b.bmp" << picture.left(300000) << false;
    QTest::newRow("one byte more") << "b.bmp" << picture + 'x' << false;
    QTest::newRow("jpg suffix") << "c.jpg" << picture << false;
    QTest::newRow("mixed-case suffix") << "d.bMp" << picture << true;
    QByteArray other = picture;
    other[2] = char(0x37); // 230455
    QTest::newRow("other declared size") << "A.BMP" << other << false;
    QByteArray shifted = picture;
    shifted[5] = char(1); // a high byte of the field
    QTest::newRow("declared size's high byte") << "A.BMP" << shifted << false;
    QByteArray anyContent(int(TestPictures::InstrumentFileSize), 'z');
    anyContent.replace(2, 4, picture.mid(2, 4));
    QTest::newRow("only the field is examined") << "e.bmp" << anyContent << true;
}

void tst_DossviewDisks::pictureTest()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, listed);
    QVERIFY(TestPictures::writeFile(m_dir->filePath(name), bytes));
    // A valid neighbour shows that the listing itself works.
    QVERIFY(DiskTree::writePictures(m_dir->path(), { "zz.bmp" }));

    m_view->setUDisks({ m_dir->path() });
    QCOMPARE(m_updates->count(), 1);
    const QStringList expected = listed ? QStringList { name, "zz.bmp" } : QStringList { "zz.bmp" };
    QCOMPARE(namesOf(lastUpdate(), m_dir->path()), expected);
    QCOMPARE(m_updates->last().at(1).value<DeviceManager::Mode>(), DeviceManager::UsbFile);
    QCOMPARE(DossviewProbe(m_view.get()).mosaicview()->count(), expected.size());
    QCOMPARE(DossviewProbe(m_view.get()).ledgerview()->rowCount(), expected.size());
}

void tst_DossviewDisks::order_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("folder at its place") << QStringList { "b.bmp", "A/x.bmp", "c.bmp" }
                                         << QStringList { "A/x.bmp", "b.bmp", "c.bmp" };
    QTest::newRow("mixed case") << QStringList {
        "Zeta.bmp", "alpha.BMP", "Beta.bmp", "gamma/d.bmp"
    } << QStringList { "alpha.BMP", "Beta.bmp", "gamma/d.bmp", "Zeta.bmp" };
    QTest::newRow("hidden files and folders")
        << QStringList { ".x.bmp", ".dcim/y.bmp", "DCIM/.z.bmp", "DCIM/w.bmp" }
        << QStringList { "DCIM/w.bmp" };
}

void tst_DossviewDisks::order()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, expected);
    QVERIFY(DiskTree::writePictures(m_dir->path(), files));
    m_view->setUDisks({ m_dir->path() });
    QCOMPARE(m_updates->count(), 1);
    QCOMPARE(namesOf(lastUpdate(), m_dir->path()), expected);
    DossviewProbe probe(m_view.get());
    QCOMPARE(probe.files(), lastUpdate());
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(probe.ledgerview()->item(i, 2)->text(), QFileInfo(expected.at(i)).fileName());
}

void tst_DossviewDisks::record_data()
{
    QTest::addColumn<int>("permissions");
    QTest::addColumn<bool>("linked");
    const int ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    const int readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const int executable
        = ownerOnly | QFile::ExeOwner | QFile::ExeGroup | QFile::WriteOther | QFile::ExeOther;
    QTest::newRow("owner reads and writes") << ownerOnly << false;
    QTest::newRow("read only") << readOnly << false;
    QTest::newRow("executable, others write") << executable << false;
    QTest::newRow("no permissions") << 0 << false;
    QTest::newRow("link to a picture") << ownerOnly << true;
    QTest::newRow("link to an executable picture") << executable << true;
}

void tst_DossviewDisks::record()
{
    // The record says what QFileInfo says of the file.
    QFETCH(int, permissions);
    QFETCH(bool, linked);
    const QString path = m_dir->filePath("DCIM/IMG0001.BMP");
    const QString stored = linked ? m_dir->filePath("store/picture.dat") : path;
    QVERIFY(DiskTree::writePictures(m_dir->path(),
                                    { linked ? "store/picture.dat" : "DCIM/IMG0001.BMP" }));
    if (linked)
        QVERIFY(QDir(m_dir->path()).mkpath("DCIM") && QFile::link(stored, path));
    {
        // Times with milliseconds, the access time the later one so that reading the header
        // leaves it alone.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QDateTime now = QDateTime::currentDateTime();
        QVERIFY(
            file.setFileTime(now.addSecs(-7200).addMSecs(123), QFileDevice::FileModificationTime));
        QVERIFY(file.setFileTime(now.addSecs(-3600).addMSecs(456), QFileDevice::FileAccessTime));
    }
    QVERIFY(QFile::setPermissions(stored, QFile::Permissions(permissions)));
    // Status as the listing sees it: the reads that follow may move the access time.
    const QFileInfo info(path);
    const QDateTime lastRead = info.lastRead();
    m_view->setUDisks({ m_dir->path() });
    if (!info.isReadable()) {
        // Not the superuser: a picture nobody may read is left out.
        QVERIFY(lastUpdate().isEmpty());
        return;
    }
    QCOMPARE(lastUpdate().size(), 1);
    const QUrlInfo *record = lastUpdate().first();
    QCOMPARE(record->name(), info.absoluteFilePath());
    QCOMPARE(record->permissions(), int(info.permissions()));
    QCOMPARE(record->owner(), info.owner());
    QCOMPARE(record->group(), info.group());
    QCOMPARE(record->size(), TestPictures::InstrumentFileSize);
    QCOMPARE(record->lastModified(), info.lastModified());
    QCOMPARE(record->lastModified().timeSpec(), info.lastModified().timeSpec());
    QCOMPARE(record->lastModified().toString(Qt::ISODateWithMs),
             info.lastModified().toString(Qt::ISODateWithMs));
    QCOMPARE(record->lastRead(), lastRead);
    QCOMPARE(record->lastRead().toString(Qt::ISODateWithMs), lastRead.toString(Qt::ISODateWithMs));
    QVERIFY(!record->isDir());
    QVERIFY(record->isFile());
    QCOMPARE(record->isSymLink(), linked);
    QCOMPARE(record->isWritable(), info.isWritable());
    QCOMPARE(record->isReadable(), info.isReadable());
    QCOMPARE(record->isExecutable(), info.isExecutable());
    QVERIFY(record->isValid());
}

void tst_DossviewDisks::disks()
{
    QVERIFY(DiskTree::writePictures(m_dir->path(), { "one/a.bmp", "two/b.bmp", "two/c.bmp" }));
    const QStringList disks = { m_dir->filePath("one"), m_dir->filePath("two") };
    m_view->setUDisks(disks);
    QVERIFY(!QGuiApplication::overrideCursor());

    QListWidget *column = DossviewProbe(m_view.get()).diskList();
    QCOMPARE(column->count(), 2);
    QCOMPARE(column->item(0)->text(), disks.at(0));
    QCOMPARE(column->item(1)->text(), disks.at(1));
    QCOMPARE(column->item(1)->toolTip(), QDir::toNativeSeparators(disks.at(1)));
    const QImage card = iconImage(QIcon(":/image/sdCard3.png"));
    QVERIFY(!card.isNull());
    QCOMPARE(iconImage(column->item(0)->icon()), card);
    QCOMPARE(iconImage(column->item(1)->icon()), card);
    QCOMPARE(column->currentRow(), 0);
    QCOMPARE(m_updates->count(), 1);
    QCOMPARE(namesOf(lastUpdate(), disks.at(0)), QStringList { "a.bmp" });

    // A click lists the disk clicked; the same disk again lists it again.
    emit column->itemClicked(column->item(1));
    QCOMPARE(m_updates->count(), 2);
    QCOMPARE(namesOf(lastUpdate(), disks.at(1)), QStringList({ "b.bmp", "c.bmp" }));
    emit column->itemClicked(column->item(1));
    QCOMPARE(m_updates->count(), 3);
    QCOMPARE(DossviewProbe(m_view.get()).mosaicview()->count(), 2);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void tst_DossviewDisks::emptyDisks()
{
    QVERIFY(DiskTree::writePictures(m_dir->path(), { "a.bmp", "b.bmp", "c.bmp" }));
    m_view->setUDisks({ m_dir->path() });
    DossviewProbe probe(m_view.get());
    const QList<QUrlInfo *> files = probe.files();
    DiplayThumbnailThread *worker = probe.thumbnailThread();
    QVERIFY(worker);
    m_updates->clear();

    m_view->setUDisks({});
    QCOMPARE(probe.diskList()->count(), 0);
    QCOMPARE(m_updates->count(), 0);
    QCOMPARE(probe.files(), files);
    QCOMPARE(probe.thumbnailThread(), worker);
    QCOMPARE(probe.mosaicview()->count(), 3);
    QCOMPARE(probe.ledgerview()->rowCount(), 3);
    QCOMPARE(probe.ledgerview()->item(0, 2)->data(Qt::UserRole + 1).value<quintptr>(),
             reinterpret_cast<quintptr>(files.first()));
}

void tst_DossviewDisks::secondDisks()
{
    QVERIFY(DiskTree::writePictures(m_dir->path(), { "one/a.bmp", "two/b.bmp" }));
    const QStringList disks = { m_dir->filePath("one"), m_dir->filePath("two") };
    m_view->setUDisks(disks);
    QListWidget *column = DossviewProbe(m_view.get()).diskList();
    column->setCurrentRow(1);
    emit column->itemClicked(column->item(1));
    QCOMPARE(namesOf(lastUpdate(), disks.at(1)), QStringList { "b.bmp" });

    m_view->setUDisks(disks);
    QCOMPARE(column->currentRow(), 0);
    QCOMPARE(m_updates->count(), 3);
    QCOMPARE(namesOf(lastUpdate(), disks.at(0)), QStringList { "a.bmp" });
}

void tst_DossviewDisks::blankDiskIgnored()
{
    QVERIFY(DiskTree::writePictures(m_dir->path(), { "a.bmp" }));
    m_view->setUDisks({ m_dir->path(), QStringLiteral("  \t ") });
    QCOMPARE(m_updates->count(), 1);
    QListWidget *column = DossviewProbe(m_view.get()).diskList();
    emit column->itemClicked(column->item(1));
    emit column->itemClicked(nullptr);
    QCOMPARE(m_updates->count(), 1);
    QCOMPARE(DossviewProbe(m_view.get()).mosaicview()->count(), 1);

    // A blank first disk is listed all the same: it is simply not there.
    m_view->setUDisks({ QStringLiteral(" ") });
    QCOMPARE(m_updates->count(), 2);
    QVERIFY(lastUpdate().isEmpty());
}

void tst_DossviewDisks::missingDisk()
{
    QVERIFY(DiskTree::writePictures(m_dir->path(), { "a.bmp" }));
    m_view->setUDisks({ m_dir->path() });
    QCOMPARE(DossviewProbe(m_view.get()).mosaicview()->count(), 1);

    m_view->setUDisks({ m_dir->filePath("no such disk") });
    QCOMPARE(m_updates->count(), 2);
    QVERIFY(lastUpdate().isEmpty());
    DossviewProbe probe(m_view.get());
    QCOMPARE(probe.mosaicview()->count(), 0);
    QCOMPARE(probe.ledgerview()->rowCount(), 0);
    QVERIFY(!probe.thumbnailThread());
    QVERIFY(!QGuiApplication::overrideCursor());
}

void tst_DossviewDisks::linkCycle()
{
    QVERIFY(DiskTree::writePictures(m_dir->path(), { "A/x.bmp", "F/p.bmp" }));
    QVERIFY(DiskTree::link(m_dir->path(), "A/up", ".."));
    QVERIFY(DiskTree::link(m_dir->path(), "L1", "F"));
    QVERIFY(DiskTree::link(m_dir->path(), "L2", "F"));
    m_view->setUDisks({ m_dir->path() });
    QCOMPARE(namesOf(lastUpdate(), m_dir->path()), QStringList({ "A/x.bmp", "F/p.bmp" }));
}

void tst_DossviewDisks::filesTabShown()
{
    QVERIFY(DiskTree::writePictures(m_dir->path(), { "a.bmp" }));
    ImageFile picture;
    picture.image = QImage(4, 4, QImage::Format_RGB32);
    m_view->setFile(&picture);
    QCOMPARE(m_view->tabWidget()->currentIndex(), 1);
    m_view->setUDisks({ m_dir->path() });
    QCOMPARE(m_view->tabWidget()->currentIndex(), 0);
}

void tst_DossviewDisks::requestDuringListing_data()
{
    QTest::addColumn<bool>("afterWalk");
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<QStringList>("listed");

    for (bool afterWalk : { false, true }) {
        const QString when = afterWalk ? QStringLiteral(", in the fill's pass")
                                       : QStringLiteral(", in the first pass");
        auto row = [&](const char *name) -> QTestData & {
            return QTest::newRow(qPrintable(name + when));
        };
        row("other disk clicked") << afterWalk << QStringList { "click two" }
                                  << QStringList { "one", "two" };
        row("same disk clicked") << afterWalk << QStringList { "click one" }
                                 << QStringList { "one", "one" };
        row("fresh disk list") << afterWalk << QStringList { "disks two,one" }
                               << QStringList { "one", "two" };
        row("the latest of two clicks") << afterWalk << QStringList { "click two", "click one" }
                                        << QStringList { "one", "one" };
    }
}

void tst_DossviewDisks::requestDuringListing()
{
    QFETCH(bool, afterWalk);
    QFETCH(QStringList, requests);
    QFETCH(QStringList, listed);
    QVERIFY(DiskTree::writePictures(m_dir->path(), picturePaths("one", 40)));
    QVERIFY(DiskTree::writePictures(m_dir->path(), picturePaths("two", 30), 100));
    const QString one = m_dir->filePath("one");
    const QString two = m_dir->filePath("two");
    DossviewProbe probe(m_view.get());
    QListWidget *column = probe.diskList();

    // Each announced list is read whole when it comes, and so is the one before it, which
    // Tethra may hold until then.
    QStringList announced;
    QList<QUrlInfo *> previous;
    connect(m_view.get(), &Dossview::updateFiles, this, [&](const QList<QUrlInfo *> &files) {
        for (const QUrlInfo *record : previous)
            QVERIFY(record->name().startsWith(m_dir->path()));
        const QStringList names = namesOf(files, m_dir->path());
        QVERIFY(!names.isEmpty());
        announced.append(names.first().section(QLatin1Char('/'), 0, 0));
        previous = files;
    });

    ListingInterrupter interrupter(m_view.get(), afterWalk, [&] {
        for (const QString &request : requests) {
            if (request == "click one")
                emit column->itemClicked(column->item(0));
            else if (request == "click two")
                emit column->itemClicked(column->item(1));
            else if (request == "disks two,one")
                m_view->setUDisks({ two, one });
        }
    });
    m_view->setUDisks({ one, two });
    QVERIFY(interrupter.delivered());

    // The listings ran one after the other, and the views show the one asked for last.
    QCOMPARE(announced, listed);
    QVERIFY(!QGuiApplication::overrideCursor());
    const QList<QUrlInfo *> last = lastUpdate();
    QCOMPARE(probe.files(), last);
    QCOMPARE(probe.mosaicview()->count(), last.size());
    QCOMPARE(probe.ledgerview()->rowCount(), last.size());
    for (int i = 0; i < last.size(); ++i) {
        const quintptr record = reinterpret_cast<quintptr>(last.at(i));
        QCOMPARE(probe.mosaicview()->item(i)->data(Qt::UserRole + 1).value<quintptr>(), record);
        QCOMPARE(probe.ledgerview()->item(i, 2)->data(Qt::UserRole + 1).value<quintptr>(), record);
    }
    QVERIFY(probe.thumbnailThread());
    QTRY_VERIFY(probe.thumbnailThread()->isFinished());
}

void tst_DossviewDisks::closeDuringListing_data()
{
    QTest::addColumn<bool>("afterWalk");
    QTest::newRow("in the first pass") << false;
    QTest::newRow("in the fill's pass") << true;
}

void tst_DossviewDisks::closeDuringListing()
{
    QFETCH(bool, afterWalk);
    QVERIFY(DiskTree::writePictures(m_dir->path(), picturePaths("one", 40)));
    // As the program makes it: a sub-window deletes itself when closed.
    auto *view = new Dossview(DeviceManager::UsbFile, QStringLiteral("EN"));
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->show();
    QPointer<Dossview> alive(view);
    QSignalSpy updates(view, &Dossview::updateFiles);

    ListingInterrupter interrupter(view, afterWalk, [&] { QVERIFY(view->close()); });
    view->setUDisks({ m_dir->filePath("one") });
    QVERIFY(interrupter.delivered());

    // The closed window lists nothing more and announces nothing.
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(updates.count(), 0);
    if (alive)
        QVERIFY(!DossviewProbe(view).thumbnailThread());
    QTRY_VERIFY(alive.isNull());
}

QTEST_MAIN(tst_DossviewDisks)
#include "tst_dossviewdisks.moc"
