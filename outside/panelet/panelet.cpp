#include "panelet.h"

#include "imagefile.h"
#include "picturepage.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
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

    // The windows are maximized and frameless: the tab row's own corner leads to the others.
    auto *corner = new QWidget(m_tabWidget);
    auto *cornerLayout = new QHBoxLayout(corner);
    cornerLayout->setContentsMargins(QMargins());
    cornerLayout->setSpacing(0);
    m_windowsButton = new QToolButton(corner);
    m_windowsButton->setObjectName(QStringLiteral("paneletWindowsButton"));
    m_windowsButton->setAutoRaise(true);
    m_windowsButton->setArrowType(Qt::DownArrow);
    m_windowsButton->setPopupMode(QToolButton::InstantPopup);
    // The arrow says it all; the style's menu indicator would draw a second one.
    m_windowsButton->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; }"));
    m_windowsButton->setToolTip(tr("Go to another window"));
    auto *windowsMenu = new QMenu(m_windowsButton);
    connect(windowsMenu, &QMenu::aboutToShow, this,
            [this, windowsMenu] { fillWindowsMenu(windowsMenu); });
    m_windowsButton->setMenu(windowsMenu);
    m_closeButton = new QToolButton(corner);
    m_closeButton->setObjectName(QStringLiteral("paneletCloseButton"));
    m_closeButton->setAutoRaise(true);
    m_closeButton->setDefaultAction(m_closeAction);
    cornerLayout->addWidget(m_windowsButton);
    cornerLayout->addWidget(m_closeButton);
    m_tabWidget->setCornerWidget(corner, Qt::TopRightCorner);
    m_tabWidget->tabBar()->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_tabWidget->tabBar()->addAction(m_closeAction);
    setWidget(m_tabWidget);
}

void Panelet::initConnection() { }

void Panelet::fillWindowsMenu(QMenu *menu)
{
    menu->clear();
    QMdiArea *area = mdiArea();
    const QList<QMdiSubWindow *> windows
        = area ? area->subWindowList() : QList<QMdiSubWindow *>({ this });
    for (QMdiSubWindow *window : windows) {
        QAction *action = menu->addAction(window->windowTitle());
        action->setCheckable(true);
        action->setChecked(window == this);
        const QPointer<QMdiSubWindow> target(window);
        connect(action, &QAction::triggered, this, [area, target] {
            if (area && target)
                area->setActiveSubWindow(target);
        });
    }
}

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
