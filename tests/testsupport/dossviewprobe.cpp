#include "dossviewprobe.h"

#include "dossview.h"

Mosaicview *DossviewProbe::mosaicview() const
{
    return m_view->mosaicview;
}

Ledgerview *DossviewProbe::ledgerview() const
{
    return m_view->ledgerview;
}

QToolBar *DossviewProbe::toolBar() const
{
    return m_view->toolBar;
}

QAction *DossviewProbe::listAction() const
{
    return m_view->listAction;
}

QAction *DossviewProbe::tableAction() const
{
    return m_view->tableAction;
}

QStackedLayout *DossviewProbe::stackedLayout() const
{
    return m_view->stackedLayout;
}

QListWidget *DossviewProbe::diskList() const
{
    return m_view->diskList;
}

QList<QUrlInfo *> DossviewProbe::files() const
{
    return m_view->files;
}

DiplayThumbnailThread *DossviewProbe::thumbnailThread() const
{
    return m_view->thumbnailThread;
}

void DossviewProbe::refreshLister1(int row)
{
    m_view->slotRefreshLister1(row);
}

void DossviewProbe::addLabel(int row, QLabel *label)
{
    m_view->slotLister2AddLabel(row, label);
}
