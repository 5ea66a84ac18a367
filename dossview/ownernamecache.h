#ifndef OWNERNAMECACHE_H
#define OWNERNAMECACHE_H

#include <QHash>
#include <QString>

class QFileInfo;

/**
 * The owner and group names of files, looked up once per user and group id. QFileInfo looks
 * them up again for every file, which reads the system's user and group databases each time.
 * The names are those QFileInfo::owner() and QFileInfo::group() give.
 */
class OwnerNameCache
{
public:
    /** The names for a file whose ids are known: info is asked only for a name not seen yet. */
    QString owner(uint ownerId, const QFileInfo &info);
    QString group(uint groupId, const QFileInfo &info);

private:
    QHash<uint, QString> m_owners;
    QHash<uint, QString> m_groups;
};

#endif // OWNERNAMECACHE_H
