#ifndef PICTUREEXPORTACTIONS_H
#define PICTUREEXPORTACTIONS_H

#include "panelet_global.h"

#include <QObject>
#include <QPointer>
#include <QSettings>

#include <memory>

class PicturePage;
class QAction;
class QToolBar;
class ReportCollection;
class ReportDialog;

/**
 * The picture page's way out: Export… (the picture as PNG, its temperatures as CSV or float
 * TIFF), Add to report, and Report… (the collected pictures, their notes, the title page and
 * the PDF). They sit in the page's own tool bar and are enabled while the page shows a
 * picture with temperatures. An existing file is replaced only after the user agrees.
 */
class PANELET_EXPORT PictureExportActions : public QObject
{
    Q_OBJECT
public:
    PictureExportActions(PicturePage *page, QToolBar *toolBar);
    ~PictureExportActions() override;

    QAction *exportAction() const { return m_export; }
    QAction *addToReportAction() const { return m_addToReport; }
    QAction *reportAction() const { return m_report; }
    ReportCollection &collection() const { return *m_collection; }

    /**
     * Writes the page's picture to path, in the format its suffix names (png, csv, tif or
     * tiff), whole or not at all. False with a reason in error otherwise.
     */
    bool exportTo(const QString &path, QString *error = nullptr) const;
    /** Enables the actions for what the page shows now. */
    void update();

private:
    void chooseExport();
    void addToReport();
    void showReport();

    PicturePage *m_page;
    QSettings m_settings;
    std::unique_ptr<ReportCollection> m_collection;
    QAction *m_export = nullptr;
    QAction *m_addToReport = nullptr;
    QAction *m_report = nullptr;
    QPointer<ReportDialog> m_dialog;
};

#endif // PICTUREEXPORTACTIONS_H
