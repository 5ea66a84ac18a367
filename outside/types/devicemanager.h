#ifndef DEVICEMANAGER_H
#define DEVICEMANAGER_H

#include <QMetaType>

namespace DeviceManager {

/**
 * The access modes of the instrument, one bit each. Code tests them by mask:
 * 3 either Wi-Fi mode, 12 either USB mode, 5 either file mode, 10 either video mode.
 */
// A fixed underlying type: a mode value with no known bit (which a device may report) is then
// a valid Mode and the mask tests handle it, instead of undefined behaviour.
enum Mode : int {
    WifiFile = 1,
    WifiVideo = 2,
    UsbFile = 4,
    UsbVideo = 8
};

enum ModeMask {
    WifiMask = WifiFile | WifiVideo,
    UsbMask = UsbFile | UsbVideo,
    FileMask = WifiFile | UsbFile,
    VideoMask = WifiVideo | UsbVideo,
    AllModes = WifiFile | WifiVideo | UsbFile | UsbVideo
};

} // namespace DeviceManager

Q_DECLARE_METATYPE(DeviceManager::Mode)

#endif // DEVICEMANAGER_H
