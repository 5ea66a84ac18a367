#include "panelet.h"

#include "imagefile.h"
#include "picturepage.h"

#include <QAction>
#include <QCloseEvent>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

Panelet::Panelet(DeviceManager::Mode mode, const QString &language, QWidget *parent,
                 Qt::WindowFlags flags)
    : QMdiSubWindow(parent, flags)
    , m_mode(mode)
    , m_language(language)
{ }

Panelet::~Panelet() = default;

void Panelet::initWidget()
{
    if (!m_closeAction)
        Panelet::initAction();
    m_tabWidget = new QTabWidget(this);
    m_picturePage = new PicturePage(m_tabWidget);
    m_tabWidget->addTab(m_picturePage, tr("Picture"));

    m_closeButton = new QToolButton(m_tabWidget);
    m_closeButton->setObjectName(QStringLiteral("paneletCloseButton"));
    m_closeButton->setAutoRaise(true);
    m_closeButton->setDefaultAction(m_closeAction);
    m_tabWidget->setCornerWidget(m_closeButton, Qt::TopRightCorner);
    m_tabWidget->tabBar()->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_tabWidget->tabBar()->addAction(m_closeAction);
    setWidget(m_tabWidget);
}

void Panelet::initConnection() { }

void Panelet::initAction()
{
    if (m_closeAction)
        return;
    m_closeAction
        = new QAction(style()->standardIcon(QStyle::SP_TitleBarCloseButton), tr("Close"), this);
    m_closeAction->setToolTip(tr("Close this window"));
    connect(m_closeAction, &QAction::triggered, this, [this] { emit subClose(m_mode); });
}

void Panelet::setFile(ImageFile *file)
{
    if (!m_picturePage)
        return;
    if (file)
        m_picturePage->setPicture(file->image, file->path, file->thermogram,
                                  file->thermogramDamaged);
    else
        m_picturePage->clear();
}

void Panelet::closeEvent(QCloseEvent *event)
{
    QMdiSubWindow::closeEvent(event);
}

void Panelet::resizeEvent(QResizeEvent *event)
{
    QMdiSubWindow::resizeEvent(event);
}
