#include "livescope.h"

#include "livecanvas.h"
#include "livefeed.h"
#include "picturepage.h"
#include "temperatureplane.h"
#include "thermogramcanvas.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSettings>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QTabWidget>
#include <QTimerEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int WatchdogPeriod = 100;

QString linkName(DeviceManager::Mode mode)
{
    return (mode & DeviceManager::WifiMask) ? QStringLiteral("WiFi") : QStringLiteral("USB");
}

/** The program's own settings, beside options.xml in the user's configuration folder. */
QSettings programSettings()
{
    return QSettings(QStringLiteral("calorix"), QStringLiteral("calorix"));
}

QDoubleSpinBox *boundSpinBox(const QString &name, QWidget *parent)
{
    auto *spin = new QDoubleSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(-100.0, 1000.0);
    spin->setDecimals(1);
    spin->setSuffix(QStringLiteral(" °C"));
    spin->setKeyboardTracking(false);
    return spin;
}

} // namespace

Livescope::Livescope(DeviceManager::Mode mode, const QString &language, QWidget *parent,
                     Qt::WindowFlags flags)
    : Panelet(mode, language, parent, flags)
    , m_history(linkName(mode))
{
    initAction();
    initWidget();
    initConnection();
    loadAlarmBounds();
    loadPictureChoice();
    m_sinceFrame.start();
    m_watchdogTimer = startTimer(WatchdogPeriod);
}

Livescope::~Livescope()
{
    // The label outlives this part of the object while the children are deleted.
    if (m_frameLabel)
        m_frameLabel->removeEventFilter(this);
}

void Livescope::initWidget()
{
    Panelet::initWidget();

    auto *page = new QWidget(m_tabWidget);
    m_frameLabel = new QLabel(page);
    m_frameLabel->setObjectName(QStringLiteral("frameLabel"));
    m_frameLabel->setAlignment(Qt::AlignCenter);
    m_frameLabel->setMinimumSize(1, 1);
    m_frameLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_frameLabel->setStyleSheet(
        QStringLiteral("QLabel { background: black; color: #d0d0d0; font-size: 24pt; }"));
    m_frameLabel->installEventFilter(this);
    m_canvas = new LiveCanvas(page);
    m_canvas->setObjectName(QStringLiteral("liveCanvas"));
    m_pictureStack = new QStackedLayout;
    m_pictureStack->addWidget(m_frameLabel);
    m_pictureStack->addWidget(m_canvas);

    m_alarmLabel = new QLabel(page);
    m_alarmLabel->setObjectName(QStringLiteral("alarmLabel"));
    m_alarmLabel->setAlignment(Qt::AlignCenter);
    m_alarmLabel->setStyleSheet(QStringLiteral(
        "QLabel { background: #c00000; color: white; font-weight: bold; padding: 4px; }"));
    m_alarmLabel->setText(QStringLiteral(" "));
    // The banner's room stays when it goes, so the picture keeps its size.
    QSizePolicy bannerPolicy = m_alarmLabel->sizePolicy();
    bannerPolicy.setRetainSizeWhenHidden(true);
    m_alarmLabel->setSizePolicy(bannerPolicy);
    m_alarmLabel->hide();

    m_readingsLabel = new QLabel(page);
    m_readingsLabel->setObjectName(QStringLiteral("readingsLabel"));
    m_logLabel = new QLabel(page);
    m_logLabel->setObjectName(QStringLiteral("logLabel"));
    m_logLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_alarmCheck = new QCheckBox(tr("Alarm"), page);
    m_alarmCheck->setObjectName(QStringLiteral("alarmCheckBox"));
    m_alarmSoundCheck = new QCheckBox(tr("Alarm sound"), page);
    m_alarmSoundCheck->setObjectName(QStringLiteral("alarmSoundCheckBox"));
    m_logCheck = new QCheckBox(tr("Log"), page);
    m_logCheck->setObjectName(QStringLiteral("logCheckBox"));
    auto *aboveLabel = new QLabel(tr("Above"), page);
    m_aboveSpin = boundSpinBox(QStringLiteral("alarmAboveSpinBox"), page);
    aboveLabel->setBuddy(m_aboveSpin);
    m_belowCheck = new QCheckBox(tr("Below"), page);
    m_belowCheck->setObjectName(QStringLiteral("alarmBelowCheckBox"));
    m_belowSpin = boundSpinBox(QStringLiteral("alarmBelowSpinBox"), page);

    m_paletteCombo = new QComboBox(page);
    m_paletteCombo->setObjectName(QStringLiteral("paletteComboBox"));
    for (ThermalPalette::Kind kind : ThermalPalette::kinds())
        m_paletteCombo->addItem(ThermalPalette::displayName(kind), ThermalPalette::name(kind));
    auto *paletteLabel = new QLabel(tr("Palette"), page);
    paletteLabel->setBuddy(m_paletteCombo);
    m_autoRangeCheck = new QCheckBox(tr("Automatic range"), page);
    m_autoRangeCheck->setObjectName(QStringLiteral("autoRangeCheckBox"));
    m_rangeLowSpin = boundSpinBox(QStringLiteral("rangeLowSpinBox"), page);
    m_rangeHighSpin = boundSpinBox(QStringLiteral("rangeHighSpinBox"), page);

    auto *pictureRow = new QHBoxLayout;
    pictureRow->addWidget(paletteLabel);
    pictureRow->addWidget(m_paletteCombo);
    pictureRow->addSpacing(12);
    pictureRow->addWidget(m_autoRangeCheck);
    pictureRow->addWidget(m_rangeLowSpin);
    pictureRow->addWidget(new QLabel(QStringLiteral("–"), page));
    pictureRow->addWidget(m_rangeHighSpin);
    pictureRow->addStretch(1);
    auto *readingsRow = new QHBoxLayout;
    readingsRow->addWidget(m_readingsLabel, 1);
    readingsRow->addWidget(m_logLabel);
    auto *switchesRow = new QHBoxLayout;
    switchesRow->addWidget(m_alarmCheck);
    switchesRow->addWidget(aboveLabel);
    switchesRow->addWidget(m_aboveSpin);
    switchesRow->addWidget(m_belowCheck);
    switchesRow->addWidget(m_belowSpin);
    switchesRow->addSpacing(12);
    switchesRow->addWidget(m_alarmSoundCheck);
    switchesRow->addWidget(m_logCheck);
    switchesRow->addStretch(1);

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(m_pictureStack, 1);
    layout->addWidget(m_alarmLabel);
    layout->addLayout(readingsRow);
    layout->addLayout(switchesRow);
    layout->addLayout(pictureRow);

    m_alarmList = new QListWidget(m_tabWidget);
    m_alarmList->setObjectName(QStringLiteral("alarmList"));

    m_picturePage->canvas()->setPlaceholderText(
        tr("Pictures are opened in the file browser: double-click one there."));
    m_tabWidget->insertTab(0, page, tr("&Live"));
    m_tabWidget->addTab(m_alarmList, tr("Alarms")); // after the picture page, kept at index 1
    m_tabWidget->setCurrentIndex(0);
    showReadings();
}

