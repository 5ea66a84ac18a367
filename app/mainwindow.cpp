#include "mainwindow.h"

#include "appinfo.h"
#include "dossview.h"
#include "imagefile.h"
#include "livescope.h"
#include "modeentry.h"
#include "optiondialog.h"
#include "optionsfile.h"
#include "panelet.h"
#include "qurlinfo.h"
#include "tethra.h"
#include "videoextendparam.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>

namespace {

// The link and kind names of the modes, stored untranslated in the mode table; the window
// titles use their translations in this context.
const char *const s_modeNames[] = {
    QT_TRANSLATE_NOOP("MainWindow", "Wi-Fi"),
    QT_TRANSLATE_NOOP("MainWindow", "USB"),
    QT_TRANSLATE_NOOP("MainWindow", "File"),
    QT_TRANSLATE_NOOP("MainWindow", "Video"),
};

bool hasAnyModeBit(DeviceManager::Mode m)
{
    return (m & DeviceManager::AllModes) != 0;
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("%1 V%2").arg(AppInfo::displayName()).arg(AppInfo::version()));
    setWindowIcon(QIcon(QStringLiteral(":image/calorix.ico")));

    initTethraAndModes();
    initAction();
    initWidget();
    initConnection();
    loadOptions();
    loadGeometryState();

    QTimer::singleShot(0, this, SLOT(slotShowFinished()));
}

// The device access, the mode records, the actions and the menu live as long as the window,
// which in the program is as long as the process.
MainWindow::~MainWindow()
{
    // The sub-windows go first, while Tethra and the mode entries that their last signals
    // reach are still there; ~QWidget would only destroy them after this body.
    const QList<QMdiSubWindow *> subWindows = m_mdiArea->subWindowList();
    QList<QPointer<QMdiSubWindow>> guarded(subWindows.cbegin(), subWindows.cend());
    for (const QPointer<QMdiSubWindow> &subWindow : qAsConst(guarded))
        delete subWindow.data();
    delete m_tethra;
    m_tethra = nullptr;
    qDeleteAll(m_modeEntries);
    m_modeEntries.clear();
    const QList<QAction *> menus = menuBar()->actions();
    for (QAction *menuAction : menus)
        delete menuAction->menu();
    delete m_actConnect;
    delete m_actDisconnect;
    delete m_actOption;
    delete m_actClose;
}

void MainWindow::initTethraAndModes()
{
    m_tethra = new Tethra(nullptr);

    const QString wifi = QString::fromLatin1(s_modeNames[0]);
    const QString usb = QString::fromLatin1(s_modeNames[1]);
    const QString file = QString::fromLatin1(s_modeNames[2]);
    const QString video = QString::fromLatin1(s_modeNames[3]);
    m_modeEntries.append(new ModeEntry { DeviceManager::WifiFile, wifi, file, nullptr });
    m_modeEntries.append(new ModeEntry { DeviceManager::WifiVideo, wifi, video, nullptr });
    m_modeEntries.append(new ModeEntry { DeviceManager::UsbFile, usb, file, nullptr });
    m_modeEntries.append(new ModeEntry { DeviceManager::UsbVideo, usb, video, nullptr });
}

void MainWindow::initAction()
{
    m_actConnect = new QAction(QIcon(QStringLiteral(":/image/refresh.png")), tr("Connect"));
    m_actDisconnect
        = new QAction(QIcon(QStringLiteral(":/image/disconnect.png")), tr("Disconnect"));
    m_actDisconnect->setEnabled(false);
    m_actOption = new QAction(QIcon(QStringLiteral(":/image/options.png")), tr("Option"));
    m_actClose = new QAction(QIcon(QStringLiteral(":/image/exit3.png")), tr("Close"));
}

