#ifndef FINDFILES_H
#define FINDFILES_H

#include "dossview_global.h"

#include <QFileInfo>

#include <functional>

class QString;

/**
 * Appends to out, in visiting order, every file under the directory root, at any depth, whose
 * suffix matches suffix (case-insensitively; a blank suffix matches every file).
 *
 * The walk is depth-first over QDir's default listing: hidden and system entries are skipped,
 * entries come in case-insensitive name order with directories and files mixed, and the files
 * of a sub-folder appear at that folder's place. Directory links are followed, but each real
 * directory (by canonical path) is entered only the first time the walk reaches it, so link
 * cycles end. Every directory is read once, and the QFileInfo objects handed out carry the
 * status the listing already read.
 */
DOSSVIEW_EXPORT void findFiles(const QString &root, const QString &suffix, QFileInfoList &out);
/** The same, calling directoryRead each time the files of a directory have been appended. */
DOSSVIEW_EXPORT void findFiles(const QString &root, const QString &suffix, QFileInfoList &out,
                               const std::function<void()> &directoryRead);

#endif // FINDFILES_H