void Livescope::initConnection()
{
    Panelet::initConnection();
    // clicked, not toggled: only the user's changes are reported.
    for (QCheckBox *box : { m_alarmCheck, m_alarmSoundCheck, m_logCheck })
        connect(box, &QCheckBox::clicked, this, &Livescope::switchClicked);
    connect(m_aboveSpin, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            [this](double value) {
                m_alarmThreshold = value;
                saveAlarmBounds();
                updateAlarm();
            });
    connect(m_belowCheck, &QCheckBox::clicked, this, [this](bool on) {
        m_alarmBelowEnabled = on;
        m_belowSpin->setEnabled(on);
        saveAlarmBounds();
        updateAlarm();
    });
    connect(m_belowSpin, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            [this](double value) {
                m_alarmBelow = value;
                saveAlarmBounds();
                updateAlarm();
            });
    connect(m_paletteCombo, qOverload<int>(&QComboBox::activated), this,
            &Livescope::pictureChoiceChanged);
    connect(m_autoRangeCheck, &QCheckBox::clicked, this, &Livescope::pictureChoiceChanged);
    for (QDoubleSpinBox *spin : { m_rangeLowSpin, m_rangeHighSpin })
        connect(spin, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
                &Livescope::pictureChoiceChanged);
    // The window's own feed: readings arrive whichever window is in front.
    connect(LiveFeed::instance(), &LiveFeed::readingTaken, this,
            [this](DeviceManager::Mode mode, const LiveReading &reading) {
                if (mode == m_mode)
                    takeLiveReading(reading);
            });
}

void Livescope::initAction()
{
    Panelet::initAction();
}

void Livescope::setAlarmThreshold(double celsius)
{
    m_alarmThreshold = celsius;
    const QSignalBlocker blocker(m_aboveSpin);
    m_aboveSpin->setValue(celsius);
    updateAlarm();
}