void MainWindow::initWidget()
{
    QFile theme(QStringLiteral(":/image/%1.css").arg(QStringLiteral("black")));
    if (theme.open(QIODevice::ReadOnly)) {
        QByteArray css = theme.readAll();
        const int nul = css.indexOf('\0');
        if (nul >= 0)
            css.truncate(nul);
        qApp->setStyleSheet(QString::fromLatin1(css));
        theme.close();
    }

    auto *fileMenu = new QMenu(tr("File"));
    fileMenu->addAction(m_actConnect);
    fileMenu->addAction(m_actDisconnect);
    fileMenu->addAction(m_actOption);
    fileMenu->addAction(m_actClose);
    menuBar()->addMenu(fileMenu);

    m_statusBar = new QStatusBar;
    setStatusBar(m_statusBar);
    m_statusLabel = new QLabel;
    m_statusLabel->setMinimumWidth(60);
    m_statusLabel->setAlignment(Qt::AlignLeft);
    m_statusLabel->setStyleSheet(QStringLiteral("font-weight:bold;"));
    m_statusBar->addPermanentWidget(m_statusLabel, 0);

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setTabsClosable(true);
    m_mdiArea->setBackground(QBrush(Qt::NoBrush));
    m_mdiArea->setTabsMovable(true);
    const QList<QTabBar *> tabBars = m_mdiArea->findChildren<QTabBar *>();
    for (QTabBar *tabBar : tabBars)
        tabBar->setDrawBase(false);

    m_splitter = new QSplitter(Qt::Horizontal);
    m_splitter->addWidget(m_mdiArea);
    setCentralWidget(m_splitter);
}

void MainWindow::initConnection()
{
    connect(m_actConnect, &QAction::triggered, this, &MainWindow::slotActionTriggered);
    connect(m_actDisconnect, &QAction::triggered, this, &MainWindow::slotActionTriggered);
    connect(m_actClose, &QAction::triggered, this, &MainWindow::slotActionTriggered);
    connect(m_actOption, &QAction::triggered, this, &MainWindow::slotActionTriggered);
    connect(m_tethra, &Tethra::opened, this, &MainWindow::sltTethraOpened);
    connect(m_tethra, &Tethra::closed, this, &MainWindow::sltTethraClosed);
    connect(m_tethra, &Tethra::imageReadFile, this, &MainWindow::slotImageReadFile);
    connect(m_tethra, &Tethra::imageReadVideo, this, &MainWindow::slotImageReadVideo);
    connect(m_tethra, &Tethra::disksFresh, this, &MainWindow::slotDisksFresh);
    connect(m_tethra, &Tethra::updateExtendParam, this, &MainWindow::slotUpdateExtendParam);
}

void MainWindow::slotShowFinished()
{
    m_statusLabel->setText(tr("Trying to open device..."));
    // Paint the text before the attempt, which blocks the event loop.
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    tryOpenDevice(6);
}

void MainWindow::slotActionTriggered(bool)
{
    auto *action = qobject_cast<QAction *>(sender());
    if (!action)
        return;

    if (action == m_actConnect) {
        tryOpenDevice(6);
    } else if (action == m_actDisconnect) {
        m_actDisconnect->setEnabled(false);
        for (const ModeEntry *entry : qAsConst(m_modeEntries))
            m_tethra->close(entry->mode);
    } else if (action == m_actOption) {
        showOptionDialog();
    } else if (action == m_actClose) {
        close();
    }
}

void MainWindow::tryOpenDevice(int modeMask)
{
    m_actConnect->setEnabled(false);
    if (!m_tethra->tryOpen(modeMask)) {
        m_actConnect->setEnabled(true);
        m_statusLabel->setText(tr("Failed to open device"));
    }
}

