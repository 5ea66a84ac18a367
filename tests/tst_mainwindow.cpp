#include "democamerabackend.h"
#include "dossview.h"
#include "fakebackend.h"
#include "imagefile.h"
#include "livescope.h"
#include "mainwindow.h"
#include "modalwatcher.h"
#include "modewindows.h"
#include "optionsfile.h"
#include "panelet.h"
#include "picturepage.h"
#include "testpictures.h"
#include "tethra.h"
#include "videoextendparam.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using DeviceManager::Mode;

namespace {

/** A main window on a fake device, with its options file in a folder of its own. */
struct Harness
{
    Harness()
    {
        OptionsFile::setPathForTesting(dir.filePath(QStringLiteral("options.xml")));
        window.reset(new MainWindow);
        backend = new FakeBackend;
        window->tethra()->addBackend(backend);
    }
    ~Harness() { OptionsFile::setPathForTesting(QString()); }

    /** Lets the automatic connect after start-up run. */
    void start()
    {
        window->show();
        QTRY_COMPARE(backend->openRequests.size(), 1);
    }

    QLabel *statusLabel() const { return window->statusBar()->findChild<QLabel *>(); }
    QList<QAction *> fileActions() const
    {
        return window->menuBar()->actions().value(0)->menu()->actions();
    }
    QAction *connectAction() const { return fileActions().value(0); }
    QAction *disconnectAction() const { return fileActions().value(1); }
    QAction *optionAction() const { return fileActions().value(2); }
    QAction *closeAction() const { return fileActions().value(3); }
    QMdiArea *mdiArea() const { return window->findChild<QMdiArea *>(); }
    Panelet *windowOf(Mode mode) const { return modeWindow(window.get(), mode); }

    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;
    FakeBackend *backend = nullptr;
};

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void freshWindow();
    void automaticConnect_data();
    void automaticConnect();
    void opened_data();
    void opened();
    void openedTwiceKeepsOneWindow();
    void modeWithoutKnownBitChangesNothing_data();
    void modeWithoutKnownBitChangesNothing();
    void closedMode_data();
    void closedMode();
    void closingOneOfTwoModes();
    void tryOpenTrueWithoutOpened();
    void connectAction();
    void disconnectWithNothingOpen();
    void twoModesTwoMaximizedWindows();
    void extendParamsReachOnlyActiveUsbVideo();
    void framesReachOnlyLivescopes();
    void disksReachOnlyUsbFileWindow();
    void pictureReachesWindowOfItsMode();
    void pictureLeavesActiveWindowAlone();
    void readingsReachLiveWindowBehindOthers();
    void pullImageNeedsWindow();
    void fileListsForwardedWithoutCondition();
    void subCloseClosesWindowAndMode_data();
    void subCloseClosesWindowAndMode();
    void livescopeOptionsFlowBack();
    void closeWithInactiveModeStillClosesIt();
    void closePathsWriteOptions_data();
    void closePathsWriteOptions();
    void windowDeletedElsewhereLeavesNoDanglingEntry();
    void subWindowsGoBeforeTethra();
};

void tst_MainWindow::initTestCase()
{
    // Only the fake device of each test: no real disks, no demo instrument.
    qputenv("TETHRA_BACKENDS", "none");
    QStandardPaths::setTestModeEnabled(true); // the live window's alarm bounds
}

void tst_MainWindow::freshWindow()
{
    Harness h;
    QCOMPARE(h.window->windowTitle(), QStringLiteral("Calorix V1.35"));
    QVERIFY(!qApp->styleSheet().isEmpty());
    QCOMPARE(h.window->menuBar()->actions().size(), 1);
    QCOMPARE(h.window->menuBar()->actions().at(0)->text(), QStringLiteral("File"));

    QStringList texts;
    for (QAction *action : h.fileActions())
        texts << action->text();
    QCOMPARE(texts, (QStringList { "Connect", "Disconnect", "Option", "Close" }));
    QVERIFY(h.connectAction()->isEnabled());
    QVERIFY(!h.disconnectAction()->isEnabled());
    QVERIFY(h.optionAction()->isEnabled());

    QVERIFY(h.statusLabel());
    QVERIFY(h.statusLabel()->text().isEmpty());
    QCOMPARE(h.statusLabel()->styleSheet(), QStringLiteral("font-weight:bold;"));
    QVERIFY(h.mdiArea());
    QVERIFY(h.mdiArea()->subWindowList().isEmpty());
    QCOMPARE(h.mdiArea()->viewMode(), QMdiArea::SubWindowView);
    QCOMPARE(h.mdiArea()->background().style(), Qt::NoBrush);
    QVERIFY(h.mdiArea()->tabsClosable());
    QVERIFY(h.mdiArea()->tabsMovable());
    QVERIFY(!h.window->optionParam().allowAlarm);
    QVERIFY(!h.window->optionParam().allowAlarmSound);
    QVERIFY(!h.window->optionParam().allowLogGeneration);
}

