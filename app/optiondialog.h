#ifndef OPTIONDIALOG_H
#define OPTIONDIALOG_H

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

/** The modal dialog for the interface language and the history-files directory. */
class OptionDialog : public QDialog
{
    Q_OBJECT
public:
    explicit OptionDialog(QWidget *parent = nullptr);
    ~OptionDialog() override;

    QComboBox *cbbLanguage = nullptr;
    QLineEdit *ledHistoryFilesPath = nullptr;
    QPushButton *btnHistoryFilesPath = nullptr;
    QPushButton *btnOk = nullptr;
    QPushButton *btnCancel = nullptr;

public slots:
    void on_btnHistoryFilesPath_clicked();
};

#endif // OPTIONDIALOG_H
