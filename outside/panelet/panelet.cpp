#include "panelet.h"

#include "imagefile.h"
#include "picturepage.h"

#include <QCloseEvent>
#include <QTabWidget>

Panelet::Panelet(DeviceManager::Mode mode, const QString &language, QWidget *parent,
                 Qt::WindowFlags flags)
    : QMdiSubWindow(parent, flags)
    , m_mode(mode)
    , m_language(language)
{
}

Panelet::~Panelet() = default;

void Panelet::initWidget()
{
    m_tabWidget = new QTabWidget(this);
    m_picturePage = new PicturePage(m_tabWidget);
    m_tabWidget->addTab(m_picturePage, tr("Picture"));
    setWidget(m_tabWidget);
}

void Panelet::initConnection()
{
}

void Panelet::initAction()
{
}

void Panelet::setFile(ImageFile *file)
{
    if (!m_picturePage)
        return;
    if (file)
        m_picturePage->setPicture(file->image, file->path);
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