void MainWindow::showOptionDialog()
{
    OptionDialog dialog(this);
    dialog.cbbLanguage->setCurrentIndex(m_optionParam.language == QLatin1String("CH") ? 0 : 1);
    dialog.ledHistoryFilesPath->setText(m_optionParam.historyFilesPath);
    if (dialog.exec() != QDialog::Accepted)
        return;

    const QString oldLanguage = m_optionParam.language;
    m_optionParam.language
        = dialog.cbbLanguage->currentIndex() == 0 ? QStringLiteral("CH") : QStringLiteral("EN");
    if (m_optionParam.language != oldLanguage) {
        QMessageBox::information(this, QString(),
                                 tr("Changes will take effect when you restart application."),
                                 QMessageBox::Ok);
    }
    m_optionParam.historyFilesPath = dialog.ledHistoryFilesPath->text();

    auto *active = qobject_cast<Panelet *>(m_mdiArea->activeSubWindow());
    if (active && active->mode() == DeviceManager::UsbVideo) {
        if (auto *livescope = qobject_cast<Livescope *>(active))
            livescope->setOptionsParam(m_optionParam);
    }
}

void MainWindow::sltTethraOpened(DeviceManager::Mode m)
{
    if (!hasAnyModeBit(m))
        return;

    if ((m & DeviceManager::UsbMask) && (m & DeviceManager::FileMask))
        m_statusLabel->setText(tr("USB flash disk is open"));
    else if ((m & DeviceManager::UsbMask) && (m & DeviceManager::VideoMask))
        m_statusLabel->setText(tr("Camera is open"));

    createModeWindow(m);

    ModeEntry *entry = nullptr;
    if (windowForMode(m, entry)) {
        m_actConnect->setEnabled(false);
        m_actDisconnect->setEnabled(true);
    }
}

void MainWindow::sltTethraClosed(DeviceManager::Mode m)
{
    if (!hasAnyModeBit(m))
        return;

    if ((m & DeviceManager::UsbMask) && (m & DeviceManager::FileMask))
        m_statusLabel->setText(tr("USB flash disk is close"));
    else if ((m & DeviceManager::UsbMask) && (m & DeviceManager::VideoMask))
        m_statusLabel->setText(tr("Camera is close"));

    ModeEntry *entry = nullptr;
    if (windowForMode(m, entry))
        closeModeWindow(entry);

    m_actConnect->setEnabled(true);
    m_actDisconnect->setEnabled(false);
}

Panelet *MainWindow::windowForMode(DeviceManager::Mode mode, ModeEntry *&entry) const
{
    for (ModeEntry *candidate : m_modeEntries) {
        if (candidate->mode == mode) {
            entry = candidate;
            return candidate->panelet;
        }
    }
    return nullptr;
}

Panelet *MainWindow::createModeWindow(DeviceManager::Mode mode)
{
    ModeEntry *entry = nullptr;
    Panelet *window = windowForMode(mode, entry);
    if (!entry)
        return nullptr;

    if (!window) {
        if (mode & DeviceManager::FileMask) {
            auto *dossview = new Dossview(mode, m_optionParam.language, nullptr, Qt::WindowFlags());
            connect(dossview, &Dossview::updateFiles, this, &MainWindow::slotUpdateFiles);
            window = dossview;
        } else {
            auto *livescope
                = new Livescope(mode, m_optionParam.language, nullptr, Qt::WindowFlags());
            livescope->setOptionsParam(m_optionParam);
            connect(livescope, &Livescope::updateOptionParam, this,
                    &MainWindow::slotLivescopeUpdateOptionParam);
            window = livescope;
        }
        connect(window, &Panelet::pullImage, this, &MainWindow::slotPullImage);
        connect(window, &Panelet::subClose, this, &MainWindow::slotPaneletClose);

        window->setWindowFlags(Qt::FramelessWindowHint);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowTitle(QStringLiteral("%1[%2]").arg(
            tr(entry->link.toLatin1().constData()), tr(entry->kind.toLatin1().constData())));

        m_mdiArea->addSubWindow(window);
        window->showMaximized();
        entry->panelet = window;
    }

    m_mdiArea->setActiveSubWindow(window);
    return window;
}

void MainWindow::closeModeWindow(ModeEntry *entry)
{
    // Clear the entry first: close() deletes the window later, and nothing may reach it
    // through the entry meanwhile.
    Panelet *window = entry->panelet;
    entry->panelet = nullptr;
    if (window)
        window->close();
    m_mdiArea->activateNextSubWindow();
}

