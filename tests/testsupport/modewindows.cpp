#include "modewindows.h"

#include "mainwindow.h"
#include "panelet.h"

#include <QMdiArea>
#include <QMdiSubWindow>

Panelet *modeWindow(const MainWindow *window, DeviceManager::Mode mode)
{
    const auto *area = window->findChild<QMdiArea *>();
    if (!area)
        return nullptr;
    const QList<QMdiSubWindow *> windows = area->subWindowList();
    for (QMdiSubWindow *subWindow : windows) {
        auto *panelet = qobject_cast<Panelet *>(subWindow);
        if (panelet && panelet->mode() == mode)
            return panelet;
    }
    return nullptr;
}
