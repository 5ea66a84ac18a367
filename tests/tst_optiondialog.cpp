#include "optiondialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include <functional>

namespace {

// Replaces the directory chooser with a fixed answer and counts the questions.
class ScriptedOptionDialog : public OptionDialog
{
public:
    QString answer;
    int asked = 0;

protected:
    QString chooseDirectory() override
    {
        ++asked;
        return answer;
    }
};

// Runs @p act on the first modal widget other than @p except that shows up, from the event loop,
// so a test can drive a dialog that blocks in exec(). Gives up after a few seconds.
void whenModalAppears(QWidget *except, std::function<void(QWidget *)> act)
{
    auto *timer = new QTimer;
    auto *deadline = new QElapsedTimer;
    deadline->start();
    QObject::connect(timer, &QTimer::timeout, [timer, deadline, except, act] {
        QWidget *modal = QApplication::activeModalWidget();
        const bool found = modal && modal != except && modal->isVisible();
        if (!found && deadline->elapsed() < 5000)
            return;
        timer->stop();
        timer->deleteLater();
        delete deadline;
        if (found)
            act(modal);
    });
    timer->start(10);
}

} // namespace

class tst_OptionDialog : public QObject
{
    Q_OBJECT

private slots:
    void metaObjectHasOneSlotOnly();
    void structureAndTexts();
    void layoutOrder();
    void exitPath_data();
    void exitPath();
    void chooser_data();
    void chooser();
    void realChooserCancelledKeepsField();
};

void tst_OptionDialog::metaObjectHasOneSlotOnly()
{
    const QMetaObject *mo = &OptionDialog::staticMetaObject;
    QCOMPARE(QString(mo->className()), QString("OptionDialog"));
    QCOMPARE(mo->superClass(), &QDialog::staticMetaObject);
    QCOMPARE(mo->methodCount() - mo->methodOffset(), 1);
    const QMetaMethod slot = mo->method(mo->methodOffset());
    QCOMPARE(slot.methodSignature(), QByteArray("on_btnHistoryFilesPath_clicked()"));
    QCOMPARE(slot.methodType(), QMetaMethod::Slot);
    QCOMPARE(slot.access(), QMetaMethod::Public);
    QCOMPARE(mo->propertyCount() - mo->propertyOffset(), 0);
}

void tst_OptionDialog::structureAndTexts()
{
    OptionDialog dialog;
    QCOMPARE(dialog.windowTitle(), QString("Options"));
    QCOMPARE(dialog.windowFlags(), QDialog().windowFlags());

    QCOMPARE(dialog.cbbLanguage->count(), 2);
    QCOMPARE(dialog.cbbLanguage->itemText(0), QString::fromUtf8("\xe4\xb8\xad\xe6\x96\x87"));
    QCOMPARE(dialog.cbbLanguage->itemText(1), QString("English"));
    for (int i = 0; i < 2; ++i) {
        QVERIFY(dialog.cbbLanguage->itemIcon(i).isNull());
        QVERIFY(!dialog.cbbLanguage->itemData(i).isValid());
    }

    QCOMPARE(dialog.ledHistoryFilesPath->minimumWidth(), 300);
    QVERIFY(dialog.ledHistoryFilesPath->text().isEmpty());
    QVERIFY(dialog.ledHistoryFilesPath->toolTip().isEmpty());

    QCOMPARE(dialog.btnHistoryFilesPath->text(), QString("..."));
    QCOMPARE(dialog.btnHistoryFilesPath->styleSheet(),
             QString("min-height: 10px;min-width: 10px;"));
    QCOMPARE(dialog.btnOk->text(), QString("Ok"));
    QCOMPARE(dialog.btnCancel->text(), QString("Cancel"));

    // Every member is owned by the dialog, so nothing outlives it.
    for (QWidget *w :
         { static_cast<QWidget *>(dialog.cbbLanguage),
           static_cast<QWidget *>(dialog.ledHistoryFilesPath),
           static_cast<QWidget *>(dialog.btnHistoryFilesPath), static_cast<QWidget *>(dialog.btnOk),
           static_cast<QWidget *>(dialog.btnCancel) })
        QCOMPARE(w->window(), &dialog);
}

