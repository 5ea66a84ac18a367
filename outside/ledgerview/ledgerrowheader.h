#ifndef LEDGERROWHEADER_H
#define LEDGERROWHEADER_H

#include "ledgerview_global.h"

#include <QHeaderView>

/**
 * The row header of a Ledgerview. A header that sizes its sections to their contents asks
 * the style for the size of every section's label, and a style sheet answers slowly: with
 * thousands of rows that costs a tenth of a second on every layout pass. The label of a
 * section is one line of plain text in the header's font for nearly every row, and all such
 * labels are equally high, so that height is measured once. The width of each label still
 * comes from the style, for the header's own size hint.
 *
 * Its minimum section size, asked for every section of each pass, is worked out as Qt does
 * whenever the font or the style changes, not on every call, unless it was set from outside.
 */
class LEDGERVIEW_EXPORT LedgerRowHeader : public QHeaderView
{
    Q_OBJECT
public:
    explicit LedgerRowHeader(QWidget *parent = nullptr);
    ~LedgerRowHeader() override;

    QSize sizeHint() const override;

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;

private:
    bool isPlainLabel(int logicalIndex) const;
    /** Sets the minimum section size Qt would work out, unless another one was set. */
    void pinMinimumSectionSize();

    mutable int m_plainHeight = -1;
    mutable bool m_measuringWidth = false;
    /** The minimum section size set by this class; -1 when none was. */
    int m_pinnedMinimum = -1;
};

#endif // LEDGERROWHEADER_H
