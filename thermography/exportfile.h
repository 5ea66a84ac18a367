#ifndef EXPORTFILE_H
#define EXPORTFILE_H

#include "thermography_global.h"

#include <QByteArray>
#include <QString>

/**
 * Writes export files whole or not at all: the bytes go to a temporary file beside the target,
 * which replaces the target only once everything is on disk. A write that fails leaves the
 * target as it was and no partial file behind.
 */
class THERMOGRAPHY_EXPORT ExportFile
{
public:
    static bool write(const QString &path, const QByteArray &bytes, QString *error = nullptr);
    /**
     * Whether a file can be created in folder (made when missing): tries one, and removes it.
     * Asks the file system rather than the permission bits, which mean nothing to root.
     */
    static bool canWriteIn(const QString &folder, QString *error = nullptr);
};

#endif // EXPORTFILE_H
