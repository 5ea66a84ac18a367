#include "livescope.h"

#include <QLabel>
#include <QTabWidget>

Livescope::Livescope(DeviceManager::Mode mode, const QString &language, QWidget *parent,
                     Qt::WindowFlags flags)
    : Panelet(mode, language, parent, flags)
{
    initAction();
    initWidget();
    initConnection();
}

Livescope::~Livescope() = default;

void Livescope::initWidget()
{
    Panelet::initWidget();
    m_frameLabel = new QLabel(m_tabWidget);
    m_frameLabel->setAlignment(Qt::AlignCenter);
    m_tabWidget->insertTab(0, m_frameLabel, tr("&Live"));
    m_tabWidget->setCurrentIndex(0);
}

void Livescope::initConnection()
{
    Panelet::initConnection();
}

void Livescope::initAction()
{
    Panelet::initAction();
}

void Livescope::setPixmap(const QPixmap &pixmap)
{
    m_frameLabel->setPixmap(pixmap);
}

void Livescope::setOptionsParam(const OptionParam &param)
{
    m_optionParam = param;
}

void Livescope::setVideoExtendParam(const VideoExtendParam &param)
{
    m_extendParam = param;
}

void Livescope::closeEvent(QCloseEvent *event)
{
    Panelet::closeEvent(event);
}

void Livescope::resizeEvent(QResizeEvent *event)
{
    Panelet::resizeEvent(event);
}

bool Livescope::eventFilter(QObject *watched, QEvent *event)
{
    return Panelet::eventFilter(watched, event);
}

void Livescope::timerEvent(QTimerEvent *event)
{
    Panelet::timerEvent(event);
}
