#include "democamerabackend.h"

#include "democard.h"
#include "livereading.h"

#include <QDateTime>
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
    const QVector<float> field = m_scene.temperatures(m_clock.elapsed() / 1000.0);
    ThermalScene::Readings readings;
    const QPixmap frame = QPixmap::fromImage(ThermalScene::render(field, &readings));
    if (m_openModes & DeviceManager::UsbVideo)
        emit imageReadVideo(frame, DeviceManager::UsbVideo);
    // The instrument reports tenths of a degree.
    const auto tenths = [](double value) { return std::round(value * 10.0) / 10.0; };
    LiveReading reading;
    reading.param.minTemperature = tenths(readings.minimum);
    reading.param.maxTemperature = tenths(readings.maximum);
    reading.param.centreTemperature = tenths(readings.centre);
    reading.param.frameRate = m_frameRate;
    if (m_openModes & DeviceManager::UsbVideo) {
        reading.thermogram = DemoCard::measurement(field, QDateTime::currentDateTimeUtc());
        emit liveReading(DeviceManager::UsbVideo, reading);
    }
    emit updateExtendParam(reading.param);
}
