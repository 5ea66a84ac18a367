#ifndef TIMEDAPPLICATION_H
#define TIMEDAPPLICATION_H

#include <QApplication>
#include <QElapsedTimer>
#include <QString>

#include <map>
#include <utility>
#include <vector>

/**
 * A QApplication that times the delivery of every outermost event while recording is on and
 * keeps the longest few: which event to which object held up the GUI thread. Nested deliveries
 * (an event sent from inside another's handler) count towards the outer one.
 */
class TimedApplication : public QApplication
{
public:
    struct SlowEvent
    {
        double ms;
        QString what;
    };

    TimedApplication(int &argc, char **argv);

    static TimedApplication *instance();

    void startRecording();
    void stopRecording();
    struct EventTotal
    {
        int type;
        const char *receiver; ///< the receiver's class name
        int count;
        double ms;
    };

    /** The longest outermost deliveries since startRecording(), longest first. */
    const std::vector<SlowEvent> &slowest() const { return m_slowest; }
    /** Outermost deliveries since startRecording() summed by event type, costliest first. */
    std::vector<EventTotal> totals() const;
    static QString typeName(int eventType);

    bool notify(QObject *receiver, QEvent *event) override;

private:
    static constexpr size_t Kept = 3;

    bool m_recording = false;
    int m_depth = 0;
    QElapsedTimer m_clock;
    std::vector<SlowEvent> m_slowest;
    std::map<std::pair<int, const char *>, EventTotal> m_totals;
};

#endif // TIMEDAPPLICATION_H
