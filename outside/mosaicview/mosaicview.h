#ifndef MOSAICVIEW_H
#define MOSAICVIEW_H

#include "mosaicview_global.h"

#include <QListWidget>
#include <QVector>

class QUrlInfo;

/**
 * The thumbnail grid of a file listing: icons of up to 144 x 192 with their names underneath,
 * in rows that wrap with the width. Every entry takes the same cell of a fixed grid, so laying
 * out and updating thousands of entries stays cheap.
 *
 * A layout pass for which nothing moved, as one asked for while thumbnails arrive, repaints
 * only the entries whose data changed, not the whole viewport: with 10,000 entries a pass costs
 * a few tenths of a millisecond, a repaint of the whole viewport twice that.
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

    /**
     * While held, the grid's own requests to repaint the whole viewport are dropped, as hiding
     * and showing an entry makes them, and the layout pass they schedule decides what to
     * repaint. Hold only around calls after which every entry is hidden or shown as it was
     * before them; the state before is restored.
     */
    void setRepaintsHeld(bool held);

    void doItemsLayout() override;

protected:
    QStyleOptionViewItem viewOptions() const override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QVector<int> &roles = QVector<int>()) override;

signals:
    /** A layout pass of the items has begun. */
    void itemsLaidOut();

private:
    QVector<int> m_laidOut; ///< what the last layout pass laid out for (see layoutOf)
    QVector<int> m_changedRows; ///< entries changed since the last layout pass
    bool m_allChanged = false; ///< more, or other changes than single entries
    int m_held = 0; ///< 1 while held, 2 while held and the viewport's updates were off before
};

#endif // MOSAICVIEW_H