void Livescope::setAlarmBelow(bool enabled, double celsius)
{
    m_alarmBelowEnabled = enabled;
    m_alarmBelow = celsius;
    const QSignalBlocker blocker(m_belowSpin);
    m_belowCheck->setChecked(enabled);
    m_belowSpin->setEnabled(enabled);
    m_belowSpin->setValue(celsius);
    updateAlarm();
}

void Livescope::loadAlarmBounds()
{
    QSettings settings = programSettings();
    settings.beginGroup(QStringLiteral("LiveAlarm"));
    bool ok = false;
    const double above = settings.value(QStringLiteral("above")).toDouble(&ok);
    setAlarmThreshold(ok ? above : DefaultAlarmThreshold);
    const double below = settings.value(QStringLiteral("below")).toDouble(&ok);
    setAlarmBelow(settings.value(QStringLiteral("belowEnabled")).toBool(), ok ? below : 0.0);
}

void Livescope::saveAlarmBounds()
{
    QSettings settings = programSettings();
    settings.beginGroup(QStringLiteral("LiveAlarm"));
    settings.setValue(QStringLiteral("above"), m_alarmThreshold);
    settings.setValue(QStringLiteral("belowEnabled"), m_alarmBelowEnabled);
    settings.setValue(QStringLiteral("below"), m_alarmBelow);
}

void Livescope::setPictureChoice(ThermalPalette::Kind palette, const ColourRange &range)
{
    m_analysis.palette = palette;
    m_analysis.range = range;
    const QSignalBlocker paletteBlocker(m_paletteCombo);
    const QSignalBlocker lowBlocker(m_rangeLowSpin);
    const QSignalBlocker highBlocker(m_rangeHighSpin);
    m_paletteCombo->setCurrentIndex(m_paletteCombo->findData(ThermalPalette::name(palette)));
    m_autoRangeCheck->setChecked(range.automatic);
    m_rangeLowSpin->setEnabled(!range.automatic);
    m_rangeHighSpin->setEnabled(!range.automatic);
    if (!range.automatic) {
        m_rangeLowSpin->setValue(range.low);
        m_rangeHighSpin->setValue(range.high);
    }
    m_canvas->setAnalysis(m_analysis);
}

void Livescope::pictureChoiceChanged()
{
    const auto palette = ThermalPalette::fromName(m_paletteCombo->currentData().toString());
    ColourRange range;
    if (!m_autoRangeCheck->isChecked()) {
        // A manual range starts from the one shown; the bounds keep one apart at least.
        const TemperaturePlane &plane = m_canvas->painter().plane();
        if (m_analysis.range.automatic && plane.isValid()) {
            const QSignalBlocker lowBlocker(m_rangeLowSpin);
            const QSignalBlocker highBlocker(m_rangeHighSpin);
            m_rangeLowSpin->setValue(plane.minimum());
            m_rangeHighSpin->setValue(plane.maximum());
        }
        const double low = m_rangeLowSpin->value();
        range = ColourRange::manual(low, std::max(m_rangeHighSpin->value(), low + 0.1));
    }
    setPictureChoice(palette.value_or(ThermalPalette::Iron), range);
    QSettings settings = programSettings();
    settings.beginGroup(QStringLiteral("LivePicture"));
    settings.setValue(QStringLiteral("palette"), ThermalPalette::name(m_analysis.palette));
    settings.setValue(QStringLiteral("automaticRange"), range.automatic);
    settings.setValue(QStringLiteral("rangeLow"), range.low);
    settings.setValue(QStringLiteral("rangeHigh"), range.high);
}

void Livescope::loadPictureChoice()
{
    QSettings settings = programSettings();
    settings.beginGroup(QStringLiteral("LivePicture"));
    const auto palette
        = ThermalPalette::fromName(settings.value(QStringLiteral("palette")).toString());
    bool lowOk = false;
    bool highOk = false;
    const double low = settings.value(QStringLiteral("rangeLow")).toDouble(&lowOk);
    const double high = settings.value(QStringLiteral("rangeHigh")).toDouble(&highOk);
    const bool automatic = settings.value(QStringLiteral("automaticRange"), true).toBool() || !lowOk
        || !highOk || !(low < high);
    setPictureChoice(palette.value_or(ThermalPalette::Iron),
                     automatic ? ColourRange() : ColourRange::manual(low, high));
}