void tst_MainWindow::automaticConnect_data()
{
    QTest::addColumn<int>("modesToOpen");
    QTest::addColumn<QString>("finalStatus");
    QTest::addColumn<bool>("connectEnabled");
    QTest::addColumn<bool>("disconnectEnabled");

    QTest::newRow("nothing opens") << 0 << "Failed to open device" << true << false;
    QTest::newRow("USB files open")
        << int(DeviceManager::UsbFile) << "USB flash disk is open" << false << true;
    QTest::newRow("Wi-Fi video opens") << int(DeviceManager::WifiVideo) << "" << false << true;
}

void tst_MainWindow::automaticConnect()
{
    QFETCH(int, modesToOpen);
    QFETCH(QString, finalStatus);
    QFETCH(bool, connectEnabled);
    QFETCH(bool, disconnectEnabled);

    Harness h;
    h.backend->modesToOpen = modesToOpen;
    QString statusDuringAttempt;
    bool connectEnabledDuringAttempt = true;
    h.backend->onOpen = [&](int) {
        statusDuringAttempt = h.statusLabel()->text();
        connectEnabledDuringAttempt = h.connectAction()->isEnabled();
    };
    h.start();

    QCOMPARE(h.backend->openRequests, QList<int>() << 6);
    QCOMPARE(statusDuringAttempt, QStringLiteral("Trying to open device..."));
    QVERIFY(!connectEnabledDuringAttempt);
    // A Wi-Fi mode leaves the status text of the attempt.
    QCOMPARE(h.statusLabel()->text(), finalStatus.isEmpty() ? statusDuringAttempt : finalStatus);
    QCOMPARE(h.connectAction()->isEnabled(), connectEnabled);
    QCOMPARE(h.disconnectAction()->isEnabled(), disconnectEnabled);
}

void tst_MainWindow::opened_data()
{
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("className");

    QTest::newRow("Wi-Fi files") << DeviceManager::WifiFile << ""
                                 << "Wi-Fi[File]"
                                 << "Dossview";
    QTest::newRow("Wi-Fi video") << DeviceManager::WifiVideo << ""
                                 << "Wi-Fi[Video]"
                                 << "Livescope";
    QTest::newRow("USB files") << DeviceManager::UsbFile << "USB flash disk is open"
                               << "USB[File]"
                               << "Dossview";
    QTest::newRow("USB video") << DeviceManager::UsbVideo << "Camera is open"
                               << "USB[Video]"
                               << "Livescope";
}

void tst_MainWindow::opened()
{
    QFETCH(Mode, mode);
    QFETCH(QString, status);
    QFETCH(QString, title);
    QFETCH(QString, className);

    Harness h;
    h.start();
    h.statusLabel()->setText(QStringLiteral("before"));
    emit h.window->tethra()->opened(mode);

    QCOMPARE(h.statusLabel()->text(), status.isEmpty() ? QStringLiteral("before") : status);
    Panelet *window = h.windowOf(mode);
    QVERIFY(window);
    QCOMPARE(QLatin1String(window->metaObject()->className()), className);
    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(window->windowFlags() & ~Qt::WindowType_Mask, Qt::FramelessWindowHint);
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(window->isMaximized());
    QCOMPARE(h.mdiArea()->activeSubWindow(), window);
    QVERIFY(!h.connectAction()->isEnabled());
    QVERIFY(h.disconnectAction()->isEnabled());
    if (auto *livescope = qobject_cast<Livescope *>(window))
        QCOMPARE(livescope->optionsParam(), h.window->optionParam());
}

