#ifndef REPORTDIALOG_H
#define REPORTDIALOG_H

#include "panelet_global.h"

#include <QDialog>

class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class ReportCollection;

/**
 * The report being collected: its pictures in order, which the user reorders and removes and
 * gives notes, the title page's fields, and the button that writes the PDF. Every change goes
 * straight into the collection, so it is kept even when the dialog is not closed properly.
 */
class PANELET_EXPORT ReportDialog : public QDialog
{
    Q_OBJECT
public:
    /** collection must outlive the dialog. */
    explicit ReportDialog(ReportCollection &collection, QWidget *parent = nullptr);

    /**
     * Writes the report to path, showing progress with a cancel button. Pictures that can no
     * longer be read or hold no temperatures are left out and named in the dialog. True when
     * the file was written.
     */
    bool writeReport(const QString &path);
    /** What the last report did, as the dialog shows it. */
    QString status() const;

private:
    void fillList();
    void showCurrent();
    void moveCurrent(int by);
    void removeCurrent();
    void saveTitle();
    void chooseFile();

    ReportCollection &m_collection;
    QListWidget *m_list = nullptr;
    QPushButton *m_up = nullptr;
    QPushButton *m_down = nullptr;
    QPushButton *m_remove = nullptr;
    QPlainTextEdit *m_note = nullptr;
    QLineEdit *m_title = nullptr;
    QLineEdit *m_customer = nullptr;
    QLineEdit *m_place = nullptr;
    QLineEdit *m_inspector = nullptr;
    QDateEdit *m_date = nullptr;
    QPushButton *m_write = nullptr;
    QLabel *m_status = nullptr;
    bool m_writing = false;
};

#endif // REPORTDIALOG_H
