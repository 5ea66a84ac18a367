#ifndef LEDGERVIEW_H
#define LEDGERVIEW_H

#include "ledgerview_global.h"

#include <QTableWidget>

class QUrlInfo;

/** The detail table of a file listing: one row per picture, configured by its window. */
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
};

#endif // LEDGERVIEW_H
