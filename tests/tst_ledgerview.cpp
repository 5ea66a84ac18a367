#include "ledgerview.h"
#include "qurlinfo.h"

#include <QLabel>
#include <QtTest>

class tst_Ledgerview : public QObject
{
    Q_OBJECT
private slots:
    void cellWidgetsInView_data();
    void cellWidgetsInView();
    void activeFile();

private:
    static void fill(Ledgerview &table, int rows);
};

void tst_Ledgerview::fill(Ledgerview &table, int rows)
{
    table.clearContents();
    table.setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        table.setItem(row, 0, new QTableWidgetItem(QString::number(row + 1)));
        table.setCellWidget(row, 1, new QLabel(QString::number(row)));
    }
}

void tst_Ledgerview::cellWidgetsInView_data()
{
    QTest::addColumn<int>("rows");
    QTest::newRow("few") << 20;
    QTest::newRow("many") << 400;
}

void tst_Ledgerview::cellWidgetsInView()
{
    QFETCH(int, rows);
    Ledgerview table;
    table.setColumnCount(3);
    table.resize(400, 300);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    // filled twice: a refill of as many rows inserts none
    fill(table, rows);
    fill(table, rows);
    QTRY_VERIFY(table.viewport()->isVisible());
    QCoreApplication::processEvents();

    auto check = [&](int first, int last) {
        for (int row = 0; row < rows; ++row) {
            QWidget *label = table.cellWidget(row, 1);
            const bool inView = row >= first && row <= last;
            QCOMPARE(label->isVisible(), inView);
            if (inView)
                QCOMPARE(label->geometry(), table.visualRect(table.model()->index(row, 1)));
        }
    };
    const int last = table.rowAt(table.viewport()->height() - 1);
    check(0, last < 0 ? rows - 1 : last);

    if (rows > 200) {
        table.scrollToBottom();
        QCoreApplication::processEvents();
        const int first = table.rowAt(0);
        QVERIFY(first > 0);
        check(first, rows - 1);
        QCOMPARE(qobject_cast<QLabel *>(table.cellWidget(rows - 1, 1))->text(),
                 QString::number(rows - 1));
    }
}

void tst_Ledgerview::activeFile()
{
    Ledgerview table;
    table.setColumnCount(3);
    QUrlInfo first;
    QUrlInfo second;
    table.setRowCount(2);
    for (int row = 0; row < 2; ++row) {
        auto *name = new QTableWidgetItem;
        name->setData(Qt::UserRole + 1,
                      QVariant::fromValue(reinterpret_cast<quintptr>(row ? &second : &first)));
        table.setItem(row, 2, name);
    }
    QSignalSpy rows(table.selectionModel(), &QItemSelectionModel::currentRowChanged);
    table.setActiveFile(&second);
    QCOMPARE(table.currentRow(), 1);
    QCOMPARE(rows.count(), 1);
    table.setActiveFile(&second);
    QCOMPARE(rows.count(), 1);
    table.setActiveFile(&first);
    QCOMPARE(table.currentRow(), 0);
    QCOMPARE(rows.count(), 2);
}

QTEST_MAIN(tst_Ledgerview)
#include "tst_ledgerview.moc"
