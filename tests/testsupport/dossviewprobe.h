#ifndef DOSSVIEWPROBE_H
#define DOSSVIEWPROBE_H

#include <QList>

class DiplayThumbnailThread;
class Dossview;
class Ledgerview;
class Mosaicview;
class QAction;
class QLabel;
class QListWidget;
class QStackedLayout;
class QToolBar;
class QUrlInfo;

/** Read access to a Dossview's members for the tests, and its private slots. */
class DossviewProbe
{
public:
    explicit DossviewProbe(Dossview *view)
        : m_view(view)
    { }

    Mosaicview *mosaicview() const;
    Ledgerview *ledgerview() const;
    QToolBar *toolBar() const;
    QAction *listAction() const;
    QAction *tableAction() const;
    QStackedLayout *stackedLayout() const;
    QListWidget *diskList() const;
    QList<QUrlInfo *> files() const;
    DiplayThumbnailThread *thumbnailThread() const;

    void refreshLister1(int row);
    void addLabel(int row, QLabel *label);

private:
    Dossview *m_view;
};

#endif // DOSSVIEWPROBE_H
