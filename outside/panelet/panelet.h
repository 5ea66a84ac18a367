#ifndef PANELET_H
#define PANELET_H

#include "panelet_global.h"

#include "devicemanager.h"

#include <QMdiSubWindow>

class QAction;
class QMenu;
class QTabWidget;
class QToolButton;
class PicturePage;
struct ImageFile;

/**
 * The common base of Calorix's MDI sub-windows: one access mode, a tab widget as the window's
 * widget and, on that tab widget, a page that shows the picture given to setFile().
 *
 * The constructor does not build anything; derived classes call initAction(), initWidget()
 * and initConnection() themselves, so that their overrides are the ones that run.
 *
 * The windows are frameless inside the main window, so the tab widget carries a close
 * button in its corner (and a "Close" entry in the tab bar's context menu); both emit
 * subClose() with the window's mode and leave the closing to the receiver. Beside it, a button
 * with a menu of the MDI area's sub-windows brings any of them to the front.
 */
class PANELET_EXPORT Panelet : public QMdiSubWindow
{
    Q_OBJECT
public:
    Panelet(DeviceManager::Mode mode, const QString &language, QWidget *parent = nullptr,
            Qt::WindowFlags flags = Qt::WindowFlags());
    ~Panelet() override;

    /** Makes the tab widget with the picture page at index 0 and the close button. */
    virtual void initWidget();
    virtual void initConnection();
    /** Makes the close action. */
    virtual void initAction();
    /** Shows the picture on the picture page; null clears it. The file is not owned. */
    virtual void setFile(ImageFile *file);

    DeviceManager::Mode mode() const { return m_mode; }
    QString language() const { return m_language; }
    /** The tab widget, once initWidget() has run; null before. */
    QTabWidget *tabWidget() const { return m_tabWidget; }
    /** Panelet's own picture page, once initWidget() has run. */
    PicturePage *picturePage() const { return m_picturePage; }
    /** The close button in the tab widget's corner, once initWidget() has run. */
    QToolButton *closeButton() const { return m_closeButton; }
    /** The button with the menu of the open sub-windows, once initWidget() has run. */
    QToolButton *windowsButton() const { return m_windowsButton; }
    QAction *closeAction() const { return m_closeAction; }

signals:
    /** Asks for the picture of a file; info is an opaque pointer to the file's record. */
    void pullImage(QObject *info, DeviceManager::Mode mode);
    /** Asks that this window's mode be closed. */
    void subClose(DeviceManager::Mode mode);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    DeviceManager::Mode m_mode;
    QString m_language;
    QTabWidget *m_tabWidget = nullptr;
    PicturePage *m_picturePage = nullptr;

private:
    /** One entry per sub-window of the MDI area, this one checked. */
    void fillWindowsMenu(QMenu *menu);

    QToolButton *m_windowsButton = nullptr;
    QToolButton *m_closeButton = nullptr;
    QAction *m_closeAction = nullptr;
};

#endif // PANELET_H
