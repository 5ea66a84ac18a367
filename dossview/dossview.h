#ifndef DOSSVIEW_H
#define DOSSVIEW_H

#include "dossview_global.h"

#include "panelet.h"

#include <QList>
#include <QLocale>
#include <QStringList>

#include <memory>
#include <optional>

class DiplayThumbnailThread;
class Ledgerview;
class Mosaicview;
class QAction;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QModelIndex;
class QStackedLayout;
class QTableWidgetItem;
class QToolBar;
class QUrlInfo;
class ThumbnailBatch;

/**
 * The file-browser sub-window: a "&Files" tab with the removable disks on the left and the
 * pictures of the chosen disk on the right, as a thumbnail grid and as a detail table.
 * The window owns the picture records of its listings.
 */
class DOSSVIEW_EXPORT Dossview : public Panelet
{
    Q_OBJECT
public:
    Dossview(DeviceManager::Mode mode, const QString &language, QWidget *parent = nullptr,
             Qt::WindowFlags flags = Qt::WindowFlags());
    ~Dossview() override;

    void initWidget() override;
    void initConnection() override;
    void setFile(ImageFile *file) override;
    /** Rebuilds both views from the records (mode UsbFile only) and starts the thumbnails. */
    virtual void setFiles(QList<QUrlInfo *> files);
    /** Shows the removable disks and lists the first one. */
    void setUDisks(QStringList disks);

signals:
    void updateFiles(QList<QUrlInfo *> files, DeviceManager::Mode mode);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void setNewPath(const QString &path, bool);
    void showFiles(const QString &path);
    /** One listing of path; false when the window was closed or deleted meanwhile. */
    bool listDisk(const QString &path);
    void stopDiplayThumbnailThread();
    /** Opens the picture step rows away from the current one, as a double click would. */
    void openNeighbourPicture(int step);
    /** Opens the picture in a row of the listing, unless it is the one on show. */
    void openPicture(int row);
    /** Gives the picture tab the keys when it is current in the window the user is in. */
    void focusPicturePage();

private slots:
    void slotActionTriggered(bool checked = false);
    void slotMosaicviewItemDoubleClicked(QListWidgetItem *item);
    void slotMosaicviewCurrentRowChanged(int row);
    void slotLedgerviewCurrentRowChanged(const QModelIndex &current, const QModelIndex &previous);
    void slotLedgerviewItemDoubleClicked(QTableWidgetItem *item);
    void slotDiskListItemClicked(QListWidgetItem *item);
    void slotLister2AddLabel(int row, QLabel *label);
    void slotRefreshLister1(int row);

private:
    Mosaicview *mosaicview = nullptr;
    Ledgerview *ledgerview = nullptr;
    QToolBar *toolBar = nullptr;
    QAction *listAction = nullptr;
    QAction *tableAction = nullptr;
    QStackedLayout *stackedLayout = nullptr;
    QLocale locale;
    QStringList disks;
    QList<QUrlInfo *> files;
    QListWidget *diskList = nullptr;
    DiplayThumbnailThread *thumbnailThread = nullptr;

    void fillLedgerview(const QList<QUrlInfo *> &records, const QStringList &fileNames);
    void fillMosaicview(const QList<QUrlInfo *> &records, const QStringList &fileNames);
    void startDiplayThumbnailThread();
    void releaseRecords(QList<QUrlInfo *> &records);

    // What the current worker hands back; replaced with every listing.
    std::shared_ptr<ThumbnailBatch> thumbnails;
    // Records of the listing being replaced, freed once the new one has been announced.
    QList<QUrlInfo *> retiredFiles;
    // A listing is in progress; a listing asked for meanwhile waits in pendingListing.
    bool listingInProgress = false;
    std::optional<QString> pendingListing;
    // Counts accepted closes, so that a listing can tell that one came while it waited.
    quint64 closeCount = 0;

    friend class DossviewProbe;
};

#endif // DOSSVIEW_H
