#include "ownernamecache.h"

#include <QFileInfo>

QString OwnerNameCache::owner(uint id, const QFileInfo &info)
{
    // -2 is QFileInfo's "no id" (no such file, or a system without ids): nothing to share
    if (id == uint(-2))
        return info.owner();
    auto found = m_owners.constFind(id);
    if (found == m_owners.constEnd())
        found = m_owners.insert(id, info.owner());
    return found.value();
}

QString OwnerNameCache::group(uint id, const QFileInfo &info)
{
    if (id == uint(-2))
        return info.group();
    auto found = m_groups.constFind(id);
    if (found == m_groups.constEnd())
        found = m_groups.insert(id, info.group());
    return found.value();
}
