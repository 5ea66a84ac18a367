#include "democamerabackend.h"

#include "videoextendparam.h"

#include <QPixmap>

#include <algorithm>
#include <cmath>

DemoCameraBackend::DemoCameraBackend(QObject *parent)
    : DeviceBackend(parent)
    , m_scene(7)
{
    m_frameTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_frameTimer, &QTimer::timeout, this, &DemoCameraBackend::sendFrame);
    setFrameRate(DefaultFrameRate);
}

DemoCameraBackend::~DemoCameraBackend() = default;

void DemoCameraBackend::setFrameRate(double framesPerSecond)
{
    if (!std::isfinite(framesPerSecond))
        framesPerSecond = DefaultFrameRate;
    m_frameRate = std::clamp(framesPerSecond, MinFrameRate, MaxFrameRate);
    m_frameTimer.setInterval(int(std::lround(1000.0 / m_frameRate)));
}

int DemoCameraBackend::open(int modeMask)
{
    const int wanted = modeMask & modes();
    if (wanted & DeviceManager::UsbVideo) {
        m_openModes |= DeviceManager::UsbVideo;
        emit opened(DeviceManager::UsbVideo);
    }
    if (m_openModes && !m_frameTimer.isActive()) {
        if (!m_clock.isValid())
            m_clock.start();
        m_frameTimer.start();
    }
    return m_openModes & wanted;
}

void DemoCameraBackend::close(DeviceManager::Mode mode)
{
    if (!(m_openModes & mode))
        return;
    m_openModes &= ~int(mode);
    if (!m_openModes)
        m_frameTimer.stop();
    emit closed(mode);
}

bool DemoCameraBackend::isOpen(DeviceManager::Mode mode) const
{
    return (m_openModes & mode) != 0;
}

void DemoCameraBackend::sendFrame()
{
    ThermalScene::Readings readings;
    const QPixmap frame = QPixmap::fromImage(m_scene.render(m_clock.elapsed() / 1000.0, &readings));
    if (m_openModes & DeviceManager::UsbVideo)
        emit imageReadVideo(frame, DeviceManager::UsbVideo);
    // The instrument reports tenths of a degree.
    const auto tenths = [](double value) { return std::round(value * 10.0) / 10.0; };
    VideoExtendParam param;
    param.minTemperature = tenths(readings.minimum);
    param.maxTemperature = tenths(readings.maximum);
    param.centreTemperature = tenths(readings.centre);
    param.frameRate = m_frameRate;
    emit updateExtendParam(param);
}
