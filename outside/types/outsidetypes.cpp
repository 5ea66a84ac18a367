#include "outsidetypes.h"

#include "devicemanager.h"
#include "imagefile.h"
#include "livereading.h"
#include "optionparam.h"
#include "qurlinfo.h"
#include "videoextendparam.h"

void registerOutsideMetaTypes()
{
    qRegisterMetaType<DeviceManager::Mode>("DeviceManager::Mode");
    qRegisterMetaType<OptionParam>("OptionParam");
    qRegisterMetaType<VideoExtendParam>("VideoExtendParam");
    qRegisterMetaType<LiveReading>("LiveReading");
    qRegisterMetaType<const ImageFile *>("const ImageFile*");
    qRegisterMetaType<QUrlInfo *>("QUrlInfo*");
    qRegisterMetaType<QList<QUrlInfo *>>("QList<QUrlInfo*>");
}
