#include "exportfile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

bool ExportFile::write(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    file.cancelWriting();
    return false;
}

bool ExportFile::canWriteIn(const QString &folder, QString *error)
{
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        if (error)
            *error = QStringLiteral("not a folder");
        return false;
    }
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("cannot be created");
        return false;
    }
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".calorix-XXXXXX")));
    if (!probe.open()) {
        if (error)
            *error = probe.errorString();
        return false;
    }
    return true;
}
