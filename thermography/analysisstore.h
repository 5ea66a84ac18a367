#ifndef ANALYSISSTORE_H
#define ANALYSISSTORE_H

#include "thermography_global.h"

#include "pictureanalysis.h"

#include <QString>

/**
 * Keeps each picture's analysis in the user's data folder, one JSON file per picture named
 * after a hash of the picture file's bytes: a copy of the picture elsewhere finds the same
 * analysis, and nothing is ever written next to the picture.
 */
class THERMOGRAPHY_EXPORT AnalysisStore
{
public:
    enum Status { Missing, Loaded, Damaged };

    /** folder empty: QStandardPaths::AppDataLocation + "/analyses". */
    explicit AnalysisStore(const QString &folder = QString());

    QString folder() const { return m_folder; }
    /** The key of a picture: the SHA-256 of its bytes, in hex. */
    static QString keyFor(const QByteArray &pictureBytes);
    /** The key of the picture file at path; empty when it cannot be read. */
    static QString keyForFile(const QString &path);
    QString pathFor(const QString &key) const;

    /**
     * The analysis kept for key. A file that cannot be read or is not an analysis this
     * program wrote answers Damaged, with a one-line warning logged, and is left as it is.
     */
    Status load(const QString &key, PictureAnalysis *analysis) const;
    /** Writes the analysis atomically; a default analysis removes the file instead. */
    bool save(const QString &key, const PictureAnalysis &analysis) const;

private:
    QString m_folder;
};

#endif // ANALYSISSTORE_H
