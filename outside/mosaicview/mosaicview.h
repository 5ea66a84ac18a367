#ifndef MOSAICVIEW_H
#define MOSAICVIEW_H

#include "mosaicview_global.h"

#include <QListWidget>

class QUrlInfo;

/**
 * The thumbnail grid of a file listing: a QListWidget in icon mode sized for 144 x 192 icons.
 * Every entry takes the same cell, and the grid lays itself out in batches, so that listings of
 * thousands of pictures stay fluid.
 */
class MOSAICVIEW_EXPORT Mosaicview : public QListWidget
{
    Q_OBJECT
public:
    explicit Mosaicview(QWidget *parent = nullptr);
    ~Mosaicview() override;

    /**
     * Makes the item whose data (role Qt::UserRole + 1) holds this record the current one.
     * No row change is signalled when it already is current; an unknown record changes nothing.
     */
    void setActiveFile(const QUrlInfo *file);

    /** Lays out at once what is waiting to be laid out, instead of on the next event pass. */
    void flushLayout();

    void doItemsLayout() override;

signals:
    /** A layout pass of the items has begun. */
    void itemsLaidOut();
};

#endif // MOSAICVIEW_H
