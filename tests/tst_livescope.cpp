#include "democard.h"
#include "livefeed.h"
#include "livescope.h"
#include "optionparam.h"
#include "thermogramformat.h"
#include "videoextendparam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

using DeviceManager::Mode;

namespace {

QPixmap frame(const QColor &colour = Qt::red)
{
    QPixmap pixmap(320, 240);
    pixmap.fill(colour);
    return pixmap;
}

VideoExtendParam readings(double maximum)
{
    VideoExtendParam param;
    param.minTemperature = 20.5;
    param.maxTemperature = maximum;
    param.centreTemperature = 31.2;
    param.frameRate = 15;
    return param;
}

template <typename T> T *child(const QWidget *parent, const char *name)
{
    return parent->findChild<T *>(QLatin1String(name));
}

struct Scope
{
    explicit Scope(Mode mode = DeviceManager::UsbVideo)
        : window(std::make_unique<Livescope>(mode, QStringLiteral("EN")))
    {
        window->resize(640, 480);
    }
    QCheckBox *box(const char *name) const { return child<QCheckBox>(window.get(), name); }
    QLabel *label(const char *name) const { return child<QLabel>(window.get(), name); }

    std::unique_ptr<Livescope> window;
};

} // namespace

class tst_Livescope : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void switchesReportUserChanges_data();
    void switchesReportUserChanges();
    void switchesFollowOptionsWithoutEmitting();
    void frameScaledToFit();
    void readingsShown();
    void noSignalAndRecovery();
    void readingsThatStopAreDropped();
    void alarm_data();
    void alarm();
    void alarmSound();
    void alarmHeldWhileReadingsLastLonger();
    void choicesKept();
    void logWritesHistory();
    void logReportsUnwritableFolder();
    void logPausesAndResumes_data();
    void logPausesAndResumes();
};

void tst_Livescope::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true); // the alarm bounds' settings
    QSettings(QStringLiteral("calorix"), QStringLiteral("calorix")).clear();
}

void tst_Livescope::switchesReportUserChanges_data()
{
    QTest::addColumn<QString>("box");
    QTest::newRow("alarm") << "alarmCheckBox";
    QTest::newRow("alarm sound") << "alarmSoundCheckBox";
    QTest::newRow("log") << "logCheckBox";
}

void tst_Livescope::switchesReportUserChanges()
{
    QFETCH(QString, box);
    QTemporaryDir dir;
    Scope scope;
    scope.window->show();
    OptionParam options;
    options.language = QStringLiteral("CH");
    options.historyFilesPath = dir.path();
    options.allowAlarm = true;
    options.allowAlarmSound = false;
    options.allowLogGeneration = false;
    scope.window->setOptionsParam(options);

    QSignalSpy spy(scope.window.get(), &Livescope::updateOptionParam);
    QCheckBox *checkBox = scope.box(box.toLatin1().constData());
    QVERIFY(checkBox);
    QTest::mouseClick(checkBox, Qt::LeftButton, {}, QPoint(4, checkBox->height() / 2));
    QCOMPARE(spy.count(), 1);

    OptionParam expected = options;
    if (box == QLatin1String("alarmCheckBox"))
        expected.allowAlarm = false;
    else if (box == QLatin1String("alarmSoundCheckBox"))
        expected.allowAlarmSound = true;
    else
        expected.allowLogGeneration = true;
    QCOMPARE(spy.at(0).at(0).value<OptionParam>(), expected);
    QCOMPARE(scope.window->optionsParam(), expected);

    QTest::mouseClick(checkBox, Qt::LeftButton, {}, QPoint(4, checkBox->height() / 2));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(0).value<OptionParam>(), options);
}

void tst_Livescope::switchesFollowOptionsWithoutEmitting()
{
    Scope scope;
    QSignalSpy spy(scope.window.get(), &Livescope::updateOptionParam);
    for (int bits = 0; bits < 8; ++bits) {
        OptionParam options;
        options.allowAlarm = bits & 1;
        options.allowAlarmSound = bits & 2;
        options.allowLogGeneration = bits & 4;
        scope.window->setOptionsParam(options);
        QCOMPARE(scope.box("alarmCheckBox")->isChecked(), options.allowAlarm);
        QCOMPARE(scope.box("alarmSoundCheckBox")->isChecked(), options.allowAlarmSound);
        QCOMPARE(scope.box("logCheckBox")->isChecked(), options.allowLogGeneration);
        QCOMPARE(scope.window->optionsParam(), options);
    }
    QCOMPARE(spy.count(), 0);
}