void tst_MainWindow::openedTwiceKeepsOneWindow()
{
    Harness h;
    h.start();
    emit h.window->tethra()->opened(DeviceManager::UsbFile);
    Panelet *first = h.windowOf(DeviceManager::UsbFile);
    emit h.window->tethra()->opened(DeviceManager::UsbVideo);
    QCOMPARE(h.mdiArea()->activeSubWindow(), h.windowOf(DeviceManager::UsbVideo));

    emit h.window->tethra()->opened(DeviceManager::UsbFile);
    QCOMPARE(h.mdiArea()->subWindowList().size(), 2);
    QCOMPARE(h.windowOf(DeviceManager::UsbFile), first);
    QCOMPARE(h.mdiArea()->activeSubWindow(), first);
}

void tst_MainWindow::modeWithoutKnownBitChangesNothing_data()
{
    QTest::addColumn<bool>("open");
    QTest::newRow("opened(0)") << true;
    QTest::newRow("closed(0)") << false;
}

void tst_MainWindow::modeWithoutKnownBitChangesNothing()
{
    QFETCH(bool, open);
    Harness h;
    h.start();
    // Connect disabled and Disconnect enabled is a state neither signal would leave.
    h.connectAction()->setEnabled(false);
    h.disconnectAction()->setEnabled(true);
    h.statusLabel()->setText(QStringLiteral("before"));

    for (int value : { 0, 16, 32 }) {
        if (open)
            emit h.window->tethra()->opened(Mode(value));
        else
            emit h.window->tethra()->closed(Mode(value));
    }
    QVERIFY(!h.connectAction()->isEnabled());
    QVERIFY(h.disconnectAction()->isEnabled());
    QCOMPARE(h.statusLabel()->text(), QStringLiteral("before"));
    QVERIFY(h.mdiArea()->subWindowList().isEmpty());
}

void tst_MainWindow::closedMode_data()
{
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<QString>("status");

    QTest::newRow("Wi-Fi files") << DeviceManager::WifiFile << "";
    QTest::newRow("Wi-Fi video") << DeviceManager::WifiVideo << "";
    QTest::newRow("USB files") << DeviceManager::UsbFile << "USB flash disk is close";
    QTest::newRow("USB video") << DeviceManager::UsbVideo << "Camera is close";
}

void tst_MainWindow::closedMode()
{
    QFETCH(Mode, mode);
    QFETCH(QString, status);

    Harness h;
    h.start();
    emit h.window->tethra()->opened(mode);
    QPointer<Panelet> window = h.windowOf(mode);
    QVERIFY(window);
    h.statusLabel()->setText(QStringLiteral("before"));

    emit h.window->tethra()->closed(mode);
    QCOMPARE(h.statusLabel()->text(), status.isEmpty() ? QStringLiteral("before") : status);
    QTRY_VERIFY(!window);
    QVERIFY(h.mdiArea()->subWindowList().isEmpty());
    QVERIFY(h.connectAction()->isEnabled());
    QVERIFY(!h.disconnectAction()->isEnabled());
}

void tst_MainWindow::closingOneOfTwoModes()
{
    Harness h;
    h.start();
    emit h.window->tethra()->opened(DeviceManager::UsbFile);
    emit h.window->tethra()->opened(DeviceManager::UsbVideo);
    emit h.window->tethra()->closed(DeviceManager::UsbVideo);

    QVERIFY(h.connectAction()->isEnabled());
    QVERIFY(!h.disconnectAction()->isEnabled());
    QTRY_COMPARE(h.mdiArea()->subWindowList().size(), 1);
    QVERIFY(h.windowOf(DeviceManager::UsbFile));
}

void tst_MainWindow::tryOpenTrueWithoutOpened()
{
    Harness h;
    h.backend->modesToOpen = DeviceManager::UsbFile;
    h.backend->announceOpened = false;
    h.start();
    QVERIFY(!h.connectAction()->isEnabled());
    QVERIFY(!h.disconnectAction()->isEnabled());
    QCOMPARE(h.statusLabel()->text(), QStringLiteral("Trying to open device..."));
}

