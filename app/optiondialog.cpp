#include "optiondialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

OptionDialog::OptionDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Options"));

    // The language names are shown in their own language, never translated.
    cbbLanguage = new QComboBox;
    cbbLanguage->addItem(QStringLiteral("中文"));
    cbbLanguage->addItem(QStringLiteral("English"));

    ledHistoryFilesPath = new QLineEdit;
    ledHistoryFilesPath->setMinimumWidth(300);

    btnHistoryFilesPath = new QPushButton(QStringLiteral("..."));
    btnHistoryFilesPath->setStyleSheet(QStringLiteral("min-height: 10px;min-width: 10px;"));

    auto *pathRow = new QHBoxLayout;
    pathRow->setSpacing(1);
    pathRow->addWidget(ledHistoryFilesPath);
    pathRow->addWidget(btnHistoryFilesPath);

    auto *form = new QFormLayout;
    form->addRow(tr("Language"), cbbLanguage);
    form->addRow(tr("History files path"), pathRow);

    btnOk = new QPushButton(tr("Ok"));
    btnCancel = new QPushButton(tr("Cancel"));

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(btnOk);
    buttonRow->addWidget(btnCancel);

    auto *mainLayout = new QVBoxLayout;
    mainLayout->addLayout(form);
    mainLayout->addLayout(buttonRow);
    setLayout(mainLayout);

    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnHistoryFilesPath, &QPushButton::clicked, this,
            &OptionDialog::on_btnHistoryFilesPath_clicked);
}

OptionDialog::~OptionDialog() = default;

void OptionDialog::on_btnHistoryFilesPath_clicked()
{
    const QString path = chooseDirectory();
    // QDir("") names the working directory, which exists: a cancelled chooser must not pass.
    if (path.isEmpty() || !QDir(path).exists())
        return;
    ledHistoryFilesPath->setText(path);
    ledHistoryFilesPath->setToolTip(path);
}

QString OptionDialog::chooseDirectory()
{
    return QFileDialog::getExistingDirectory(this, tr("Choose path"), QString(),
                                             QFileDialog::ShowDirsOnly);
}
