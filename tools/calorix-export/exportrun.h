#ifndef EXPORTRUN_H
#define EXPORTRUN_H

#include "exportoptions.h"
#include "pictureanalysis.h"

#include <QHash>
#include <QStringList>

struct Thermogram;

/**
 * One run of calorix-export: finds the pictures, checks that everything asked for can be done,
 * then reads the pictures one at a time and writes what was asked for. Its status is the
 * program's exit status:
 *   0  every picture had data and every output was written;
 *   1  some pictures had no data, could not be read, or an output could not be written:
 *      each is named on standard error, and the others are done;
 *   2  nothing was done (a bad option, a tool outside the plane, no picture found, an output
 *      that exists without --force, an output folder that cannot be written): one line says
 *      which.
 */
class ExportRun
{
public:
    explicit ExportRun(const ExportOptions &options);

    int run();

    /** The instrument's pictures under a folder, found as the file browser finds them. */
    static QStringList picturesIn(const QString &folder);

private:
    bool findPictures();
    bool checkTools();
    bool checkOutputs();
    void planOutputNames();
    QString outputPath(const QString &folder, int picture, const char *suffix) const;
    /** The analysis a picture is exported under: saved (with --saved), then the options. */
    PictureAnalysis analysisFor(const QString &path, const Thermogram &thermogram) const;
    bool exportPicture(int index);
    bool writeReport();
    void complain(const QString &message);

    ExportOptions m_options;
    QStringList m_pictures;
    QStringList m_missing; // paths given that do not exist
    QStringList m_outputNames; // per picture, without suffix
    QList<int> m_measured; // the pictures that had data, for the report
};

#endif // EXPORTRUN_H
