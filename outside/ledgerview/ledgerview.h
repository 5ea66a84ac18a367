#ifndef LEDGERVIEW_H
#define LEDGERVIEW_H

#include "ledgerview_global.h"

#include <QHash>
#include <QPointer>
#include <QSet>
#include <QTableWidget>

#include <vector>

class QUrlInfo;

/**
 * The detail table of a file listing: one row per picture, configured by its window.
 *
 * Cell widgets are shown only in the rows in view; the others stay hidden until scrolled to.
 * Qt would place and show every one of them, and thousands of visible sibling widgets make each
 * move or hide cost as much as all of them together.
 *
 * Polishing a widget under a style sheet costs tens of microseconds: cell widgets given in a
 * refill of many rows are polished when they first come into view. The refill's changes of
 * single cells are announced to the view as one when its cells are revealed.
 *
 * Rows sized to their contents measure the text of one-line cells once, not once per cell,
 * and labels not polished yet by one alike label that is.
 *
 * A hidden view with many rows puts its geometry updates off until it is shown: Qt measures
 * every row of a header sized to its contents on each of them, and would do it again on show.
 * Showing it updates its geometry several times over: the rows are measured by the first
 * update of a turn of the event loop, and the others of that turn reuse those heights unless
 * the cells changed meanwhile. Which cells hold one line of plain text is looked at again only
 * once they change.
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
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QVector<int> &roles = QVector<int>()) override;
    void showEvent(QShowEvent *event) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;

private:
    void holdCellWidgets();
    void revealCellWidgets();
    /** Announces the model's changes held back while the cells were held, as one. */
    void passOnHeldChanges();

    int measuredHint(int row) const;
    /** Drops the row heights kept for the geometry updates of this turn of the event loop. */
    void forgetRowHints() const;
    /** Drops those and what is kept of the cells' text. */
    void forgetCells() const;
    int plainTextHeight(const QTableWidgetItem *cell) const;
    /** The row's height as Qt measures it, its cell widgets polished first. */
    int measuredByQt(int row) const;
    struct CellWidgetHeight
    {
        int hint;
        int minimum;
        int maximum;
    };
    /** The height hint and bounds of a cell widget, polished. */
    CellWidgetHeight cellWidgetHeight(const QWidget *widget) const;
    void forgetMeasurements();
    /** Polishes a cell widget now if it is not yet, whether or not its polish was put off. */
    void polishCellWidget(QWidget *widget) const;

    struct MeasuredLabel;

    bool m_holding = false;
    /** Whether a geometry update was put off while the view was hidden. */
    bool m_geometriesHeld = false;
    int m_updatingGeometries = 0;
    /** Row heights measured by a geometry update in this turn of the event loop; -1 unknown. */
    mutable std::vector<int> m_rowHints;
    /**
     * For each row, the columns whose cells held one line of plain text when last looked at;
     * UnknownCells when not looked at since they changed.
     */
    mutable std::vector<quint32> m_plainCells;
    /** Whether the model announced changes of cells while they were held. */
    bool m_changesHeld = false;
    mutable QObject *m_polishing = nullptr;
    mutable int m_plainTextHeight = -1;
    mutable std::vector<MeasuredLabel> m_measuredLabels;
    /** The cell widgets placed in view by the last pass, each with a guard against reuse. */
    QHash<QWidget *, QPointer<QWidget>> m_placed;
    /** Columns that have held a cell widget since the last reset: no others are asked. */
    QSet<int> m_widgetColumns;
};

#endif // LEDGERVIEW_H