void tst_MainWindow::connectAction()
{
    Harness h;
    h.start();
    QCOMPARE(h.statusLabel()->text(), QStringLiteral("Failed to open device"));

    // The program asks for USB files and Wi-Fi video only.
    h.backend->modesToOpen = DeviceManager::UsbVideo | DeviceManager::UsbFile;
    h.connectAction()->trigger();
    QCOMPARE(h.backend->openRequests, QList<int>() << 6 << 6);
    QCOMPARE(h.statusLabel()->text(), QStringLiteral("USB flash disk is open"));
    QVERIFY(h.windowOf(DeviceManager::UsbFile));
    QVERIFY(!h.windowOf(DeviceManager::UsbVideo));
    QVERIFY(!h.connectAction()->isEnabled());
    QVERIFY(h.disconnectAction()->isEnabled());
}

void tst_MainWindow::disconnectWithNothingOpen()
{
    Harness h;
    h.start();
    h.disconnectAction()->setEnabled(true);
    h.statusLabel()->setText(QStringLiteral("before"));

    h.disconnectAction()->trigger();
    QCOMPARE(h.backend->closeRequests,
             (QList<Mode> { DeviceManager::WifiFile, DeviceManager::WifiVideo,
                            DeviceManager::UsbFile, DeviceManager::UsbVideo }));
    QVERIFY(!h.disconnectAction()->isEnabled());
    QVERIFY(h.connectAction()->isEnabled());
    QCOMPARE(h.statusLabel()->text(), QStringLiteral("before"));
}

void tst_MainWindow::twoModesTwoMaximizedWindows()
{
    Harness h;
    h.backend->modesToOpen = DeviceManager::UsbFile | DeviceManager::WifiVideo;
    h.start();

    Panelet *files = h.windowOf(DeviceManager::UsbFile);
    Panelet *video = h.windowOf(DeviceManager::WifiVideo);
    QVERIFY(files && video);
    // The backend announces USB files after Wi-Fi video (bit order), so files are newest.
    QCOMPARE(h.mdiArea()->activeSubWindow(), files);
    QVERIFY(files->isMaximized());
    // The MDI area keeps only the active window maximized; the other one is maximized again
    // as soon as the user brings it forward.
    h.mdiArea()->setActiveSubWindow(video);
    QVERIFY(video->isMaximized());

    h.disconnectAction()->trigger();
    QTRY_VERIFY(h.mdiArea()->subWindowList().isEmpty());
    QVERIFY(h.connectAction()->isEnabled());
}

void tst_MainWindow::extendParamsReachOnlyActiveUsbVideo()
{
    Harness h;
    h.start();
    emit h.window->tethra()->opened(DeviceManager::UsbVideo);
    emit h.window->tethra()->opened(DeviceManager::WifiVideo);
    auto *usb = qobject_cast<Livescope *>(h.windowOf(DeviceManager::UsbVideo));
    auto *wifi = qobject_cast<Livescope *>(h.windowOf(DeviceManager::WifiVideo));
    QVERIFY(usb && wifi);

    VideoExtendParam first;
    first.maxTemperature = 41.5;
    emit h.window->tethra()->updateExtendParam(first); // Wi-Fi window is active
    QCOMPARE(usb->videoExtendParam(), VideoExtendParam());
    QCOMPARE(wifi->videoExtendParam(), VideoExtendParam());

    h.mdiArea()->setActiveSubWindow(usb);
    emit h.window->tethra()->updateExtendParam(first);
    QCOMPARE(usb->videoExtendParam(), first);

    VideoExtendParam second;
    second.minTemperature = -3;
    h.mdiArea()->setActiveSubWindow(wifi);
    emit h.window->tethra()->updateExtendParam(second);
    QCOMPARE(usb->videoExtendParam(), first);
    QCOMPARE(wifi->videoExtendParam(), VideoExtendParam());
}

