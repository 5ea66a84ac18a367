#ifndef VIDEOEXTENDPARAM_H
#define VIDEOEXTENDPARAM_H

#include <QMetaType>

/** Readings that travel with the live video: the frame's temperatures and the frame rate. */
struct VideoExtendParam
{
    double minTemperature = 0.0; ///< degrees Celsius
    double maxTemperature = 0.0;
    double centreTemperature = 0.0;
    double frameRate = 0.0; ///< frames per second

    bool operator==(const VideoExtendParam &other) const
    {
        return minTemperature == other.minTemperature && maxTemperature == other.maxTemperature
            && centreTemperature == other.centreTemperature && frameRate == other.frameRate;
    }
};

Q_DECLARE_METATYPE(VideoExtendParam)

#endif // VIDEOEXTENDPARAM_H
