#include "fakebackend.h"
#include "livescope.h"
#include "mainwindow.h"
#include "modalwatcher.h"
#include "modewindows.h"
#include "optiondialog.h"
#include "optionsfile.h"
#include "panelet.h"
#include "tethra.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const char *const s_restartMessage = "Changes will take effect when you restart application.";

/** What the test does in the options dialog once it is up. */
enum class Answer { Ok, Cancel, Escape, CloseButton };

struct Harness
{
    explicit Harness(const QString &storedLanguage)
    {
        OptionsFile::setPathForTesting(dir.filePath(QStringLiteral("options.xml")));
        OptionParam stored;
        stored.language = storedLanguage;
        stored.historyFilesPath = dir.path();
        OptionsFile::save(OptionsFile::writePath(), QByteArray(), QByteArray(), stored);
        window.reset(new MainWindow);
        backend = new FakeBackend;
        window->tethra()->addBackend(backend);
        window->show();
        QTRY_COMPARE(backend->openRequests.size(), 1);
    }
    ~Harness() { OptionsFile::setPathForTesting(QString()); }

    QAction *optionAction() const
    {
        return window->menuBar()->actions().value(0)->menu()->actions().value(2);
    }
    Livescope *livescope(DeviceManager::Mode mode) const
    {
        return qobject_cast<Livescope *>(modeWindow(window.get(), mode));
    }

    /**
     * Triggers Option and answers the dialog: picks the combo index (when not -1), types the
     * path (when not null) and closes it as told. Message boxes are confirmed with Ok.
     */
    void runOptions(int index, const QString &path, Answer answer)
    {
        ModalWatcher watcher([&](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                box->button(QMessageBox::Ok)->click();
                return;
            }
            auto *dialog = qobject_cast<OptionDialog *>(modal);
            QVERIFY(dialog);
            shownIndex = dialog->cbbLanguage->currentIndex();
            shownPath = dialog->ledHistoryFilesPath->text();
            if (index >= 0)
                dialog->cbbLanguage->setCurrentIndex(index);
            if (!path.isNull())
                dialog->ledHistoryFilesPath->setText(path);
            switch (answer) {
            case Answer::Ok:
                dialog->btnOk->click();
                break;
            case Answer::Cancel:
                dialog->btnCancel->click();
                break;
            case Answer::Escape:
                QTest::keyClick(dialog, Qt::Key_Escape);
                break;
            case Answer::CloseButton:
                dialog->close();
                break;
            }
        });
        optionAction()->trigger();
        seen = watcher.seen;
    }

    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;
    FakeBackend *backend = nullptr;
    int shownIndex = -1;
    QString shownPath;
    QStringList seen;
};

} // namespace

class tst_OptionAction : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void dialogShowsStoredValues_data();
    void dialogShowsStoredValues();
    void accept_data();
    void accept();
    void notAcceptedChangesNothing_data();
    void notAcceptedChangesNothing();
    void optionsReachOnlyActiveUsbVideo_data();
    void optionsReachOnlyActiveUsbVideo();
};

void tst_OptionAction::initTestCase()
{
    qputenv("TETHRA_BACKENDS", "none");
}

void tst_OptionAction::dialogShowsStoredValues_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("index");
    QTest::newRow("CH") << "CH" << 0;
    QTest::newRow("EN") << "EN" << 1;
    QTest::newRow("empty") << "" << 1;
    QTest::newRow("lower-case ch") << "ch" << 1;
    QTest::newRow("unknown code") << "DE" << 1;
}

void tst_OptionAction::dialogShowsStoredValues()
{
    QFETCH(QString, stored);
    Harness h(stored);
    h.runOptions(-1, QString(), Answer::Cancel);
    QTEST(h.shownIndex, "index");
    QCOMPARE(h.shownPath, h.dir.path());
}

