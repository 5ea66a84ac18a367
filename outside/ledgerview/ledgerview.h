#ifndef LEDGERVIEW_H
#define LEDGERVIEW_H

#include "ledgerview_global.h"

#include <QTableWidget>

class QUrlInfo;

/**
 * The detail table of a file listing: one row per picture, configured by its window.
 *
 * Cell widgets are shown only in the rows in view; the others stay hidden until scrolled to.
 * Qt would place and show every one of them, and thousands of visible sibling widgets make each
 * move or hide cost as much as all of them together.
 *
 * Rows sized to their contents measure the text of one-line cells once, not once per cell.
 */
class LEDGERVIEW_EXPORT Ledgerview : public QTableWidget
{
    Q_OBJECT
public:
    explicit Ledgerview(QWidget *parent = nullptr);
    ~Ledgerview() override;

    /**
     * Makes the row whose column-2 item holds this record (role Qt::UserRole + 1) the current
     * one. No row change is signalled when it already is current; an unknown record changes
     * nothing.
     */
    void setActiveFile(const QUrlInfo *file);

    void reset() override;

protected:
    int sizeHintForRow(int row) const override;
    void changeEvent(QEvent *event) override;
    void updateEditorGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;

private:
    void holdCellWidgets();
    void revealCellWidgets();

    int plainTextHeight(const QTableWidgetItem *cell) const;

    bool m_holding = false;
    mutable int m_plainTextHeight = -1;
};

#endif // LEDGERVIEW_H
