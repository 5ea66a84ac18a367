#include "ledgerview.h"
#include "qurlinfo.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QtTest>

class tst_Ledgerview : public QObject
{
    Q_OBJECT
private slots:
    void cellWidgetsInView_data();
    void cellWidgetsInView();
    void editorOutOfView();
    void changesDuringRefill_data();
    void changesDuringRefill();
    void activeFile();
    void rowHeightsAsQtMeasures_data();
    void rowHeightsAsQtMeasures();

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
    QTest::addColumn<bool>("filledHidden");
    QTest::addColumn<int>("current");
    QTest::newRow("few") << 20 << false << -1;
    QTest::newRow("many") << 400 << false << -1;
    QTest::newRow("many, filled while hidden") << 400 << true << -1;
    // Its geometry, put off while hidden, is in place before the current row is scrolled to.
    QTest::newRow("many, filled while hidden, current row far down") << 400 << true << 350;
}

void tst_Ledgerview::cellWidgetsInView()
{
    QFETCH(int, rows);
    QFETCH(bool, filledHidden);
    QFETCH(int, current);
    // Hidden as the table is on the window's second page: shown only after the fill.
    QWidget page;
    page.resize(400, 300);
    auto *table = new Ledgerview(&page);
    table->setColumnCount(3);
    if (current >= 0) {
        table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        table->verticalHeader()->hide();
    }
    table->resize(400, 300);
    if (filledHidden)
        table->hide();
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    // filled twice: a refill of as many rows inserts none
    fill(*table, rows);
    fill(*table, rows);
    if (current >= 0) {
        table->setCurrentCell(current, 0);
        qobject_cast<QLabel *>(table->cellWidget(current, 1))->setText(QStringLiteral("a\nb"));
    }
    QCoreApplication::processEvents();
    if (filledHidden) {
        for (int row = 0; row < rows && current < 0; ++row)
            QVERIFY(!table->cellWidget(row, 1)->testAttribute(Qt::WA_WState_Polished));
        if (current >= 0) {
            // Timers of the hidden view: its rows resized, its geometry updated.
            for (int turn = 0; turn < 3; ++turn)
                QCoreApplication::processEvents();
        }
        table->show();
    }
    QTRY_VERIFY(table->viewport()->isVisible());
    QCoreApplication::processEvents();

    // Widgets in view are shown, placed and polished; in a refill of many rows, those never
    // in view yet are not polished.
    auto check = [&](int first, int last) {
        for (int row = 0; row < rows; ++row) {
            QWidget *label = table->cellWidget(row, 1);
            const bool inView = row >= first && row <= last;
            QCOMPARE(label->isVisible(), inView);
            if (inView) {
                QCOMPARE(label->geometry(), table->visualRect(table->model()->index(row, 1)));
                QVERIFY(label->testAttribute(Qt::WA_WState_Polished));
            } else if (rows > 200 && row > last && current < 0) { // measured, else
                QVERIFY(!label->testAttribute(Qt::WA_WState_Polished));
            }
        }
    };
    const int last = table->rowAt(table->viewport()->height() - 1);
    if (current >= 0) {
        QVERIFY(table->rowHeight(current) > table->rowHeight(current - 1));
        const int first = table->rowAt(0);
        QVERIFY(first > 0 && first <= current && current <= last);
        check(first, last);
        return;
    }
    check(0, last < 0 ? rows - 1 : last);

    if (rows > 200) {
        table->scrollToBottom();
        QCoreApplication::processEvents();
        const int first = table->rowAt(0);
        QVERIFY(first > 0);
        check(first, rows - 1);
        QCOMPARE(qobject_cast<QLabel *>(table->cellWidget(rows - 1, 1))->text(),
                 QString::number(rows - 1));
    }
}

void tst_Ledgerview::editorOutOfView()
{
    // An editor Qt opens in a column without cell widgets is hidden out of view as well.
    Ledgerview table;
    table.setColumnCount(3);
    table.resize(400, 300);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    fill(table, 400);
    QTRY_VERIFY(table.viewport()->isVisible());
    table.openPersistentEditor(table.item(300, 0));
    QWidget *editor = table.indexWidget(table.model()->index(300, 0));
    QVERIFY(editor);
    table.scrollToTop();
    table.verticalScrollBar()->setValue(1);
    table.verticalScrollBar()->setValue(0);
    QCoreApplication::processEvents();
    QVERIFY(!editor->isVisible());
    table.scrollToItem(table.item(300, 0));
    QCoreApplication::processEvents();
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->geometry(), table.visualRect(table.model()->index(300, 0)));
}

void tst_Ledgerview::changesDuringRefill_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("rowsLeft");
    QTest::newRow("few rows") << 20 << 20;
    QTest::newRow("many rows") << 400 << 400;
    QTest::newRow("many rows, then fewer") << 400 << 10;
}

