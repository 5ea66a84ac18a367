#include "livescope.h"

#include "picturepage.h"
#include "thermogramcanvas.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>
#include <QTimerEvent>
#include <QVBoxLayout>

namespace {

constexpr int WatchdogPeriod = 100;

QString linkName(DeviceManager::Mode mode)
{
    return (mode & DeviceManager::WifiMask) ? QStringLiteral("WiFi") : QStringLiteral("USB");
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

    m_alarmLabel = new QLabel(page);
    m_alarmLabel->setObjectName(QStringLiteral("alarmLabel"));
    m_alarmLabel->setAlignment(Qt::AlignCenter);
    m_alarmLabel->setStyleSheet(QStringLiteral(
        "QLabel { background: #c00000; color: white; font-weight: bold; padding: 4px; }"));
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

    auto *readingsRow = new QHBoxLayout;
    readingsRow->addWidget(m_readingsLabel, 1);
    readingsRow->addWidget(m_logLabel);
    auto *switchesRow = new QHBoxLayout;
    switchesRow->addWidget(m_alarmCheck);
    switchesRow->addWidget(m_alarmSoundCheck);
    switchesRow->addWidget(m_logCheck);
    switchesRow->addStretch(1);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_frameLabel, 1);
    layout->addWidget(m_alarmLabel);
    layout->addLayout(readingsRow);
    layout->addLayout(switchesRow);

    m_picturePage->canvas()->setPlaceholderText(
        tr("Pictures are opened in the file browser: double-click one there."));
    m_tabWidget->insertTab(0, page, tr("&Live"));
    m_tabWidget->setCurrentIndex(0);
    showReadings();
}

void Livescope::initConnection()
{
    Panelet::initConnection();
    // clicked, not toggled: only the user's changes are reported.
    for (QCheckBox *box : { m_alarmCheck, m_alarmSoundCheck, m_logCheck })
        connect(box, &QCheckBox::clicked, this, &Livescope::switchClicked);
}

void Livescope::initAction()
{
    Panelet::initAction();
}

void Livescope::setPixmap(const QPixmap &pixmap)
{
    m_frame = pixmap;
    m_sinceFrame.restart();
    if (!m_hasSignal) {
        m_hasSignal = true;
        m_frameLabel->setText(QString());
    }
    showFrame();
    if (m_optionParam.allowLogGeneration
        && (!m_sinceFrameLogged.isValid() || m_sinceFrameLogged.hasExpired(LogFrameInterval)))
        logFrame(QString());
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
    if (!param.allowLogGeneration)
        m_logLabel->clear();
    updateAlarm();
}

void Livescope::setVideoExtendParam(const VideoExtendParam &param)
{
    m_extendParam = param;
    m_hasReadings = true;
    m_sinceReadings.start();
    showReadings();
    updateAlarm();
    if (m_optionParam.allowLogGeneration
        && (!m_sinceReadingLogged.isValid() || m_sinceReadingLogged.hasExpired(1000))) {
        m_sinceReadingLogged.restart();
        if (m_history.appendReading(param, QDateTime::currentDateTime()))
            m_logLabel->setText(
                tr("Logging to %1").arg(QDir::toNativeSeparators(m_history.folder())));
        else
            m_logLabel->setText(m_history.lastError());
    }
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
    }
    updateAlarm();
    emit updateOptionParam(m_optionParam);
}

void Livescope::showFrame()
{
    if (!m_hasSignal || m_frame.isNull())
        return;
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
    showReadings();
    updateAlarm();
}

void Livescope::updateAlarm()
{
    const bool active = m_optionParam.allowAlarm && m_hasSignal && m_hasReadings
        && m_extendParam.maxTemperature > m_alarmThreshold;
    if (active == m_alarmActive) {
        if (active)
            m_alarmLabel->setText(tr("Alarm: maximum %1 °C is above %2 °C")
                                      .arg(m_extendParam.maxTemperature, 0, 'f', 1)
                                      .arg(m_alarmThreshold, 0, 'f', 1));
        return;
    }
    m_alarmActive = active;
    m_alarmLabel->setVisible(active);
    if (!active)
        return;
    m_alarmLabel->setText(tr("Alarm: maximum %1 °C is above %2 °C")
                              .arg(m_extendParam.maxTemperature, 0, 'f', 1)
                              .arg(m_alarmThreshold, 0, 'f', 1));
    if (m_optionParam.allowAlarmSound)
        beep();
    if (m_optionParam.allowLogGeneration)
        logFrame(QStringLiteral("alarm"));
}

void Livescope::beep()
{
    QApplication::beep();
    ++m_alarmBeeps;
    m_sinceBeep.restart();
}

void Livescope::logFrame(const QString &suffix)
{
    if (m_frame.isNull())
        return;
    m_sinceFrameLogged.restart();
    if (!m_history.saveFrame(m_frame.toImage(), QDateTime::currentDateTime(), suffix))
        m_logLabel->setText(m_history.lastError());
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
    if (m_alarmActive && m_optionParam.allowAlarmSound
        && (!m_sinceBeep.isValid() || m_sinceBeep.hasExpired(AlarmBeepInterval)))
        beep();
}
