#include "timedapplication.h"

#include <QEvent>
#include <QMetaEnum>

#include <algorithm>

namespace {

QString describe(int eventType, const char *receiverClass, const char *parentClass)
{
    QString text = TimedApplication::typeName(eventType);
    text += QLatin1String(" to ") + QLatin1String(receiverClass);
    if (parentClass)
        text += QLatin1String(" in ") + QLatin1String(parentClass);
    return text;
}

} // namespace

TimedApplication::TimedApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    m_clock.start();
}

TimedApplication *TimedApplication::instance()
{
    return static_cast<TimedApplication *>(QCoreApplication::instance());
}

QString TimedApplication::typeName(int eventType)
{
    const char *type = QMetaEnum::fromType<QEvent::Type>().valueToKey(eventType);
    return type ? QString::fromLatin1(type) : QString::number(eventType);
}

std::vector<TimedApplication::EventTotal> TimedApplication::totals() const
{
    std::vector<EventTotal> totals;
    for (const auto &entry : m_totals)
        totals.push_back(entry.second);
    std::sort(totals.begin(), totals.end(),
              [](const EventTotal &a, const EventTotal &b) { return a.ms > b.ms; });
    return totals;
}

void TimedApplication::startRecording()
{
    m_slowest.clear();
    m_totals.clear();
    m_recording = true;
}

void TimedApplication::stopRecording()
{
    m_recording = false;
}

bool TimedApplication::notify(QObject *receiver, QEvent *event)
{
    if (!m_recording || m_depth > 0) {
        ++m_depth;
        const bool handled = QApplication::notify(receiver, event);
        --m_depth;
        return handled;
    }
    // Noted before delivery: the event may be gone afterwards, and the receiver too.
    const int type = event->type();
    const char *receiverClass = receiver->metaObject()->className();
    const QObject *parent = receiver->parent();
    const char *parentClass = parent ? parent->metaObject()->className() : nullptr;
    const qint64 before = m_clock.nsecsElapsed();
    ++m_depth;
    const bool handled = QApplication::notify(receiver, event);
    --m_depth;
    const double ms = (m_clock.nsecsElapsed() - before) / 1e6;
    // By type and receiver class: class names are static strings, their addresses will do.
    EventTotal &total
        = m_totals.try_emplace({ type, receiverClass }, EventTotal { type, receiverClass, 0, 0 })
              .first->second;
    ++total.count;
    total.ms += ms;
    if (m_slowest.size() < Kept || ms > m_slowest.back().ms) {
        m_slowest.push_back({ ms, describe(type, receiverClass, parentClass) });
        std::sort(m_slowest.begin(), m_slowest.end(),
                  [](const SlowEvent &a, const SlowEvent &b) { return a.ms > b.ms; });
        if (m_slowest.size() > Kept)
            m_slowest.pop_back();
    }
    return handled;
}
