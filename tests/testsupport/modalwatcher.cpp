#include "modalwatcher.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

ModalWatcher::ModalWatcher(Handler handler, QObject *parent)
    : QObject(parent)
    , m_handler(std::move(handler))
    , m_timer(new QTimer(this))
{
    connect(m_timer, &QTimer::timeout, this, &ModalWatcher::poll);
    m_timer->start(5);
}

ModalWatcher::~ModalWatcher() = default;

void ModalWatcher::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    QString text;
    if (auto *box = qobject_cast<QMessageBox *>(modal))
        text = box->text();
    seen.append(
        QStringLiteral("%1: %2").arg(QLatin1String(modal->metaObject()->className()), text));
    m_handler(modal);
}
