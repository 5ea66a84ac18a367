#ifndef PANELET_H
#define PANELET_H

#include "panelet_global.h"

#include "devicemanager.h"

#include <QMdiSubWindow>

class QTabWidget;
class PicturePage;
struct ImageFile;

/**
 * The common base of Calorix's MDI sub-windows: one access mode, a tab widget as the window's
 * widget and, on that tab widget, a page that shows the picture given to setFile().
 *
 * The constructor does not build anything; derived classes call initAction(), initWidget()
 * and initConnection() themselves, so that their overrides are the ones that run.
 */
class PANELET_EXPORT Panelet : public QMdiSubWindow
{
    Q_OBJECT
public:
    Panelet(DeviceManager::Mode mode, const QString &language, QWidget *parent = nullptr,
            Qt::WindowFlags flags = Qt::WindowFlags());
    ~Panelet() override;

    virtual void initWidget();
    virtual void initConnection();
    virtual void initAction();
    /** Shows the picture on the picture page; null clears it. The file is not owned. */
    virtual void setFile(ImageFile *file);

    DeviceManager::Mode mode() const { return m_mode; }
    QString language() const { return m_language; }
    /** The tab widget, once initWidget() has run; null before. */
    QTabWidget *tabWidget() const { return m_tabWidget; }
    /** Panelet's own picture page, once initWidget() has run. */
    PicturePage *picturePage() const { return m_picturePage; }

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
};

#endif // PANELET_H