void tst_MainWindow::framesReachOnlyLivescopes()
{
    Harness h;
    h.start();
    emit h.window->tethra()->opened(DeviceManager::UsbFile);
    QPixmap frame(16, 12);
    frame.fill(Qt::red);
    // A frame for a file window or a mode without window goes nowhere, and breaks nothing.
    emit h.window->tethra()->imageReadVideo(frame, DeviceManager::UsbFile);
    emit h.window->tethra()->imageReadVideo(frame, DeviceManager::UsbVideo);

    emit h.window->tethra()->opened(DeviceManager::UsbVideo);
    auto *livescope = qobject_cast<Livescope *>(h.windowOf(DeviceManager::UsbVideo));
    QVERIFY(livescope);
    QSignalSpy spy(h.window->tethra(), &Tethra::imageReadVideo);
    emit h.window->tethra()->imageReadVideo(frame, DeviceManager::UsbVideo);
    QCOMPARE(spy.count(), 1);
    const QList<QLabel *> labels = livescope->findChildren<QLabel *>();
    const bool shown = std::any_of(labels.begin(), labels.end(), [](QLabel *label) {
        return !label->pixmap(Qt::ReturnByValue).isNull();
    });
    QVERIFY(shown);
}

void tst_MainWindow::disksReachOnlyUsbFileWindow()
{
    Harness h;
    h.start();
    QTemporaryDir disk;
    QVERIFY(TestPictures::writeFile(disk.filePath(QStringLiteral("DCIM/IMG0001.BMP")),
                                    TestPictures::instrumentPicture(1)));

    emit h.window->tethra()->opened(DeviceManager::WifiFile);
    emit h.window->tethra()->disksFresh({ disk.path() });
    QVERIFY(h.backend->fileLists.isEmpty());

    emit h.window->tethra()->opened(DeviceManager::UsbFile);
    emit h.window->tethra()->disksFresh({ disk.path() });
    QCOMPARE(h.backend->fileLists.size(), 1);
    QCOMPARE(h.backend->fileLists.at(0).second, DeviceManager::UsbFile);
    QCOMPARE(h.backend->fileLists.at(0).first.size(), 1);

    emit h.window->tethra()->closed(DeviceManager::UsbFile);
    emit h.window->tethra()->disksFresh({ disk.path() });
    QCOMPARE(h.backend->fileLists.size(), 1);
}

void tst_MainWindow::pictureReachesWindowOfItsMode()
{
    Harness h;
    h.start();
    emit h.window->tethra()->opened(DeviceManager::UsbFile);
    emit h.window->tethra()->opened(DeviceManager::WifiFile);
    Panelet *usb = h.windowOf(DeviceManager::UsbFile);
    Panelet *wifi = h.windowOf(DeviceManager::WifiFile);

    ImageFile picture;
    picture.image = QImage(32, 24, QImage::Format_RGB32);
    picture.image.fill(Qt::blue);
    picture.path = QStringLiteral("/card/DCIM/IMG0007.BMP");
    emit h.window->tethra()->imageReadFile(&picture, DeviceManager::UsbFile);

    QCOMPARE(usb->picturePage()->picture(), picture.image);
    QVERIFY(wifi->picturePage()->picture().isNull());
    QCOMPARE(usb->tabWidget()->currentWidget(), usb->picturePage());

    // For a mode without window the picture is dropped.
    emit h.window->tethra()->imageReadFile(&picture, DeviceManager::UsbVideo);
}

void tst_MainWindow::pictureLeavesActiveWindowAlone()
{
    Harness h;
    h.start();
    QVERIFY(QTest::qWaitForWindowActive(h.window.get()));
    emit h.window->tethra()->opened(DeviceManager::UsbFile);
    emit h.window->tethra()->opened(DeviceManager::UsbVideo);
    Panelet *files = h.windowOf(DeviceManager::UsbFile);
    Panelet *live = h.windowOf(DeviceManager::UsbVideo);
    QCOMPARE(h.mdiArea()->activeSubWindow(), live);

    ImageFile picture;
    picture.image = QImage(32, 24, QImage::Format_RGB32);
    picture.image.fill(Qt::blue);
    emit h.window->tethra()->imageReadFile(&picture, DeviceManager::UsbFile);
    QCOMPARE(files->tabWidget()->currentWidget(), files->picturePage());
    QCoreApplication::processEvents();
    QCOMPARE(h.mdiArea()->activeSubWindow(), live);

    // Once the user brings the file browser forward, the picture tab's keys work.
    h.mdiArea()->setActiveSubWindow(files);
    QTRY_VERIFY(files->picturePage()->hasFocus());
}

