#ifndef LIVESCOPE_H
#define LIVESCOPE_H

#include "livescope_global.h"

#include "historylog.h"
#include "optionparam.h"
#include "panelet.h"
#include "pictureanalysis.h"
#include "thermogram.h"
#include "videoextendparam.h"

#include <QElapsedTimer>
#include <QPixmap>

class LiveCanvas;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QStackedLayout;
struct LiveReading;

/**
 * The live-video sub-window of a video mode. Its "&Live" tab shows the frames scaled to fit,
 * the readings of the latest extended parameters, and the three switches of the options:
 *
 * - Alarm: a red banner while the maximum is above the user's upper bound or, when the user
 *   set one, the minimum is below the lower bound; the banner names the bound crossed, and the
 *   "Alarms" tab lists the last alarms with their times. The bounds are kept in QSettings.
 * - Alarm sound: a beep when the alarm starts, repeated while it lasts.
 * - Log: readings (at most one a second) and frames (one every ten seconds, and one when the
 *   alarm starts) saved under the options' history folder, which is created when needed.
 *   When writing fails, the window says so in one line and the log pauses; it resumes by
 *   itself as soon as writing works again.
 *
 * Readings come from the LiveFeed for the window's mode, whichever window is in front, and
 * from setVideoExtendParam. A reading that carries the frame's temperature plane is drawn by
 * the engine's painter as the picture page draws a picture: through the palette and range the
 * user chose, hottest, coldest and centre marked with their values, the labelled colour scale.
 *
 * A user's change of a switch emits updateOptionParam; setOptionsParam moves the switches
 * without emitting. When no frame has come for the no-signal interval, the picture says
 * "No signal" and the readings and alarm are dropped, until frames come back. Readings that
 * stop coming while frames go on are dropped after the same interval, so that neither
 * numbers nor alarm go stale.
 */
class LIVESCOPE_EXPORT Livescope : public Panelet
{
    Q_OBJECT
public:
    static constexpr double DefaultAlarmThreshold = 60.0;
    static constexpr int DefaultNoSignalInterval = 2000;
    static constexpr int AlarmBeepInterval = 3000;
    static constexpr int LogFrameInterval = 10000;
    static constexpr int AlarmListSize = 20;

    Livescope(DeviceManager::Mode mode, const QString &language, QWidget *parent = nullptr,
              Qt::WindowFlags flags = Qt::WindowFlags());
    ~Livescope() override;

    void initWidget() override;
    void initConnection() override;
    void initAction() override;
    /** One live frame. */
    virtual void setPixmap(const QPixmap &pixmap);

    void setOptionsParam(const OptionParam &param);
    OptionParam optionsParam() const { return m_optionParam; }
    void setVideoExtendParam(const VideoExtendParam &param);
    VideoExtendParam videoExtendParam() const { return m_extendParam; }

    /** Degrees Celsius above which the maximum raises the alarm. */
    void setAlarmThreshold(double celsius);
    double alarmThreshold() const { return m_alarmThreshold; }
    /** Degrees Celsius below which the minimum raises the alarm, when enabled. */
    void setAlarmBelow(bool enabled, double celsius);
    bool isAlarmBelowEnabled() const { return m_alarmBelowEnabled; }
    double alarmBelow() const { return m_alarmBelow; }
    /** Milliseconds without a frame after which the picture says "No signal". */
    void setNoSignalInterval(int milliseconds) { m_noSignalInterval = milliseconds; }
    int noSignalInterval() const { return m_noSignalInterval; }

    bool hasSignal() const { return m_hasSignal; }
    bool isAlarmActive() const { return m_alarmActive; }
    /** How often the alarm has beeped in this window. */
    int alarmBeeps() const { return m_alarmBeeps; }
    /** The last frame received, unscaled. */
    QPixmap frame() const { return m_frame; }
    /** The temperature plane of the latest reading; not valid without one. */
    const Thermogram &thermogram() const { return m_thermogram; }
    /** The palette and range the live picture is drawn with; kept in QSettings. */
    void setPictureChoice(ThermalPalette::Kind palette, const ColourRange &range);
    const PictureAnalysis &pictureChoice() const { return m_analysis; }
    /** True while the log is on but writing fails. */
    bool isLogPaused() const { return m_logPaused; }

signals:
    /** The user changed a switch; carries the whole record. */
    void updateOptionParam(const OptionParam &param);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    void switchClicked();
    void takeLiveReading(const LiveReading &reading);
    void takeReadings(const VideoExtendParam &param);
    void showFrame();
    void showReadings();
    void dropReadings();
    enum Bound { AboveBound = 1, BelowBound = 2 };
    /** The bounds the readings cross now, while the alarm is on; 0 for none. */
    int crossedBounds() const;
    QString crossedText(int crossed) const;
    void updateAlarm();
    void addToAlarmList(const QString &crossed);
    void beep();
    void logReading();
    void logFrame(const QString &suffix);
    void logWritten(bool ok);
    void pictureChoiceChanged();
    void loadPictureChoice();
    void loadAlarmBounds();
    void saveAlarmBounds();

    OptionParam m_optionParam;
    VideoExtendParam m_extendParam;
    bool m_hasReadings = false;
    bool m_hasSignal = false;
    bool m_alarmActive = false;
    int m_alarmBeeps = 0;
    double m_alarmThreshold = DefaultAlarmThreshold;
    bool m_alarmBelowEnabled = false;
    double m_alarmBelow = 0.0;
    int m_alarmCrossed = 0;
    bool m_logPaused = false;
    Thermogram m_thermogram;
    PictureAnalysis m_analysis;
    int m_noSignalInterval = DefaultNoSignalInterval;
    int m_watchdogTimer = 0;
    QPixmap m_frame;
    QElapsedTimer m_sinceFrame;
    QElapsedTimer m_sinceReadings;
    QElapsedTimer m_sinceBeep;
    QElapsedTimer m_sinceReadingLogged;
    QElapsedTimer m_sinceFrameLogged;
    HistoryLog m_history;

    QStackedLayout *m_pictureStack = nullptr;
    QLabel *m_frameLabel = nullptr;
    LiveCanvas *m_canvas = nullptr;
    QLabel *m_alarmLabel = nullptr;
    QLabel *m_readingsLabel = nullptr;
    QLabel *m_logLabel = nullptr;
    QCheckBox *m_alarmCheck = nullptr;
    QCheckBox *m_alarmSoundCheck = nullptr;
    QCheckBox *m_logCheck = nullptr;
    QDoubleSpinBox *m_aboveSpin = nullptr;
    QCheckBox *m_belowCheck = nullptr;
    QDoubleSpinBox *m_belowSpin = nullptr;
    QListWidget *m_alarmList = nullptr;
    QComboBox *m_paletteCombo = nullptr;
    QCheckBox *m_autoRangeCheck = nullptr;
    QDoubleSpinBox *m_rangeLowSpin = nullptr;
    QDoubleSpinBox *m_rangeHighSpin = nullptr;
};

#endif // LIVESCOPE_H
