#include "reportdialog.h"

#include "pictureexport.h"
#include "reportcollection.h"
#include "thermogramformat.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

ReportDialog::ReportDialog(ReportCollection &collection, QWidget *parent)
    : QDialog(parent)
    , m_collection(collection)
    , m_list(new QListWidget(this))
    , m_up(new QPushButton(tr("Up"), this))
    , m_down(new QPushButton(tr("Down"), this))
    , m_remove(new QPushButton(tr("Remove"), this))
    , m_note(new QPlainTextEdit(this))
    , m_title(new QLineEdit(this))
    , m_customer(new QLineEdit(this))
    , m_place(new QLineEdit(this))
    , m_inspector(new QLineEdit(this))
    , m_date(new QDateEdit(this))
    , m_write(new QPushButton(tr("Write PDF…"), this))
    , m_status(new QLabel(this))
{
    setWindowTitle(tr("Report"));
    m_list->setObjectName(QStringLiteral("reportPictures"));
    m_note->setObjectName(QStringLiteral("reportNote"));
    m_note->setPlaceholderText(tr("Note for this picture"));
    m_status->setObjectName(QStringLiteral("reportStatus"));
    m_status->setWordWrap(true);
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));

    const ReportTitle title = m_collection.title();
    m_title->setText(title.title);
    m_customer->setText(title.customer);
    m_place->setText(title.place);
    m_inspector->setText(title.inspector);
    m_date->setDate(title.date.isValid() ? title.date : QDate::currentDate());

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_up);
    buttons->addWidget(m_down);
    buttons->addWidget(m_remove);
    buttons->addStretch();
    auto *pictures = new QHBoxLayout;
    pictures->addWidget(m_list, 1);
    pictures->addLayout(buttons);
    auto *picturesBox = new QGroupBox(tr("Pictures"), this);
    auto *picturesLayout = new QVBoxLayout(picturesBox);
    picturesLayout->addLayout(pictures, 2);
    picturesLayout->addWidget(m_note, 1);

    auto *titleBox = new QGroupBox(tr("Title page"), this);
    auto *form = new QFormLayout(titleBox);
    form->addRow(tr("Title"), m_title);
    form->addRow(tr("Customer"), m_customer);
    form->addRow(tr("Place"), m_place);
    form->addRow(tr("Inspector"), m_inspector);
    form->addRow(tr("Date"), m_date);

    auto *box = new QDialogButtonBox(QDialogButtonBox::Close, this);
    box->addButton(m_write, QDialogButtonBox::ActionRole);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(picturesBox, 1);
    layout->addWidget(titleBox);
    layout->addWidget(m_status);
    layout->addWidget(box);

    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_write, &QPushButton::clicked, this, &ReportDialog::chooseFile);
    connect(m_up, &QPushButton::clicked, this, [this] { moveCurrent(-1); });
    connect(m_down, &QPushButton::clicked, this, [this] { moveCurrent(1); });
    connect(m_remove, &QPushButton::clicked, this, &ReportDialog::removeCurrent);
    connect(m_list, &QListWidget::currentRowChanged, this, &ReportDialog::showCurrent);
    connect(m_note, &QPlainTextEdit::textChanged, this,
            [this] { m_collection.setNote(m_list->currentRow(), m_note->toPlainText()); });
    for (QLineEdit *edit : { m_title, m_customer, m_place, m_inspector })
        connect(edit, &QLineEdit::textChanged, this, &ReportDialog::saveTitle);
    connect(m_date, &QDateEdit::dateChanged, this, &ReportDialog::saveTitle);

    fillList();
    resize(560, 600);
}

QString ReportDialog::status() const
{
    return m_status->text();
}

void ReportDialog::fillList()
{
    const int row = m_list->currentRow();
    m_list->clear();
    for (const ReportCollection::Entry &entry : m_collection.entries()) {
        auto *item = new QListWidgetItem(QFileInfo(entry.path).fileName(), m_list);
        item->setToolTip(entry.path);
    }
    m_list->setCurrentRow(qBound(-1, row < 0 ? 0 : row, m_list->count() - 1));
    showCurrent();
}

