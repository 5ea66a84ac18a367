#include "pictureexportactions.h"

#include "exportfile.h"
#include "pictureexport.h"
#include "picturepage.h"
#include "reportcollection.h"
#include "reportdialog.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QToolBar>

PictureExportActions::PictureExportActions(PicturePage *page, QToolBar *toolBar)
    : QObject(page)
    , m_page(page)
    , m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("calorix"),
                 QStringLiteral("calorix"))
    , m_collection(std::make_unique<ReportCollection>(m_settings))
{
    toolBar->addSeparator();
    m_export = toolBar->addAction(tr("Export…"), this, &PictureExportActions::chooseExport);
    m_export->setObjectName(QStringLiteral("exportPictureAction"));
    m_export->setToolTip(tr("Export the picture as PNG, its temperatures as CSV or TIFF"));
    m_addToReport
        = toolBar->addAction(tr("Add to report"), this, &PictureExportActions::addToReport);
    m_addToReport->setObjectName(QStringLiteral("addToReportAction"));
    m_report = toolBar->addAction(tr("Report…"), this, &PictureExportActions::showReport);
    m_report->setObjectName(QStringLiteral("reportAction"));
    // A new picture brings its analysis along: the actions follow the page.
    connect(page, &PicturePage::analysisChanged, this, &PictureExportActions::update);
    update();
}

PictureExportActions::~PictureExportActions()
{
    delete m_dialog.data(); // it works on the collection that goes with this
}

void PictureExportActions::update()
{
    const bool measured = m_page->thermogram().isValid();
    m_export->setEnabled(measured);
    m_addToReport->setEnabled(measured && !m_collection->contains(m_page->fileName()));
}

bool PictureExportActions::exportTo(const QString &path, QString *error) const
{
    const PictureExport picture(QFileInfo(m_page->fileName()).fileName(), m_page->thermogram(),
                                m_page->analysis());
    const QString suffix = QFileInfo(path).suffix().toLower();
    QByteArray bytes;
    if (suffix == QLatin1String("csv"))
        bytes = picture.csv();
    else if (suffix == QLatin1String("tif") || suffix == QLatin1String("tiff"))
        bytes = picture.tiff();
    else
        bytes = picture.png();
    if (bytes.isEmpty()) {
        if (error)
            *error = tr("This picture has no temperature data.");
        return false;
    }
    return ExportFile::write(path, bytes, error);
}

void PictureExportActions::chooseExport()
{
    const QString png = tr("PNG picture (*.png)");
    const QString csv = tr("CSV temperatures (*.csv)");
    const QString tiff = tr("TIFF temperatures (*.tiff)");
    QString filter = png;
    const QFileInfo picture(m_page->fileName());
    // The dialogs belong to the main window, not to the page: the sub-window may close while
    // they are open (its disk unplugged), and nothing of it is used after that.
    const QPointer<PictureExportActions> alive(this);
    QWidget *window = m_page->window();
    // The dialog does not ask about replacing: the suffix may still be added below, and the
    // question is asked once, about the file that would really be replaced.
    QString path = QFileDialog::getSaveFileName(
        window, tr("Export picture"), picture.completeBaseName() + QStringLiteral(".png"),
        QStringList { png, csv, tiff }.join(QStringLiteral(";;")), &filter,
        QFileDialog::DontConfirmOverwrite);
    if (!alive || path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += filter == csv ? QStringLiteral(".csv")
            : filter == tiff  ? QStringLiteral(".tiff")
                              : QStringLiteral(".png");
    if (QFileInfo::exists(path)
        && QMessageBox::question(window, tr("Export picture"),
                                 tr("%1 exists. Replace it?").arg(QFileInfo(path).fileName()),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
        return;
    QString error;
    if (alive && !exportTo(path, &error))
        QMessageBox::warning(window, tr("Export picture"),
                             tr("%1 could not be written: %2").arg(path, error));
}

void PictureExportActions::addToReport()
{
    m_collection->add(m_page->fileName());
    update();
}

void PictureExportActions::showReport()
{
    if (m_dialog) {
        m_dialog->raise();
        return;
    }
    m_dialog = new ReportDialog(*m_collection, m_page->window());
    m_dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_dialog, &QDialog::finished, this, &PictureExportActions::update);
    m_dialog->open();
}