void tst_Livescope::frameScaledToFit()
{
    Scope scope;
    scope.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(scope.window.get()));
    scope.window->setPixmap(frame());
    QLabel *label = scope.label("frameLabel");
    QSize shown = label->pixmap(Qt::ReturnByValue).size();
    QVERIFY(shown.width() <= label->width() && shown.height() <= label->height());
    QVERIFY(shown.width() == label->width() || shown.height() == label->height());
    QVERIFY(qAbs(shown.width() * 3 - shown.height() * 4) <= 4);

    // The picture follows the window's size without a new frame.
    scope.window->resize(1000, 900);
    QTRY_VERIFY(label->pixmap(Qt::ReturnByValue).width() > shown.width());
    shown = label->pixmap(Qt::ReturnByValue).size();
    QVERIFY(shown.width() <= label->width() && shown.height() <= label->height());
}

void tst_Livescope::readingsShown()
{
    Scope scope;
    QCOMPARE(scope.label("readingsLabel")->text(), QStringLiteral("No readings"));
    scope.window->setPixmap(frame());
    scope.window->setVideoExtendParam(readings(48.75));
    const QString text = scope.label("readingsLabel")->text();
    QVERIFY2(text.contains(QStringLiteral("20.5")) && text.contains(QStringLiteral("48.8"))
                 && text.contains(QStringLiteral("31.2"))
                 && text.contains(QStringLiteral("15 fps")),
             qPrintable(text));
    QCOMPARE(scope.window->videoExtendParam(), readings(48.75));
}

void tst_Livescope::noSignalAndRecovery()
{
    Scope scope;
    scope.window->show();
    scope.window->setNoSignalInterval(150);
    QLabel *label = scope.label("frameLabel");
    QTRY_COMPARE(label->text(), QStringLiteral("No signal")); // nothing came at all

    scope.window->setPixmap(frame());
    scope.window->setVideoExtendParam(readings(40));
    QVERIFY(scope.window->hasSignal());
    QVERIFY(label->text().isEmpty());
    QVERIFY(!label->pixmap(Qt::ReturnByValue).isNull());

    QTRY_VERIFY(!scope.window->hasSignal());
    QCOMPARE(label->text(), QStringLiteral("No signal"));
    QVERIFY(label->pixmap(Qt::ReturnByValue).isNull()); // no frozen last frame
    QCOMPARE(scope.label("readingsLabel")->text(), QStringLiteral("No readings"));

    scope.window->setPixmap(frame(Qt::blue));
    QVERIFY(scope.window->hasSignal());
    QVERIFY(label->text().isEmpty());
    const QImage shown = label->pixmap(Qt::ReturnByValue).toImage();
    QCOMPARE(shown.pixelColor(shown.width() / 2, shown.height() / 2), QColor(Qt::blue));
}

void tst_Livescope::readingsThatStopAreDropped()
{
    // Frames go on but readings stop coming, as when the window is no longer the one in
    // front: the numbers and the alarm go after the no-signal interval, the picture stays.
    Scope scope;
    scope.window->show();
    scope.window->setNoSignalInterval(1000);
    OptionParam options;
    options.allowAlarm = true;
    scope.window->setOptionsParam(options);
    QTimer frames;
    connect(&frames, &QTimer::timeout, scope.window.get(),
            [&scope] { scope.window->setPixmap(frame()); });
    frames.start(20);
    scope.window->setPixmap(frame());
    scope.window->setVideoExtendParam(readings(70));
    QVERIFY(scope.window->isAlarmActive());

    QTRY_COMPARE(scope.label("readingsLabel")->text(), QStringLiteral("No readings"));
    QVERIFY(scope.window->hasSignal());
    QVERIFY(!scope.window->isAlarmActive());
    QVERIFY(!scope.label("alarmLabel")->isVisible());

    scope.window->setVideoExtendParam(readings(70));
    QVERIFY(scope.window->isAlarmActive());
    QVERIFY(scope.label("readingsLabel")->text().contains(QStringLiteral("70.0")));
}