void tst_MainWindow::readingsReachLiveWindowBehindOthers()
{
    Harness h;
    h.start();
    auto *camera = new DemoCameraBackend;
    camera->setFrameRate(DemoCameraBackend::MaxFrameRate);
    h.window->tethra()->addBackend(camera);
    camera->open(DeviceManager::UsbVideo);
    emit h.window->tethra()->opened(DeviceManager::UsbFile); // in front of the live window
    auto *live = qobject_cast<Livescope *>(h.windowOf(DeviceManager::UsbVideo));
    QVERIFY(live && h.mdiArea()->activeSubWindow() == h.windowOf(DeviceManager::UsbFile));
    QTRY_VERIFY(live->videoExtendParam().frameRate > 0);
}

void tst_MainWindow::pullImageNeedsWindow()
{
    Harness h;
    h.start();
    emit h.window->tethra()->opened(DeviceManager::UsbFile);
    Panelet *window = h.windowOf(DeviceManager::UsbFile);
    auto *record = reinterpret_cast<QObject *>(quintptr(0x1234));

    emit window->pullImage(record, DeviceManager::UsbFile);
    QCOMPARE(h.backend->pullRequests.size(), 1);
    QCOMPARE(quintptr(h.backend->pullRequests.at(0).first), quintptr(0x1234));
    QCOMPARE(h.backend->pullRequests.at(0).second, DeviceManager::UsbFile);

    h.window->slotPullImage(record, DeviceManager::WifiFile);
    emit h.window->tethra()->closed(DeviceManager::UsbFile);
    h.window->slotPullImage(record, DeviceManager::UsbFile);
    QCOMPARE(h.backend->pullRequests.size(), 1);
}

void tst_MainWindow::fileListsForwardedWithoutCondition()
{
    Harness h;
    h.start();
    QList<QUrlInfo *> files { reinterpret_cast<QUrlInfo *>(quintptr(0x10)),
                              reinterpret_cast<QUrlInfo *>(quintptr(0x20)) };
    h.window->slotUpdateFiles(files, DeviceManager::WifiFile);
    QCOMPARE(h.backend->fileLists.size(), 1);
    QCOMPARE(h.backend->fileLists.at(0).first, files);
    QCOMPARE(h.backend->fileLists.at(0).second, DeviceManager::WifiFile);
}

void tst_MainWindow::subCloseClosesWindowAndMode_data()
{
    QTest::addColumn<bool>("modeActive");
    QTest::newRow("active mode") << true;
    QTest::newRow("inactive mode") << false;
}

void tst_MainWindow::subCloseClosesWindowAndMode()
{
    QFETCH(bool, modeActive);
    Harness h;
    h.start();
    h.backend->modesToOpen = DeviceManager::UsbVideo;
    h.backend->open(DeviceManager::UsbVideo);
    QPointer<Panelet> window = h.windowOf(DeviceManager::UsbVideo);
    QVERIFY(window);
    if (!modeActive)
        h.backend->dropSilently(DeviceManager::UsbVideo);

    emit window->subClose(DeviceManager::UsbVideo);
    QCOMPARE(h.backend->closeRequests, QList<Mode>() << DeviceManager::UsbVideo);
    if (modeActive) {
        QTRY_VERIFY(!window);
        QCOMPARE(h.statusLabel()->text(), QStringLiteral("Camera is close"));
        QVERIFY(h.connectAction()->isEnabled());
    } else {
        // Tethra no longer knows the mode: the window stays for the user to see.
        QVERIFY(window);
    }
}