void Livescope::setPixmap(const QPixmap &pixmap)
{
    m_frame = pixmap;
    m_sinceFrame.restart();
    if (!m_hasSignal) {
        m_hasSignal = true;
        m_frameLabel->setText(QString());
    }
    // A measured frame is drawn from its plane, which its reading brings.
    if (!m_thermogram.isValid())
        showFrame();
}

void Livescope::setOptionsParam(const OptionParam &param)
{
    if (param.allowLogGeneration && !m_optionParam.allowLogGeneration) {
        m_sinceReadingLogged.invalidate(); // log from the next reading and frame on
        m_sinceFrameLogged.invalidate();
    }
    m_optionParam = param;
    m_alarmCheck->setChecked(param.allowAlarm);
    m_alarmSoundCheck->setChecked(param.allowAlarmSound);
    m_logCheck->setChecked(param.allowLogGeneration);
    m_history.setFolder(param.historyFilesPath);
    if (!param.allowLogGeneration) {
        m_logLabel->clear();
        m_logPaused = false;
    }
    updateAlarm();
}

void Livescope::setVideoExtendParam(const VideoExtendParam &param)
{
    takeReadings(param);
}

void Livescope::takeLiveReading(const LiveReading &reading)
{
    m_thermogram = reading.thermogram.isValid() ? reading.thermogram : Thermogram();
    takeReadings(reading.param);
    if (m_thermogram.isValid())
        showFrame();
}

void Livescope::takeReadings(const VideoExtendParam &param)
{
    m_extendParam = param;
    m_hasReadings = true;
    m_sinceReadings.start();
    showReadings();
    updateAlarm();
    if (!m_optionParam.allowLogGeneration)
        return;
    if (!m_sinceReadingLogged.isValid() || m_sinceReadingLogged.hasExpired(1000))
        logReading();
    if (!m_sinceFrameLogged.isValid() || m_sinceFrameLogged.hasExpired(LogFrameInterval))
        logFrame(QString());
}

void Livescope::switchClicked()
{
    m_optionParam.allowAlarm = m_alarmCheck->isChecked();
    m_optionParam.allowAlarmSound = m_alarmSoundCheck->isChecked();
    const bool logStarted = m_logCheck->isChecked() && !m_optionParam.allowLogGeneration;
    m_optionParam.allowLogGeneration = m_logCheck->isChecked();
    if (logStarted) {
        m_sinceReadingLogged.invalidate();
        m_sinceFrameLogged.invalidate();
    } else if (!m_optionParam.allowLogGeneration) {
        m_logLabel->clear();
        m_logPaused = false;
    }
    updateAlarm();
    emit updateOptionParam(m_optionParam);
}