void tst_Livescope::alarm_data()
{
    QTest::addColumn<bool>("allowAlarm");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<double>("lowerBound"); // NaN: none set
    QTest::addColumn<QString>("crossed");

    const double none = qQNaN();
    QTest::newRow("above, switched on") << true << 60.1 << none << "above 60.0";
    QTest::newRow("at the threshold") << true << 60.0 << none << "";
    QTest::newRow("below") << true << 45.0 << none << "";
    QTest::newRow("above, switched off") << false << 75.0 << none << "";
    QTest::newRow("minimum below the lower bound") << true << 45.0 << 21.0 << "below 21.0";
    QTest::newRow("minimum at the lower bound") << true << 45.0 << 20.5 << "";
    QTest::newRow("both bounds") << true << 61.0 << 25.0 << "above 60.0 °C; minimum 20.5";
}

void tst_Livescope::alarm()
{
    QFETCH(bool, allowAlarm);
    QFETCH(double, maximum);
    QFETCH(double, lowerBound);
    QFETCH(QString, crossed);
    const bool shown = !crossed.isEmpty();

    Scope scope;
    scope.window->show();
    OptionParam options;
    options.allowAlarm = allowAlarm;
    scope.window->setOptionsParam(options);
    QCOMPARE(scope.window->alarmThreshold(), 60.0);
    scope.window->setAlarmBelow(!qIsNaN(lowerBound), lowerBound);
    scope.window->setPixmap(frame());
    QLabel *picture = scope.label("frameLabel");
    QTRY_VERIFY(picture->height() > 100);
    const int pictureHeight = picture->height();
    scope.window->setVideoExtendParam(readings(maximum));
    QLabel *banner = scope.label("alarmLabel");
    QCOMPARE(banner->isVisible(), shown);
    QCOMPARE(scope.window->isAlarmActive(), shown);
    if (!shown)
        return;
    QVERIFY2(banner->text().contains(crossed), qPrintable(banner->text()));
    QVERIFY(banner->text().contains(QString::number(maximum, 'f', 1)) || lowerBound > 0);
    QCOMPARE(child<QListWidget>(scope.window.get(), "alarmList")->count(), 1);
    QCoreApplication::sendPostedEvents(); // the layout
    QCOMPARE(picture->height(), pictureHeight); // the banner makes no room for itself
    if (!qIsNaN(lowerBound))
        return;

    // Cooling down, or the user switching the alarm off, ends it.
    scope.window->setVideoExtendParam(readings(30));
    QVERIFY(!banner->isVisible());
    scope.window->setVideoExtendParam(readings(maximum));
    QVERIFY(banner->isVisible());
    QCheckBox *box = scope.box("alarmCheckBox");
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    QVERIFY(!banner->isVisible());
}

void tst_Livescope::alarmSound()
{
    Scope scope;
    OptionParam options;
    options.allowAlarm = true;
    scope.window->setOptionsParam(options);
    scope.window->setPixmap(frame());
    scope.window->setVideoExtendParam(readings(70));
    QVERIFY(scope.window->isAlarmActive());
    QCOMPARE(scope.window->alarmBeeps(), 0); // silent without the sound switch

    scope.window->setVideoExtendParam(readings(30));
    options.allowAlarmSound = true;
    scope.window->setOptionsParam(options);
    scope.window->setVideoExtendParam(readings(70));
    QCOMPARE(scope.window->alarmBeeps(), 1);
    scope.window->setVideoExtendParam(readings(71)); // the same alarm: no second beep now
    QCOMPARE(scope.window->alarmBeeps(), 1);
}

