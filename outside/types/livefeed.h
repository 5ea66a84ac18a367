#ifndef LIVEFEED_H
#define LIVEFEED_H

#include "outsidetypes_global.h"

#include "devicemanager.h"
#include "livereading.h"

#include <QObject>

/**
 * The live readings of every video mode, as the device layer takes them, one per frame.
 *
 * Tethra publishes here; each live window listens for its own mode, so that it measures,
 * alarms and logs whichever window is in front, behind a dialog or with the program in the
 * background. The main window's hand-over of readings to the active live window goes on
 * beside it, unchanged. One feed per process, on the GUI thread.
 */
class OUTSIDETYPES_EXPORT LiveFeed : public QObject
{
    Q_OBJECT
public:
    static LiveFeed *instance();

    void publish(DeviceManager::Mode mode, const LiveReading &reading);

signals:
    void readingTaken(DeviceManager::Mode mode, const LiveReading &reading);

private:
    LiveFeed() = default;
};

#endif // LIVEFEED_H