void ReportDialog::showCurrent()
{
    const int row = m_list->currentRow();
    const bool chosen = row >= 0 && row < m_collection.size();
    const QSignalBlocker blocker(m_note);
    m_note->setPlainText(chosen ? m_collection.entries().at(row).note : QString());
    m_note->setEnabled(chosen);
    m_up->setEnabled(chosen && row > 0);
    m_down->setEnabled(chosen && row + 1 < m_collection.size());
    m_remove->setEnabled(chosen);
    m_write->setEnabled(m_collection.size() > 0 && !m_writing);
}

void ReportDialog::moveCurrent(int by)
{
    const int row = m_list->currentRow();
    m_collection.move(row, row + by);
    m_list->setCurrentRow(-1);
    fillList();
    m_list->setCurrentRow(qBound(0, row + by, m_list->count() - 1));
}

void ReportDialog::removeCurrent()
{
    m_collection.remove(m_list->currentRow());
    fillList();
}

void ReportDialog::saveTitle()
{
    m_collection.setTitle({ m_title->text(), m_customer->text(), m_place->text(),
                            m_inspector->text(), m_date->date() });
}

void ReportDialog::chooseFile()
{
    // Asked once about the file that would really be replaced, after the suffix is added.
    const QPointer<ReportDialog> alive(this);
    QString path = QFileDialog::getSaveFileName(parentWidget(), tr("Write report"), QString(),
                                                tr("PDF files (*.pdf)"), nullptr,
                                                QFileDialog::DontConfirmOverwrite);
    if (!alive || path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    if (QFileInfo::exists(path)
        && QMessageBox::question(parentWidget(), tr("Write report"),
                                 tr("%1 exists. Replace it?").arg(QFileInfo(path).fileName()),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
        return;
    if (alive)
        writeReport(path);
}

bool ReportDialog::writeReport(const QString &path)
{
    if (m_writing)
        return false; // one report at a time: the progress dialog lets events in
    m_writing = true;
    m_write->setEnabled(false);

    // The collection may change while the report is written; it works from a copy.
    const QVector<ReportCollection::Entry> entries = m_collection.entries();
    QVector<int> measured;
    QStringList leftOut;
    for (int index = 0; index < entries.size(); ++index) {
        if (ThermogramFormat::readFile(entries.at(index).path))
            measured.append(index);
        else
            leftOut.append(QFileInfo(entries.at(index).path).fileName());
    }

    const QPointer<ReportDialog> alive(this);
    const QPointer<QProgressDialog> progress
        = new QProgressDialog(tr("Writing the report…"), tr("Cancel"), 0, measured.size(), this);
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(0);
    const auto page = [&](int number) {
        const ReportCollection::Entry &entry = entries.at(measured.at(number));
        const Thermogram thermogram = ThermogramFormat::readFile(entry.path).value_or(Thermogram());
        return PictureExport(QFileInfo(entry.path).fileName(), thermogram,
                             PictureExport::savedAnalysis(entry.path))
            .reportPage(entry.note);
    };
    const auto advance = [&](int done) {
        if (!progress)
            return false; // the dialog went meanwhile
        progress->setValue(done);
        return progress && !progress->wasCanceled();
    };
    QString error;
    const ReportWriter::Result result
        = ReportWriter::write(path, m_collection.title(), measured.size(), page, advance, &error);
    if (!alive)
        return result == ReportWriter::Result::Written;
    delete progress.data();
    m_writing = false;
    m_write->setEnabled(m_collection.size() > 0);

    QString text;
    if (result == ReportWriter::Result::Written)
        text = tr("Report written; pictures in it: %1.").arg(measured.size());
    else if (result == ReportWriter::Result::Cancelled)
        text = tr("The report was cancelled; no file was written.");
    else
        text = tr("The report could not be written: %1").arg(error);
    if (!leftOut.isEmpty())
        text += QLatin1Char(' ')
            + tr("Left out (no temperature data): %1").arg(leftOut.join(QStringLiteral(", ")));
    m_status->setText(text);
    return result == ReportWriter::Result::Written;
}