void tst_OptionDialog::layoutOrder()
{
    OptionDialog dialog;
    auto *main = qobject_cast<QVBoxLayout *>(dialog.layout());
    QVERIFY(main);
    QCOMPARE(main->count(), 2);

    auto *form = qobject_cast<QFormLayout *>(main->itemAt(0)->layout());
    QVERIFY(form);
    QCOMPARE(form->rowCount(), 2);
    auto *label0 = qobject_cast<QLabel *>(form->itemAt(0, QFormLayout::LabelRole)->widget());
    auto *label1 = qobject_cast<QLabel *>(form->itemAt(1, QFormLayout::LabelRole)->widget());
    QVERIFY(label0 && label1);
    QCOMPARE(label0->text(), QString("Language"));
    QCOMPARE(label1->text(), QString("History files path"));
    QCOMPARE(form->itemAt(0, QFormLayout::FieldRole)->widget(), dialog.cbbLanguage);

    auto *pathRow = qobject_cast<QHBoxLayout *>(form->itemAt(1, QFormLayout::FieldRole)->layout());
    QVERIFY(pathRow);
    QCOMPARE(pathRow->spacing(), 1);
    QCOMPARE(pathRow->count(), 2);
    QCOMPARE(pathRow->itemAt(0)->widget(), dialog.ledHistoryFilesPath);
    QCOMPARE(pathRow->itemAt(1)->widget(), dialog.btnHistoryFilesPath);
    QCOMPARE(pathRow->stretch(1), 0);
    QCOMPARE(pathRow->itemAt(1)->alignment(), Qt::Alignment());

    auto *buttonRow = qobject_cast<QHBoxLayout *>(main->itemAt(1)->layout());
    QVERIFY(buttonRow);
    QCOMPARE(buttonRow->count(), 3);
    QVERIFY(buttonRow->itemAt(0)->spacerItem());
    QCOMPARE(buttonRow->itemAt(1)->widget(), dialog.btnOk);
    QCOMPARE(buttonRow->itemAt(2)->widget(), dialog.btnCancel);
}

void tst_OptionDialog::exitPath_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("result");
    QTest::newRow("ok chinese") << "ok" << 0 << int(QDialog::Accepted);
    QTest::newRow("ok english") << "ok" << 1 << int(QDialog::Accepted);
    QTest::newRow("return key") << "return" << 1 << int(QDialog::Accepted);
    QTest::newRow("cancel") << "cancel" << 0 << int(QDialog::Rejected);
    QTest::newRow("escape") << "escape" << 1 << int(QDialog::Rejected);
    QTest::newRow("close button") << "close" << 0 << int(QDialog::Rejected);
}

void tst_OptionDialog::exitPath()
{
    QFETCH(QString, how);
    QFETCH(int, index);
    QFETCH(int, result);

    OptionDialog dialog;
    dialog.cbbLanguage->setCurrentIndex(index);
    dialog.ledHistoryFilesPath->setText("/where/the/history/goes");

    bool acted = false;
    whenModalAppears(nullptr, [&](QWidget *modal) {
        acted = modal == &dialog;
        if (how == "ok")
            QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
        else if (how == "cancel")
            QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
        else if (how == "escape")
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else if (how == "return")
            QTest::keyClick(dialog.btnOk, Qt::Key_Return);
        else
            dialog.close();
    });
    QCOMPARE(dialog.exec(), result);
    QVERIFY(acted);
    QCOMPARE(dialog.cbbLanguage->currentIndex(), index);
    QCOMPARE(dialog.ledHistoryFilesPath->text(), QString("/where/the/history/goes"));
}

void tst_OptionDialog::chooser_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("taken");
    QTest::newRow("existing directory") << "<tmp>" << true;
    QTest::newRow("cancelled") << "" << false;
    QTest::newRow("vanished directory") << "<tmp>/gone" << false;
}

void tst_OptionDialog::chooser()
{
    QFETCH(QString, answer);
    QFETCH(bool, taken);
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    answer.replace("<tmp>", tmp.path());

    ScriptedOptionDialog dialog;
    dialog.ledHistoryFilesPath->setText("/previous/path");
    dialog.ledHistoryFilesPath->setToolTip("previous tip");
    dialog.answer = answer;
    QTest::mouseClick(dialog.btnHistoryFilesPath, Qt::LeftButton);

    QCOMPARE(dialog.asked, 1);
    QCOMPARE(dialog.ledHistoryFilesPath->text(), taken ? answer : QString("/previous/path"));
    QCOMPARE(dialog.ledHistoryFilesPath->toolTip(), taken ? answer : QString("previous tip"));
    // The chooser only fills the field; the dialog stays open.
    QCOMPARE(dialog.result(), 0);
}

void tst_OptionDialog::realChooserCancelledKeepsField()
{
    OptionDialog dialog;
    dialog.ledHistoryFilesPath->setText("/previous/path");
    dialog.show();

    QString caption;
    bool directoriesOnly = false;
    whenModalAppears(&dialog, [&](QWidget *modal) {
        auto *chooser = qobject_cast<QFileDialog *>(modal);
        if (!chooser)
            return;
        caption = chooser->windowTitle();
        // Qt reports ShowDirsOnly through a directory-only file mode.
        directoriesOnly = chooser->testOption(QFileDialog::ShowDirsOnly)
            && chooser->fileMode() != QFileDialog::AnyFile
            && chooser->fileMode() != QFileDialog::ExistingFile
            && chooser->fileMode() != QFileDialog::ExistingFiles;
        chooser->reject();
    });
    dialog.btnHistoryFilesPath->click();

    QCOMPARE(caption, QString("Choose path"));
    QVERIFY(directoriesOnly);
    QCOMPARE(dialog.ledHistoryFilesPath->text(), QString("/previous/path"));
    QVERIFY(dialog.ledHistoryFilesPath->toolTip().isEmpty());
}

QTEST_MAIN(tst_OptionDialog)
#include "tst_optiondialog.moc"
