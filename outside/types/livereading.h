#ifndef LIVEREADING_H
#define LIVEREADING_H

#include "thermogram.h"
#include "videoextendparam.h"

#include <QMetaType>

/** What the instrument measured in one live frame: its readings and, when it has one, the plane. */
struct LiveReading
{
    VideoExtendParam param;
    Thermogram thermogram; ///< not valid when the camera sends no plane
};

Q_DECLARE_METATYPE(LiveReading)

#endif // LIVEREADING_H
