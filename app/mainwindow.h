#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "devicemanager.h"
#include "optionparam.h"

#include <QList>
#include <QMainWindow>

class Panelet;
class QAction;
class QLabel;
class QMdiArea;
class QSplitter;
class QStatusBar;
class QUrlInfo;
class Tethra;
struct ImageFile;
struct ModeEntry;
struct VideoExtendParam;

/**
 * Calorix's only top-level window: a File menu, a status bar and an MDI area in which every
 * open access mode of the instrument gets one sub-window. It owns the device access (Tethra),
 * routes what Tethra delivers to the sub-windows and keeps the options.
 */
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    /** The device access, for the program's own tests and tools. */
    Tethra *tethra() const { return m_tethra; }
    OptionParam optionParam() const { return m_optionParam; }

public slots:
    void slotActionTriggered(bool checked);
    void sltTethraOpened(DeviceManager::Mode m);
    void sltTethraClosed(DeviceManager::Mode m);
    void slotPaneletClose(DeviceManager::Mode m);
    void slotImageReadFile(const ImageFile *file, DeviceManager::Mode m);
    void slotImageReadVideo(const QPixmap &pixmap, DeviceManager::Mode mode);
    void slotDisksFresh(const QStringList &disks);
    void slotUpdateFiles(QList<QUrlInfo *> files, DeviceManager::Mode mode);
    void slotPullImage(QObject *info, DeviceManager::Mode mode);
    void slotShowFinished();
    void slotUpdateExtendParam(const VideoExtendParam &param);
    void slotLivescopeUpdateOptionParam(const OptionParam &param);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void initTethraAndModes();
    void initAction();
    void initWidget();
    void initConnection();

    void tryOpenDevice(int modeMask);
    void showOptionDialog();
    Panelet *windowForMode(DeviceManager::Mode mode, ModeEntry *&entry) const;
    Panelet *createModeWindow(DeviceManager::Mode mode);
    void closeModeWindow(ModeEntry *entry);

    void loadOptions();
    void loadGeometryState();
    void saveOptions();

    Tethra *m_tethra = nullptr;
    QList<ModeEntry *> m_modeEntries;
    QStatusBar *m_statusBar = nullptr;
    QLabel *m_statusLabel = nullptr;
    QSplitter *m_splitter = nullptr;
    QMdiArea *m_mdiArea = nullptr;
    QAction *m_actConnect = nullptr;
    QAction *m_actDisconnect = nullptr;
    QAction *m_actOption = nullptr;
    QAction *m_actClose = nullptr;
    OptionParam m_optionParam;
};

#endif // MAINWINDOW_H
