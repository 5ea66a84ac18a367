#include "dossview.h"

#include "imagefile.h"
#include "qurlinfo.h"

#include <QCloseEvent>
#include <QTabWidget>

Dossview::Dossview(DeviceManager::Mode mode, const QString &language, QWidget *parent,
                   Qt::WindowFlags flags)
    : Panelet(mode, language, parent, flags)
{
    Panelet::initAction();
    Dossview::initWidget();
    Dossview::initConnection();
}

Dossview::~Dossview() = default;

void Dossview::initWidget()
{
    Panelet::initWidget();
}

void Dossview::initConnection()
{
    Panelet::initConnection();
}

void Dossview::setFile(ImageFile *file)
{
    Panelet::setFile(file);
    if (file)
        m_tabWidget->setCurrentIndex(1);
}

void Dossview::setFiles(QList<QUrlInfo *>)
{
}

void Dossview::setUDisks(QStringList newDisks)
{
    disks = newDisks;
}

void Dossview::closeEvent(QCloseEvent *event)
{
    setFile(nullptr);
    Panelet::closeEvent(event);
}

void Dossview::setNewPath(const QString &, bool)
{
}

void Dossview::showFiles(const QString &)
{
}

void Dossview::stopDiplayThumbnailThread()
{
}

void Dossview::slotActionTriggered(bool)
{
}

void Dossview::slotMosaicviewItemDoubleClicked(QListWidgetItem *)
{
}

void Dossview::slotMosaicviewCurrentRowChanged(int)
{
}

void Dossview::slotLedgerviewCurrentRowChanged(const QModelIndex &, const QModelIndex &)
{
}

void Dossview::slotLedgerviewItemDoubleClicked(QTableWidgetItem *)
{
}

void Dossview::slotDiskListItemClicked(QListWidgetItem *)
{
}

void Dossview::slotLister2AddLabel(int, QLabel *)
{
}

void Dossview::slotRefreshLister1(int)
{
}