void MainWindow::slotImageReadFile(const ImageFile *file, DeviceManager::Mode m)
{
    ModeEntry *entry = nullptr;
    if (Panelet *window = windowForMode(m, entry))
        window->setFile(const_cast<ImageFile *>(file));
}

void MainWindow::slotImageReadVideo(const QPixmap &pixmap, DeviceManager::Mode mode)
{
    ModeEntry *entry = nullptr;
    if (auto *livescope = qobject_cast<Livescope *>(windowForMode(mode, entry)))
        livescope->setPixmap(pixmap);
}

void MainWindow::slotDisksFresh(const QStringList &disks)
{
    ModeEntry *entry = nullptr;
    if (auto *dossview = qobject_cast<Dossview *>(windowForMode(DeviceManager::UsbFile, entry)))
        dossview->setUDisks(disks);
}

void MainWindow::slotUpdateExtendParam(const VideoExtendParam &param)
{
    auto *active = qobject_cast<Panelet *>(m_mdiArea->activeSubWindow());
    if (!active || active->mode() != DeviceManager::UsbVideo)
        return;
    if (auto *livescope = qobject_cast<Livescope *>(active))
        livescope->setVideoExtendParam(param);
}

void MainWindow::slotUpdateFiles(QList<QUrlInfo *> files, DeviceManager::Mode mode)
{
    m_tethra->setFiles(files, mode);
}

void MainWindow::slotPullImage(QObject *info, DeviceManager::Mode mode)
{
    ModeEntry *entry = nullptr;
    if (windowForMode(mode, entry))
        m_tethra->pullImage(info, mode);
}

void MainWindow::slotPaneletClose(DeviceManager::Mode m)
{
    ModeEntry *entry = nullptr;
    if (m_tethra->modeIsActived(m) && windowForMode(m, entry))
        closeModeWindow(entry);
    m_tethra->close(m);
}

void MainWindow::slotLivescopeUpdateOptionParam(const OptionParam &param)
{
    if (m_optionParam.language != param.language)
        m_optionParam.language = param.language;
    if (m_optionParam.historyFilesPath != param.historyFilesPath)
        m_optionParam.historyFilesPath = param.historyFilesPath;
    if (m_optionParam.allowAlarm != param.allowAlarm)
        m_optionParam.allowAlarm = param.allowAlarm;
    if (m_optionParam.allowAlarmSound != param.allowAlarmSound)
        m_optionParam.allowAlarmSound = param.allowAlarmSound;
    if (m_optionParam.allowLogGeneration != param.allowLogGeneration)
        m_optionParam.allowLogGeneration = param.allowLogGeneration;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    for (ModeEntry *entry : qAsConst(m_modeEntries)) {
        if (!entry->panelet)
            continue;
        if (m_tethra->modeIsActived(entry->mode))
            closeModeWindow(entry);
        m_tethra->close(entry->mode);
    }
    saveOptions();
    QMainWindow::closeEvent(event);
}

void MainWindow::loadOptions()
{
    m_optionParam.historyFilesPath = OptionsFile::defaultHistoryPath();
    QFile file(OptionsFile::readPath());
    if (!file.open(QIODevice::ReadOnly))
        return;
    OptionsFile::readOptions(&file, m_optionParam);
}

void MainWindow::loadGeometryState()
{
    QFile file(OptionsFile::readPath());
    if (!file.open(QIODevice::ReadOnly))
        return;
    OptionsFile::readGeometryState(
        &file, [this](const QByteArray &geometry) { restoreGeometry(geometry); },
        [this](const QByteArray &state) {
            // A damaged blob would keep Qt busy for minutes; it is rejected like any other.
            if (OptionsFile::isRestorableState(state))
                restoreState(state, 0);
        });
}

void MainWindow::saveOptions()
{
    if (!OptionsFile::save(OptionsFile::writePath(), saveGeometry(), saveState(0), m_optionParam)) {
        QMessageBox::warning(this, QString(), tr("Can not open file."), QMessageBox::Ok,
                             QMessageBox::NoButton);
    }
}
