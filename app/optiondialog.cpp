#include "optiondialog.h"

OptionDialog::OptionDialog(QWidget *parent)
    : QDialog(parent)
{ }

OptionDialog::~OptionDialog() = default;

void OptionDialog::on_btnHistoryFilesPath_clicked() { }
