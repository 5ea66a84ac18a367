#include "disktree.h"

#include "testpictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

bool DiskTree::writePictures(const QString &root, const QStringList &paths, int seed)
{
    for (const QString &path : paths) {
        if (!TestPictures::writeFile(root + QLatin1Char('/') + path,
                                     TestPictures::instrumentPicture(seed++)))
            return false;
    }
    return true;
}

bool DiskTree::link(const QString &root, const QString &link, const QString &target)
{
    const QString path = root + QLatin1Char('/') + link;
    QDir().mkpath(QFileInfo(path).absolutePath());
    return QFile::link(target, path);
}

bool DiskTree::makeFifo(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

bool DiskTree::feedFifo(const QString &path, const QByteArray &bytes)
{
    QFile pipe(path);
    if (!pipe.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    return pipe.write(bytes) == bytes.size();
}

QStringList DiskTree::relativePaths(const QString &root, const QStringList &absolutePaths)
{
    QStringList result;
    const QDir dir(root);
    for (const QString &path : absolutePaths)
        result.append(dir.relativeFilePath(path));
    return result;
}
