#ifndef DISKTREE_H
#define DISKTREE_H

#include <QString>
#include <QStringList>

/** Disk trees for the tests: instrument pictures, decoys, links and pipes under a root. */
namespace DiskTree {

/** Writes an instrument picture at each root-relative path, with seeds counting from seed. */
bool writePictures(const QString &root, const QStringList &paths, int seed = 0);
/** A symbolic link at root-relative link pointing to target (taken as given). */
bool link(const QString &root, const QString &link, const QString &target);
/** A named pipe at path: opening it for reading blocks until a writer comes. */
bool makeFifo(const QString &path);
/** Opens the pipe for writing, writes bytes and closes it, which releases a blocked reader. */
bool feedFifo(const QString &path, const QByteArray &bytes);
/** The root-relative paths of infos, in their order. */
QStringList relativePaths(const QString &root, const QStringList &absolutePaths);

} // namespace DiskTree

#endif // DISKTREE_H