void tst_OptionAction::accept_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("message");

    QTest::newRow("unchanged English") << "EN" << -1 << "EN" << false;
    QTest::newRow("unchanged Chinese") << "CH" << -1 << "CH" << false;
    QTest::newRow("English to Chinese") << "EN" << 0 << "CH" << true;
    QTest::newRow("Chinese to English") << "CH" << 1 << "EN" << true;
    // A stored code other than CH is shown as English and comes back as EN, a change.
    QTest::newRow("empty saved back as EN") << "" << -1 << "EN" << true;
    QTest::newRow("unknown code saved back as EN") << "xx" << -1 << "EN" << true;
}

void tst_OptionAction::accept()
{
    QFETCH(QString, stored);
    QFETCH(int, index);
    QFETCH(QString, language);
    QFETCH(bool, message);

    Harness h(stored);
    // Taken without validation, even a folder that does not exist.
    const QString typed = h.dir.filePath(QStringLiteral("not/yet/there"));
    h.runOptions(index, typed, Answer::Ok);

    QStringList expected { QStringLiteral("OptionDialog: ") };
    if (message)
        expected << QStringLiteral("QMessageBox: %1").arg(QLatin1String(s_restartMessage));
    QCOMPARE(h.seen, expected);
    QCOMPARE(h.window->optionParam().language, language);
    QCOMPARE(h.window->optionParam().historyFilesPath, typed);

    h.window->close();
    QFile file(OptionsFile::readPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray xml = file.readAll();
    QVERIFY(xml.contains("<Language>" + language.toUtf8() + "</Language>"));
    QVERIFY(xml.contains("<HistoryFilesPath>" + typed.toUtf8() + "</HistoryFilesPath>"));
}

void tst_OptionAction::notAcceptedChangesNothing_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("Cancel") << int(Answer::Cancel);
    QTest::newRow("Escape") << int(Answer::Escape);
    QTest::newRow("close button") << int(Answer::CloseButton);
}

void tst_OptionAction::notAcceptedChangesNothing()
{
    QFETCH(int, answer);
    Harness h(QStringLiteral("EN"));
    emit h.window->tethra()->opened(DeviceManager::UsbVideo);
    Livescope *video = h.livescope(DeviceManager::UsbVideo);
    QVERIFY(video);
    const OptionParam before = h.window->optionParam();

    h.runOptions(0, QStringLiteral("/somewhere/else"), Answer(answer));
    QCOMPARE(h.seen, QStringList() << QStringLiteral("OptionDialog: "));
    QCOMPARE(h.window->optionParam(), before);
    QCOMPARE(video->optionsParam(), before);
}

void tst_OptionAction::optionsReachOnlyActiveUsbVideo_data()
{
    QTest::addColumn<DeviceManager::Mode>("active");
    QTest::addColumn<bool>("reachesUsbVideo");
    QTest::newRow("USB video active") << DeviceManager::UsbVideo << true;
    QTest::newRow("Wi-Fi video active") << DeviceManager::WifiVideo << false;
    QTest::newRow("file window active") << DeviceManager::UsbFile << false;
}

void tst_OptionAction::optionsReachOnlyActiveUsbVideo()
{
    QFETCH(DeviceManager::Mode, active);
    QFETCH(bool, reachesUsbVideo);

    Harness h(QStringLiteral("EN"));
    emit h.window->tethra()->opened(DeviceManager::UsbVideo);
    emit h.window->tethra()->opened(DeviceManager::WifiVideo);
    emit h.window->tethra()->opened(DeviceManager::UsbFile);
    emit h.window->tethra()->opened(active);
    Livescope *usb = h.livescope(DeviceManager::UsbVideo);
    Livescope *wifi = h.livescope(DeviceManager::WifiVideo);
    const OptionParam before = h.window->optionParam();

    // No language change: no message, but the path is taken and handed on.
    const QString typed = h.dir.filePath(QStringLiteral("logs"));
    h.runOptions(-1, typed, Answer::Ok);
    QCOMPARE(h.seen, QStringList() << QStringLiteral("OptionDialog: "));

    QCOMPARE(usb->optionsParam().historyFilesPath == typed, reachesUsbVideo);
    QCOMPARE(wifi->optionsParam(), before);
    if (reachesUsbVideo)
        QCOMPARE(usb->optionsParam(), h.window->optionParam());
}

QTEST_MAIN(tst_OptionAction)
#include "tst_optionaction.moc"
