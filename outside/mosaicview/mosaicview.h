#ifndef MOSAICVIEW_H
#define MOSAICVIEW_H

#include "mosaicview_global.h"

#include <QListWidget>

class QUrlInfo;

/** The thumbnail grid of a file listing: a QListWidget in icon mode. */
class MOSAICVIEW_EXPORT Mosaicview : public QListWidget
{
    Q_OBJECT
public:
    explicit Mosaicview(QWidget *parent = nullptr);
    ~Mosaicview() override;

    /**
     * Makes the item whose data (role Qt::UserRole + 1) holds this record the current one.
     * No row change is signalled when it already is current.
     */
    void setActiveFile(const QUrlInfo *file);
};

#endif // MOSAICVIEW_H
