#ifndef MODALWATCHER_H
#define MODALWATCHER_H

#include <QObject>
#include <QStringList>
#include <functional>

class QTimer;
class QWidget;

/**
 * Answers modal dialogs while a test is blocked in exec(): every few milliseconds it looks at
 * the active modal widget and hands it to the handler, which closes it. It records the class
 * name and text of everything it saw, so a test can tell which dialogs came up.
 */
class ModalWatcher : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<void(QWidget *modal)>;

    explicit ModalWatcher(Handler handler, QObject *parent = nullptr);
    ~ModalWatcher() override;

    /** "ClassName: text" of every modal widget handled, in order. */
    QStringList seen;

private:
    void poll();

    Handler m_handler;
    QTimer *m_timer;
};

#endif // MODALWATCHER_H