void tst_Livescope::alarmHeldWhileReadingsLastLonger()
{
    // Frames and readings above the bound keep coming for three no-signal intervals.
    Scope scope;
    scope.window->setNoSignalInterval(200);
    OptionParam options;
    options.allowAlarm = options.allowAlarmSound = true;
    scope.window->setOptionsParam(options);
    int silences = 0;
    QTimer feed;
    connect(&feed, &QTimer::timeout, scope.window.get(), [&] {
        scope.window->setPixmap(frame());
        LiveFeed::instance()->publish(DeviceManager::UsbVideo, { readings(70), Thermogram() });
        silences += scope.window->isAlarmActive() ? 0 : 1;
    });
    feed.start(20);
    QElapsedTimer clock;
    clock.start();
    QTRY_VERIFY_WITH_TIMEOUT(clock.hasExpired(600), 5000);
    QCOMPARE(silences, 0);
    QCOMPARE(scope.window->alarmBeeps(), 1);
    QVERIFY(scope.label("readingsLabel")->text().contains(QStringLiteral("70.0")));
}

void tst_Livescope::choicesKept()
{
    {
        Scope scope;
        child<QDoubleSpinBox>(scope.window.get(), "alarmAboveSpinBox")->setValue(85.5);
        QTest::mouseClick(scope.box("alarmBelowCheckBox"), Qt::LeftButton, {}, QPoint(4, 4));
        child<QDoubleSpinBox>(scope.window.get(), "alarmBelowSpinBox")->setValue(-4);
    }
    {
        Scope scope;
        auto *palette = child<QComboBox>(scope.window.get(), "paletteComboBox");
        palette->setCurrentIndex(palette->findData(QStringLiteral("rainbow")));
        emit palette->activated(palette->currentIndex());
        QTest::mouseClick(scope.box("autoRangeCheckBox"), Qt::LeftButton, {}, QPoint(4, 4));
        child<QDoubleSpinBox>(scope.window.get(), "rangeHighSpinBox")->setValue(90);
    }
    Scope next;
    QCOMPARE(next.window->alarmThreshold(), 85.5);
    QVERIFY(next.window->isAlarmBelowEnabled());
    QCOMPARE(next.window->alarmBelow(), -4.0);
    QCOMPARE(next.window->pictureChoice().palette, ThermalPalette::Rainbow);
    QCOMPARE(next.window->pictureChoice().range, ColourRange::manual(0, 90));
    QSettings(QStringLiteral("calorix"), QStringLiteral("calorix")).clear();
}

void tst_Livescope::logWritesHistory()
{
    QTemporaryDir dir;
    const QString history = dir.filePath(QStringLiteral("not/yet/History"));
    Scope scope(DeviceManager::WifiVideo);
    OptionParam options;
    options.historyFilesPath = history;
    options.allowAlarm = true;
    scope.window->setOptionsParam(options);
    scope.window->setPixmap(frame());
    scope.window->setVideoExtendParam(readings(40));
    QVERIFY(!QDir(history).exists()); // nothing written with the log off

    QCheckBox *box = scope.box("logCheckBox");
    scope.window->show();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    QVERIFY(scope.window->optionsParam().allowLogGeneration);
    scope.window->setPixmap(frame());
    // A reading within a second of the last one written is not written. A machine that stalls
    // for a second between the two calls may write it, so it counts only when measured.
    QElapsedTimer sinceFirstReading;
    sinceFirstReading.start();
    scope.window->setVideoExtendParam(readings(40));
    scope.window->setVideoExtendParam(readings(41));
    const bool withinSecond = !sinceFirstReading.hasExpired(999);
    scope.window->setVideoExtendParam(readings(65)); // the alarm starts: a frame is kept

    QDir folder(history);
    QVERIFY(folder.exists());
    const QStringList csv = folder.entryList({ QStringLiteral("*_WiFi_readings.csv") });
    QCOMPARE(csv.size(), 1);
    QFile file(folder.filePath(csv.first()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    QCOMPARE(lines.at(0) + '\n', QByteArray(HistoryLog::CsvHeader));
    if (withinSecond)
        QCOMPARE(lines.size(), 2);
    else
        QVERIFY(lines.size() == 2 || lines.size() == 3);
    QVERIFY2(lines.at(1).endsWith(",20.5,40.0,31.2,15.0")
                 || lines.at(1).endsWith(",20.5,40.0,31.3,15.0"),
             lines.at(1).constData());

    const QStringList frames
        = folder.entryList({ QStringLiteral("*.BMP") }, QDir::Files, QDir::Name);
    QCOMPARE(frames.size(), 2);
    QVERIFY(frames.at(0).endsWith(QLatin1String("_WiFi.BMP")));
    QVERIFY(frames.at(1).endsWith(QLatin1String("_WiFi_alarm.BMP")));
    QCOMPARE(QImage(folder.filePath(frames.at(0))).size(), QSize(320, 240));
    QCOMPARE(QFileInfo(folder.filePath(frames.at(0))).size(), ThermogramFormat::FileSize);
    QVERIFY(scope.label("logLabel")->text().contains(QDir::toNativeSeparators(history)));
}

void tst_Livescope::logReportsUnwritableFolder()
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("History"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly)); // a file where the folder should be
    file.close();

    Scope scope;
    OptionParam options;
    options.historyFilesPath = blocker;
    options.allowLogGeneration = true;
    scope.window->setOptionsParam(options);
    scope.window->setPixmap(frame());
    scope.window->setVideoExtendParam(readings(40));
    QVERIFY2(
        scope.label("logLabel")->text().startsWith(QStringLiteral("Logging paused: Cannot create")),
        qPrintable(scope.label("logLabel")->text()));
}

