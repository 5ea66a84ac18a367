#include "disktree.h"
#include "findfiles.h"
#include "testpictures.h"

#include <QtTest>

class tst_FindFiles : public QObject
{
    Q_OBJECT
private slots:
    void order_data();
    void order();
    void suffix_data();
    void suffix();
    void links_data();
    void links();
    void missingRoot();
    void appends();

private:
    static QStringList found(const QString &root, const QString &suffix = QStringLiteral("bmp"));
};

QStringList tst_FindFiles::found(const QString &root, const QString &suffix)
{
    QFileInfoList out;
    findFiles(root, suffix, out);
    QStringList paths;
    for (const QFileInfo &info : qAsConst(out))
        paths.append(info.absoluteFilePath());
    return DiskTree::relativePaths(root, paths);
}

void tst_FindFiles::order_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("folder at its place") << QStringList { "b.bmp", "A/x.bmp", "c.bmp" }
                                         << QStringList { "A/x.bmp", "b.bmp", "c.bmp" };
    QTest::newRow("case-insensitive names")
        << QStringList { "b.BMP", "a.bmp", "C.bmp", "D/e.bmp", "d.bmp", "B2.bmp" }
        << QStringList { "a.bmp", "b.BMP", "B2.bmp", "C.bmp", "D/e.bmp", "d.bmp" };
    QTest::newRow("any depth") << QStringList {
        "z.bmp", "m/n/o/p.bmp", "m/a.bmp", "m/n/b.bmp", "m/z/q.bmp"
    } << QStringList { "m/a.bmp", "m/n/b.bmp", "m/n/o/p.bmp", "m/z/q.bmp", "z.bmp" };
    QTest::newRow("hidden skipped")
        << QStringList { ".h.bmp", ".hidden/x.bmp", "v/.y.bmp", "v/w.bmp" }
        << QStringList { "v/w.bmp" };
}

void tst_FindFiles::order()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(DiskTree::writePictures(dir.path(), files));
    QCOMPARE(found(dir.path()), expected);
}

void tst_FindFiles::suffix_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("bmp") << "bmp" << QStringList { "a.BMP", "b.bmp", "e.tar.bmp" };
    QTest::newRow("upper-case wanted") << "BMP" << QStringList { "a.BMP", "b.bmp", "e.tar.bmp" };
    QTest::newRow("blank matches all")
        << "  " << QStringList { "a.BMP", "b.bmp", "c.jpg", "d.bmp.txt", "e.tar.bmp", "noext" };
}

void tst_FindFiles::suffix()
{
    QFETCH(QString, suffix);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(DiskTree::writePictures(
        dir.path(), { "a.BMP", "b.bmp", "c.jpg", "d.bmp.txt", "e.tar.bmp", "noext" }));
    QCOMPARE(found(dir.path(), suffix), expected);
}

void tst_FindFiles::links_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("links"); // "link=target", target relative to the link
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("link to an ancestor")
        << QStringList { "A/x.bmp", "A/B/y.bmp" } << QStringList { "A/B/up=../..", "A/self=." }
        << QStringList { "A/B/y.bmp", "A/x.bmp" };
    QTest::newRow("two links to one folder")
        << QStringList { "F/p.bmp", "a.bmp" } << QStringList { "L1=F", "L2=F" }
        << QStringList { "a.bmp", "F/p.bmp" };
    QTest::newRow("first reached through a link")
        << QStringList { "Z/p.bmp" } << QStringList { "A=Z" } << QStringList { "A/p.bmp" };
    QTest::newRow("links into each other")
        << QStringList { "P/a.bmp", "Q/b.bmp" } << QStringList { "P/q=../Q", "Q/p=../P" }
        << QStringList { "P/a.bmp", "P/q/b.bmp" };
}

void tst_FindFiles::links()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, links);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(DiskTree::writePictures(dir.path(), files));
    for (const QString &link : qAsConst(links))
        QVERIFY(DiskTree::link(dir.path(), link.section('=', 0, 0), link.section('=', 1)));
    QCOMPARE(found(dir.path()), expected);
}

void tst_FindFiles::missingRoot()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(found(dir.filePath("nowhere")).isEmpty());
}

void tst_FindFiles::appends()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(DiskTree::writePictures(dir.path(), { "a.bmp" }));
    QFileInfoList out { QFileInfo(QStringLiteral("/earlier")) };
    findFiles(dir.path(), QStringLiteral("bmp"), out);
    QCOMPARE(out.size(), 2);
    QCOMPARE(out.at(0).filePath(), QStringLiteral("/earlier"));
    QCOMPARE(out.at(1).fileName(), QStringLiteral("a.bmp"));
    // The listing's status comes along: no need to ask the disk again.
    QCOMPARE(out.at(1).size(), TestPictures::InstrumentFileSize);
}

QTEST_MAIN(tst_FindFiles)
#include "tst_findfiles.moc"
