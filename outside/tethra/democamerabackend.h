#ifndef DEMOCAMERABACKEND_H
#define DEMOCAMERABACKEND_H

#include "devicebackend.h"
#include "thermalscene.h"

#include <QElapsedTimer>
#include <QTimer>

/**
 * The demo instrument's camera: a synthetic thermal scene with a moving hot spot, sent as
 * live frames with matching extended parameters. It hangs on the USB cable, so it offers USB
 * video only; Tethra asks it for that when video is wanted on either link.
 */
class TETHRA_EXPORT DemoCameraBackend : public DeviceBackend
{
    Q_OBJECT
public:
    static constexpr double MinFrameRate = 9.0;
    static constexpr double MaxFrameRate = 25.0;
    static constexpr double DefaultFrameRate = 15.0;

    explicit DemoCameraBackend(QObject *parent = nullptr);
    ~DemoCameraBackend() override;

    int modes() const override { return DeviceManager::UsbVideo; }
    int open(int modeMask) override;
    void close(DeviceManager::Mode mode) override;
    bool isOpen(DeviceManager::Mode mode) const override;

    /** Frames per second, kept within 9 to 25. */
    void setFrameRate(double framesPerSecond);
    double frameRate() const { return m_frameRate; }

private:
    void sendFrame();

    ThermalScene m_scene;
    QTimer m_frameTimer;
    QElapsedTimer m_clock;
    double m_frameRate = DefaultFrameRate;
    int m_openModes = 0;
};

#endif // DEMOCAMERABACKEND_H
