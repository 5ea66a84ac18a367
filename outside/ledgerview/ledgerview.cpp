#include "ledgerview.h"

#include "qurlinfo.h"

Ledgerview::Ledgerview(QWidget *parent)
    : QTableWidget(parent)
{
    setWordWrap(false);
}

Ledgerview::~Ledgerview() = default;

void Ledgerview::setActiveFile(const QUrlInfo *file)
{
    const quintptr wanted = reinterpret_cast<quintptr>(file);
    const int current = currentRow();
    if (current >= 0) {
        const QTableWidgetItem *nameItem = item(current, 2);
        if (nameItem && nameItem->data(Qt::UserRole + 1).value<quintptr>() == wanted)
            return;
    }
    for (int row = 0; row < rowCount(); ++row) {
        const QTableWidgetItem *nameItem = item(row, 2);
        if (nameItem && nameItem->data(Qt::UserRole + 1).value<quintptr>() == wanted) {
            setCurrentCell(row, 2);
            return;
        }
    }
}
