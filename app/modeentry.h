#ifndef MODEENTRY_H
#define MODEENTRY_H

#include "devicemanager.h"

#include <QPointer>
#include <QString>

class Panelet;

/**
 * The main window's record of one access mode. The sub-window is held by a guarded pointer:
 * a window that goes by any path other than the main window's own closing code leaves the
 * entry empty instead of dangling.
 */
struct ModeEntry
{
    DeviceManager::Mode mode;
    QString link; ///< untranslated: "Wi-Fi" or "USB"
    QString kind; ///< untranslated: "File" or "Video"
    QPointer<Panelet> panelet;
};

#endif // MODEENTRY_H
