#ifndef MOSAICVIEW_H
#define MOSAICVIEW_H

#include "mosaicview_global.h"

#include <QListWidget>

class QUrlInfo;

/**
 * The thumbnail grid of a file listing: icons of up to 144 x 192 with their names underneath,
 * in rows that wrap with the width. Every entry takes the same cell of a fixed grid, so laying
 * out and updating thousands of entries stays cheap.
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

protected:
    QStyleOptionViewItem viewOptions() const override;

signals:
    /** A layout pass of the items has begun. */
    void itemsLaidOut();
};

#endif // MOSAICVIEW_H
