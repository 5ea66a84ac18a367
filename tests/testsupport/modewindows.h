#ifndef MODEWINDOWS_H
#define MODEWINDOWS_H

#include "devicemanager.h"

class MainWindow;
class Panelet;

/** The sub-window of a mode in the main window's MDI area, or null when it has none. */
Panelet *modeWindow(const MainWindow *window, DeviceManager::Mode mode);

#endif // MODEWINDOWS_H