void Livescope::showFrame()
{
    if (!m_hasSignal || m_frame.isNull())
        return;
    if (m_thermogram.isValid()) {
        m_canvas->setPlane(TemperaturePlane::fromThermogram(m_thermogram));
        m_pictureStack->setCurrentWidget(m_canvas);
        return;
    }
    m_pictureStack->setCurrentWidget(m_frameLabel);
    m_frameLabel->setPixmap(
        m_frame.scaled(m_frameLabel->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void Livescope::showReadings()
{
    if (!m_hasReadings) {
        m_readingsLabel->setText(tr("No readings"));
        return;
    }
    m_readingsLabel->setText(tr("Min %1 °C   Max %2 °C   Centre %3 °C   %4 fps")
                                 .arg(m_extendParam.minTemperature, 0, 'f', 1)
                                 .arg(m_extendParam.maxTemperature, 0, 'f', 1)
                                 .arg(m_extendParam.centreTemperature, 0, 'f', 1)
                                 .arg(m_extendParam.frameRate, 0, 'f', 0));
}

void Livescope::dropReadings()
{
    m_hasReadings = false;
    m_thermogram = Thermogram();
    m_canvas->setPlane(TemperaturePlane());
    m_pictureStack->setCurrentWidget(m_frameLabel);
    showFrame();
    showReadings();
    updateAlarm();
}

int Livescope::crossedBounds() const
{
    if (!m_optionParam.allowAlarm || !m_hasSignal || !m_hasReadings)
        return 0;
    int crossed = 0;
    if (m_extendParam.maxTemperature > m_alarmThreshold)
        crossed |= AboveBound;
    if (m_alarmBelowEnabled && m_extendParam.minTemperature < m_alarmBelow)
        crossed |= BelowBound;
    return crossed;
}

QString Livescope::crossedText(int crossed) const
{
    QStringList texts;
    if (crossed & AboveBound)
        texts << tr("maximum %1 °C is above %2 °C")
                     .arg(m_extendParam.maxTemperature, 0, 'f', 1)
                     .arg(m_alarmThreshold, 0, 'f', 1);
    if (crossed & BelowBound)
        texts << tr("minimum %1 °C is below %2 °C")
                     .arg(m_extendParam.minTemperature, 0, 'f', 1)
                     .arg(m_alarmBelow, 0, 'f', 1);
    return texts.join(QStringLiteral("; "));
}

void Livescope::updateAlarm()
{
    const int crossed = crossedBounds();
    const bool active = crossed != 0;
    if (active)
        m_alarmLabel->setText(tr("Alarm: %1").arg(crossedText(crossed)));
    // Another bound crossed during an alarm is an entry of the list of its own.
    if (active && crossed != m_alarmCrossed)
        addToAlarmList(crossedText(crossed));
    m_alarmCrossed = crossed;
    if (active == m_alarmActive)
        return;
    m_alarmActive = active;
    m_alarmLabel->setVisible(active);
    if (!active)
        return;
    if (m_optionParam.allowAlarmSound)
        beep();
    if (m_optionParam.allowLogGeneration)
        logFrame(QStringLiteral("alarm"));
}

void Livescope::addToAlarmList(const QString &crossed)
{
    const QString time
        = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    m_alarmList->insertItem(0, time + QStringLiteral("   ") + crossed);
    while (m_alarmList->count() > AlarmListSize)
        delete m_alarmList->takeItem(m_alarmList->count() - 1);
}

void Livescope::beep()
{
    QApplication::beep();
    ++m_alarmBeeps;
    m_sinceBeep.restart();
}

void Livescope::logReading()
{
    // Tried at most once a second, also while paused: the first line that is written again
    // resumes the log.
    m_sinceReadingLogged.restart();
    logWritten(m_history.appendReading(m_extendParam, QDateTime::currentDateTime()));
}

void Livescope::logFrame(const QString &suffix)
{
    if (m_frame.isNull())
        return;
    m_sinceFrameLogged.restart();
    logWritten(
        !m_history.saveFrame(m_frame.toImage(), m_thermogram, QDateTime::currentDateTime(), suffix)
             .isEmpty());
}

void Livescope::logWritten(bool ok)
{
    if (ok && m_logPaused)
        m_sinceFrameLogged.invalidate(); // a frame as soon as the log resumes
    m_logPaused = !ok;
    m_logLabel->setText(ok ? tr("Logging to %1").arg(QDir::toNativeSeparators(m_history.folder()))
                           : tr("Logging paused: %1").arg(m_history.lastError()));
}

void Livescope::closeEvent(QCloseEvent *event)
{
    if (m_watchdogTimer) {
        killTimer(m_watchdogTimer);
        m_watchdogTimer = 0;
    }
    Panelet::closeEvent(event);
}

void Livescope::resizeEvent(QResizeEvent *event)
{
    Panelet::resizeEvent(event);
    showFrame();
}

bool Livescope::eventFilter(QObject *watched, QEvent *event)
{
    // The frame follows the size of its label, which the layout changes.
    if (watched == m_frameLabel && event->type() == QEvent::Resize)
        showFrame();
    return Panelet::eventFilter(watched, event);
}

void Livescope::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_watchdogTimer) {
        Panelet::timerEvent(event);
        return;
    }
    if (m_hasSignal && m_sinceFrame.hasExpired(m_noSignalInterval)) {
        m_hasSignal = false;
        m_frameLabel->setPixmap(QPixmap());
        m_frameLabel->setText(tr("No signal"));
        dropReadings();
    } else if (!m_hasSignal && m_frameLabel->text().isEmpty()
               && m_sinceFrame.hasExpired(m_noSignalInterval)) {
        m_frameLabel->setText(tr("No signal")); // never had a frame
    }
    if (m_hasReadings && m_sinceReadings.hasExpired(m_noSignalInterval))
        dropReadings();
    // Frames without readings are logged from here; with readings, each with its reading.
    if (m_optionParam.allowLogGeneration && m_hasSignal && !m_hasReadings
        && (!m_sinceFrameLogged.isValid() || m_sinceFrameLogged.hasExpired(LogFrameInterval)))
        logFrame(QString());
    if (m_alarmActive && m_optionParam.allowAlarmSound
        && (!m_sinceBeep.isValid() || m_sinceBeep.hasExpired(AlarmBeepInterval)))
        beep();
}
