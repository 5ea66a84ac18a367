#ifndef PICTUREEXPORT_H
#define PICTUREEXPORT_H

#include "thermography_global.h"

#include "pictureanalysis.h"
#include "picturefacts.h"
#include "reportwriter.h"
#include "temperatureplane.h"
#include "thermogram.h"

#include <QCoreApplication>

/**
 * One picture taken out of Calorix: its temperatures under its analysis (correction, tools,
 * palette, range, isotherm) as CSV, float TIFF, PNG, a JSON line and a report page. The picture
 * page and calorix-export both export through it, so they never disagree. The plane and the
 * tools' figures are computed once, when it is made.
 */
class THERMOGRAPHY_EXPORT PictureExport
{
    Q_DECLARE_TR_FUNCTIONS(PictureExport)
public:
    /** The width of the PNG's picture; the scale and the parameter line come beside it. */
    static constexpr int PictureWidth = 640;

    PictureExport(const QString &fileName, const Thermogram &thermogram,
                  const PictureAnalysis &analysis = PictureAnalysis());

    bool hasData() const { return m_plane.isValid(); }
    const TemperaturePlane &plane() const { return m_plane; }
    const PictureFacts &facts() const { return m_facts; }
    const QVector<ToolStatistics> &statistics() const { return m_statistics; }

    QByteArray csv() const;
    QByteArray tiff() const;
    /** What the picture page shows, drawn by the same painter, with a line of parameters. */
    QImage image() const;
    QByteArray png() const;
    /** The picture's line for scripts (without the newline); path is named as given. */
    QByteArray jsonLine(const QString &path) const;
    static QByteArray noDataJsonLine(const QString &path);
    /** The analysis the picture page kept for the picture at path, or the default one. */
    static PictureAnalysis savedAnalysis(const QString &path);
    ReportPage reportPage(const QString &note = QString()) const;

    /** A temperature as the report writes it: "23.45 °C", or "–" for no value. */
    static QString celsiusText(double celsius);

    /** The palette's name as the report prints it. */

private:
    QString parameterLine() const;
    QString correctionText() const;

    QString m_fileName;
    Thermogram m_thermogram;
    PictureAnalysis m_analysis;
    TemperaturePlane m_plane;
    PictureFacts m_facts;
    QVector<ToolStatistics> m_statistics;
};

#endif // PICTUREEXPORT_H
