#include "ledgerview.h"

#include "qurlinfo.h"

Ledgerview::Ledgerview(QWidget *parent)
    : QTableWidget(parent)
{
}

Ledgerview::~Ledgerview() = default;

void Ledgerview::setActiveFile(const QUrlInfo *file)
{
    const quintptr wanted = reinterpret_cast<quintptr>(file);
    for (int row = 0; row < rowCount(); ++row) {
        const QTableWidgetItem *nameItem = item(row, 2);
        if (nameItem && nameItem->data(Qt::UserRole + 1).value<quintptr>() == wanted) {
            if (currentRow() != row)
                setCurrentCell(row, 2);
            return;
        }
    }
}