void tst_MainWindow::livescopeOptionsFlowBack()
{
    Harness h;
    h.start();
    emit h.window->tethra()->opened(DeviceManager::UsbVideo);
    auto *livescope = qobject_cast<Livescope *>(h.windowOf(DeviceManager::UsbVideo));
    QVERIFY(livescope);

    OptionParam changed = h.window->optionParam();
    changed.allowAlarm = true;
    changed.allowLogGeneration = true;
    emit livescope->updateOptionParam(changed);
    QCOMPARE(h.window->optionParam(), changed);

    h.window->close();
    QFile file(OptionsFile::readPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    OptionParam saved;
    OptionsFile::readOptions(&file, saved);
    QVERIFY(saved.allowAlarm);
    QVERIFY(!saved.allowAlarmSound);
    QVERIFY(saved.allowLogGeneration);
}

void tst_MainWindow::closeWithInactiveModeStillClosesIt()
{
    Harness h;
    h.start();
    h.backend->modesToOpen = DeviceManager::UsbFile | DeviceManager::UsbVideo;
    h.backend->open(DeviceManager::UsbFile | DeviceManager::UsbVideo);
    QPointer<Panelet> files = h.windowOf(DeviceManager::UsbFile);
    QPointer<Panelet> video = h.windowOf(DeviceManager::UsbVideo);
    h.backend->dropSilently(DeviceManager::UsbFile);

    h.window->close();
    QCOMPARE(h.backend->closeRequests,
             (QList<Mode> { DeviceManager::UsbFile, DeviceManager::UsbVideo }));
    QTRY_VERIFY(!video);
    // The inactive mode's window is left to the MDI area's own teardown.
    QVERIFY(files);
    QCOMPARE(files->parentWidget()->parentWidget(), h.mdiArea());
}

void tst_MainWindow::closePathsWriteOptions_data()
{
    QTest::addColumn<bool>("viaMenu");
    QTest::newRow("File > Close") << true;
    QTest::newRow("window close button") << false;
}

void tst_MainWindow::closePathsWriteOptions()
{
    QFETCH(bool, viaMenu);
    Harness h;
    h.backend->modesToOpen = DeviceManager::UsbFile;
    h.start();
    QVERIFY(!QFile::exists(OptionsFile::readPath()));

    if (viaMenu)
        h.closeAction()->trigger();
    else
        h.window->close();

    QVERIFY(!h.window->isVisible());
    QCOMPARE(h.backend->closeRequests, QList<Mode>() << DeviceManager::UsbFile);
    QFile file(OptionsFile::readPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray xml = file.readAll();
    for (const char *element : { "<Geometry>", "<State>", "<Language>", "<HistoryFilesPath>",
                                 "<AllowAlarm>", "<AllowAlarmSound>", "<AllowLogGeneration>" })
        QVERIFY2(xml.contains(element), element);
}

void tst_MainWindow::windowDeletedElsewhereLeavesNoDanglingEntry()
{
    Harness h;
    h.start();
    emit h.window->tethra()->opened(DeviceManager::UsbFile);
    emit h.window->tethra()->opened(DeviceManager::UsbVideo);
    delete h.windowOf(DeviceManager::UsbFile);
    delete h.windowOf(DeviceManager::UsbVideo);

    ImageFile picture;
    picture.image = QImage(8, 8, QImage::Format_RGB32);
    emit h.window->tethra()->imageReadFile(&picture, DeviceManager::UsbFile);
    emit h.window->tethra()->imageReadVideo(QPixmap(8, 8), DeviceManager::UsbVideo);
    emit h.window->tethra()->disksFresh({ QStringLiteral("/nonexistent") });
    h.window->slotPullImage(nullptr, DeviceManager::UsbFile);
    QVERIFY(h.backend->pullRequests.isEmpty());

    // The mode can open again and gets a fresh window.
    emit h.window->tethra()->opened(DeviceManager::UsbFile);
    QVERIFY(h.windowOf(DeviceManager::UsbFile));
    emit h.window->tethra()->closed(DeviceManager::UsbVideo);
    h.window->close();
}

void tst_MainWindow::subWindowsGoBeforeTethra()
{
    // A main window destroyed with its sub-windows open: what a sub-window sends while it goes
    // (subClose from a close path of its own, say) reaches slots that use Tethra, so the
    // sub-windows must be gone before Tethra is.
    QList<QPointer<Panelet>> windows;
    QList<bool> goneBeforeTethra;
    {
        Harness h;
        h.start();
        emit h.window->tethra()->opened(DeviceManager::UsbFile);
        emit h.window->tethra()->opened(DeviceManager::UsbVideo);
        windows << h.windowOf(DeviceManager::UsbFile) << h.windowOf(DeviceManager::UsbVideo);
        QVERIFY(windows.at(0) && windows.at(1));
        QObject::connect(h.window->tethra(), &QObject::destroyed, [&] {
            for (const QPointer<Panelet> &window : qAsConst(windows))
                goneBeforeTethra << window.isNull();
        });
    }
    QCOMPARE(goneBeforeTethra, QList<bool>({ true, true }));
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
