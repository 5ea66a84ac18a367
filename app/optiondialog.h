#ifndef OPTIONDIALOG_H
#define OPTIONDIALOG_H

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

/**
 * The modal dialog for the interface language and the history-files directory. It keeps no
 * setting of its own: the caller fills the public fields before exec() and reads them back after
 * an accepted exec(). OK accepts, Cancel, Escape and the close button reject.
 */
class OptionDialog : public QDialog
{
    Q_OBJECT
public:
    explicit OptionDialog(QWidget *parent = nullptr);
    ~OptionDialog() override;

    QComboBox *cbbLanguage = nullptr; ///< index 0 "中文" (code "CH"), index 1 "English" ("EN")
    QLineEdit *ledHistoryFilesPath = nullptr;
    QPushButton *btnHistoryFilesPath = nullptr;
    QPushButton *btnOk = nullptr;
    QPushButton *btnCancel = nullptr;

public slots:
    /**
     * Lets the user pick a directory; an existing one goes into the path field and its tool tip.
     * A cancelled chooser leaves both as they were.
     */
    void on_btnHistoryFilesPath_clicked();

protected:
    /** Asks the user for a directory; an empty string means cancelled. Tests replace it. */
    virtual QString chooseDirectory();
};

#endif // OPTIONDIALOG_H
