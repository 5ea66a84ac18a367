#include "mainwindow.h"

#include "modeentry.h"
#include "tethra.h"

#include <QCloseEvent>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    m_tethra = new Tethra;
}

MainWindow::~MainWindow() = default;

void MainWindow::slotActionTriggered(bool) { }
void MainWindow::sltTethraOpened(DeviceManager::Mode) { }
void MainWindow::sltTethraClosed(DeviceManager::Mode) { }
void MainWindow::slotPaneletClose(DeviceManager::Mode) { }
void MainWindow::slotImageReadFile(const ImageFile *, DeviceManager::Mode) { }
void MainWindow::slotImageReadVideo(const QPixmap &, DeviceManager::Mode) { }
void MainWindow::slotDisksFresh(const QStringList &) { }
void MainWindow::slotUpdateFiles(QList<QUrlInfo *>, DeviceManager::Mode) { }
void MainWindow::slotPullImage(QObject *, DeviceManager::Mode) { }
void MainWindow::slotShowFinished() { }
void MainWindow::slotUpdateExtendParam(const VideoExtendParam &) { }
void MainWindow::slotLivescopeUpdateOptionParam(const OptionParam &) { }
void MainWindow::closeEvent(QCloseEvent *event) { QMainWindow::closeEvent(event); }
