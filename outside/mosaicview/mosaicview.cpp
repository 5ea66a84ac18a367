#include "mosaicview.h"

#include "qurlinfo.h"

Mosaicview::Mosaicview(QWidget *parent)
    : QListWidget(parent)
{
    setViewMode(QListView::IconMode);
    setIconSize(QSize(144, 192));
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setUniformItemSizes(true);
}

Mosaicview::~Mosaicview() = default;

void Mosaicview::setActiveFile(const QUrlInfo *file)
{
    const quintptr wanted = reinterpret_cast<quintptr>(file);
    for (int row = 0; row < count(); ++row) {
        if (item(row)->data(Qt::UserRole + 1).value<quintptr>() == wanted) {
            if (currentRow() != row)
                setCurrentRow(row);
            return;
        }
    }
}
