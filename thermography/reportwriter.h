#ifndef REPORTWRITER_H
#define REPORTWRITER_H

#include "thermography_global.h"

#include <QCoreApplication>
#include <QDate>
#include <QImage>
#include <QPair>
#include <QStringList>
#include <QVector>

#include <functional>

/** The report's title page. */
struct THERMOGRAPHY_EXPORT ReportTitle
{
    QString title;
    QString customer;
    QString place;
    QString inspector;
    QDate date;
};

/** One picture's page, in the words it is printed with. */
struct THERMOGRAPHY_EXPORT ReportPage
{
    QString fileName;
    QImage picture; ///< the picture as exported to PNG
    QVector<QPair<QString, QString>> parameters; ///< label, value
    QStringList toolColumns; ///< the tools table's headings; no table when empty
    QVector<QStringList> toolRows;
    QString note;
};

/**
 * Writes a report as PDF with QPdfWriter: a title page, then a page per picture (the picture,
 * its parameters, its tools table and its note), every page numbered "Page n of N". The texts
 * are in the language of the installed translators and set in one CJK-capable font, embedded
 * as a subset, so the report prints the same anywhere.
 *
 * Pages are asked for one at a time, so a report of many pictures never holds them all. The
 * file is written whole or not at all: a failed or cancelled report leaves the target as it was.
 */
class THERMOGRAPHY_EXPORT ReportWriter
{
    Q_DECLARE_TR_FUNCTIONS(ReportWriter)
public:
    /** The font family the report is set in. */
    static QString fontFamily();

    /** Makes page index (0 … count − 1); called once for each, in order. */
    using PageSource = std::function<ReportPage(int index)>;
    /** Told how many pictures are done; answers false to cancel. */
    using Progress = std::function<bool(int done)>;

    enum class Result { Written, Cancelled, Failed };

    static Result write(const QString &path, const ReportTitle &title, int count,
                        const PageSource &pages, const Progress &progress = Progress(),
                        QString *error = nullptr);
};

#endif // REPORTWRITER_H