void tst_Ledgerview::changesDuringRefill()
{
    // An editor opened while a refill's cells are held still learns of later changes.
    QFETCH(int, rows);
    QFETCH(int, rowsLeft);
    Ledgerview table;
    table.setColumnCount(3);
    table.resize(400, 300);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    fill(table, rows);
    table.openPersistentEditor(table.item(5, 0));
    auto *editor = qobject_cast<QLineEdit *>(table.indexWidget(table.model()->index(5, 0)));
    QVERIFY(editor);
    QCOMPARE(editor->text(), QStringLiteral("6"));
    table.item(5, 0)->setText(QStringLiteral("changed"));
    table.setItem(7, 2, new QTableWidgetItem(QStringLiteral("new")));
    table.setRowCount(rowsLeft);
    QTRY_VERIFY(table.viewport()->isVisible());
    QCOMPARE(editor->text(), QStringLiteral("changed"));
    QCOMPARE(table.item(7, 2)->text(), QStringLiteral("new"));
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

void tst_Ledgerview::rowHeightsAsQtMeasures_data()
{
    QTest::addColumn<QString>("styleSheet");
    QTest::newRow("no style sheet") << QString();
    QTest::newRow("padded labels")
        << QStringLiteral("QLabel { padding: 7px; border: 2px solid red; }");
    // These take effect only once a label is polished.
    QTest::newRow("label margin and minimum height set on polish")
        << QStringLiteral("QLabel { qproperty-margin: 9; min-height: 52px; }");
    QTest::newRow("tall header sections")
        << QStringLiteral("QHeaderView::section { padding: 14px; }");
    QTest::newRow("large header font") << QStringLiteral("QHeaderView { font-size: 40px; }");
}

void tst_Ledgerview::rowHeightsAsQtMeasures()
{
    // The same rows in a plain QTableWidget and in a Ledgerview must come out as high.
    QFETCH(QString, styleSheet);
    QTableWidget reference;
    Ledgerview table;
    const int rows = 120;
    QPixmap tall(34, 40);
    tall.fill(Qt::red);
    QPixmap flat(34, 25);
    flat.fill(Qt::blue);
    for (QTableWidget *view : { &reference, static_cast<QTableWidget *>(&table) }) {
        view->setStyleSheet(styleSheet);
        view->setColumnCount(5);
        view->setWordWrap(false);
        view->setShowGrid(false);
        view->setRowCount(rows);
        for (int row = 0; row < rows; ++row) {
            view->setItem(row, 0, new QTableWidgetItem(QString::number(row + 1)));
            auto *label = new QLabel;
            label->setPixmap(row % 3 == 0 ? tall : flat);
            view->setCellWidget(row, 1, label);
            QString name = QStringLiteral("IMG%1.BMP").arg(row);
            if (row == 7)
                name = QStringLiteral("two\nlines.bmp");
            view->setItem(row, 2, new QTableWidgetItem(name));
            if (row == 9)
                view->item(row, 2)->setFont(QFont(QStringLiteral("Sans"), 30));
            if (row != 11)
                view->setItem(row, 3, new QTableWidgetItem(QStringLiteral("2 Nov 2026")));
            view->setItem(row, 4, new QTableWidgetItem(QStringLiteral(" 300.6KB")));
            // Rows with header labels of their own, taller than a number.
            if (row == 13)
                view->setVerticalHeaderItem(row, new QTableWidgetItem(QStringLiteral("a\nb\nc")));
            if (row == 15) {
                auto *label = new QTableWidgetItem(QStringLiteral("15"));
                label->setFont(QFont(QStringLiteral("Sans"), 40));
                view->setVerticalHeaderItem(row, label);
            }
        }
        view->resize(700, 400);
        view->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        view->resizeRowsToContents();
    }
    if (styleSheet.isEmpty()) {
        // The rows the comparison is about do differ.
        QVERIFY(table.rowHeight(7) > table.rowHeight(8));
        QVERIFY(table.rowHeight(9) > table.rowHeight(8));
        QVERIFY(table.rowHeight(0) > table.rowHeight(1));
        QVERIFY(table.rowHeight(13) > table.rowHeight(14));
        QVERIFY(table.rowHeight(15) > table.rowHeight(14));
    }
    for (int row = 0; row < rows; ++row)
        QCOMPARE(table.rowHeight(row), reference.rowHeight(row));
    // Cells changed and rows sorted since are measured again.
    for (QTableWidget *view : { &reference, static_cast<QTableWidget *>(&table) }) {
        view->sortItems(2);
        view->resizeRowsToContents();
        view->item(20, 2)->setText(QStringLiteral("two\nlines"));
        delete view->takeItem(
            view->row(view->findItems(QStringLiteral("two\nlines.bmp"), Qt::MatchExactly).value(0)),
            2);
        view->resizeRowsToContents();
    }
    for (int row = 0; row < rows; ++row)
        QCOMPARE(table.rowHeight(row), reference.rowHeight(row));
    QCOMPARE(table.verticalHeader()->minimumSectionSize(),
             reference.verticalHeader()->minimumSectionSize());
}

QTEST_MAIN(tst_Ledgerview)
#include "tst_ledgerview.moc"
