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
#include <QTabWidget>
#include <QtTest>

#include <memory>

namespace {

QStringList namesOf(const QList<QUrlInfo *> &records, const QString &root)
{
    QStringList paths;
    for (const QUrlInfo *record : records)
        paths.append(record->name());
    return DiskTree::relativePaths(root, paths);
}

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
    const int executable = ownerOnly | QFile::ExeOwner | QFile::ExeGroup | QFile::WriteOther
        | QFile::ExeOther;
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

QTEST_MAIN(tst_DossviewDisks)
#include "tst_dossviewdisks.moc"