void tst_Livescope::logPausesAndResumes_data()
{
    QTest::addColumn<bool>("diskFull");
    QTest::newRow("folder unwritable") << false;
    QTest::newRow("disk full in a line") << true;
}

void tst_Livescope::logPausesAndResumes()
{
    QFETCH(bool, diskFull);
    QTemporaryDir dir;
    const QString history = dir.filePath(QStringLiteral("History"));
    Scope scope;
    OptionParam options;
    options.historyFilesPath = history;
    options.allowLogGeneration = true;
    scope.window->setOptionsParam(options);
    const Thermogram plane
        = DemoCard::measurement(QVector<float>(320 * 240, 40.0f), QDateTime::currentDateTimeUtc());
    QTimer feed; // the camera goes on all along
    connect(&feed, &QTimer::timeout, scope.window.get(), [&] {
        scope.window->setPixmap(frame());
        LiveFeed::instance()->publish(DeviceManager::UsbVideo, { readings(40), plane });
    });
    feed.start(20);
    QTRY_VERIFY(QDir(history).entryList({ QStringLiteral("*.csv") }).size() == 1);
    const QString csv = QDir(history).filePath(QDir(history).entryList({ "*.csv" }).first());

    // Writing stops working: a file where the folder was, or a disk with half a line's room.
    rlimit unlimited {};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    if (diskFull) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit full = unlimited;
        full.rlim_cur = rlim_t(QFileInfo(csv).size() + 20);
        setrlimit(RLIMIT_FSIZE, &full);
    } else {
        QVERIFY(QDir(history).removeRecursively());
        QFile blocker(history);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    QTRY_VERIFY_WITH_TIMEOUT(scope.window->isLogPaused(), 5000);
    QVERIFY(scope.label("logLabel")->text().startsWith(QStringLiteral("Logging paused")));
    QVERIFY(scope.window->hasSignal() && scope.label("readingsLabel")->text().contains("40.0"));

    if (diskFull)
        setrlimit(RLIMIT_FSIZE, &unlimited);
    else
        QVERIFY(QFile::remove(history));
    QTRY_VERIFY_WITH_TIMEOUT(!scope.window->isLogPaused(), 5000);
    QVERIFY(scope.label("logLabel")->text().startsWith(QStringLiteral("Logging to")));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QVERIFY(written.endsWith('\n'));
    for (const QByteArray &line : written.split('\n').mid(1, written.count('\n') - 1)) {
        const QList<QByteArray> fields = line.split(',');
        QCOMPARE(fields.size(), 5);
        QVERIFY2(QDateTime::fromString(fields.at(0), Qt::ISODateWithMs).isValid(), line);
    }
    // The frames keep their temperatures.
    const QStringList frames = QDir(history).entryList({ QStringLiteral("*.BMP") });
    QVERIFY(!frames.isEmpty());
    for (const QString &name : frames) {
        const auto kept = ThermogramFormat::readFile(QDir(history).filePath(name));
        QVERIFY(kept && qAbs(kept->celsiusAt(QPoint(3, 3)) - 40.0) < 0.01);
    }
}

QTEST_MAIN(tst_Livescope)
#include "tst_livescope.moc"
