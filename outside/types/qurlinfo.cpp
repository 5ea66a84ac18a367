#include "qurlinfo.h"

QUrlInfo::QUrlInfo(const QString &name, int permissions, const QString &owner, const QString &group,
                   qint64 size, const QDateTime &lastModified, const QDateTime &lastRead,
                   bool isDir, bool isFile, bool isSymLink, bool isWritable, bool isReadable,
                   bool isExecutable)
    : m_name(name)
    , m_permissions(permissions)
    , m_owner(owner)
    , m_group(group)
    , m_size(size)
    , m_lastModified { lastModified }
    , m_lastRead { lastRead }
    , m_isDir(isDir)
    , m_isFile(isFile)
    , m_isSymLink(isSymLink)
    , m_isWritable(isWritable)
    , m_isReadable(isReadable)
    , m_isExecutable(isExecutable)
    , m_valid(true)
{ }

void QUrlInfo::setName(const QString &name)
{
    m_name = name;
    m_valid = true;
}

void QUrlInfo::setPermissions(int permissions)
{
    m_permissions = permissions;
    m_valid = true;
}

void QUrlInfo::setOwner(const QString &owner)
{
    m_owner = owner;
    m_valid = true;
}

void QUrlInfo::setGroup(const QString &group)
{
    m_group = group;
    m_valid = true;
}

void QUrlInfo::setSize(qint64 size)
{
    m_size = size;
    m_valid = true;
}

void QUrlInfo::setLastModified(const QDateTime &dateTime)
{
    m_lastModified = Time { dateTime };
    m_valid = true;
}

void QUrlInfo::setLastRead(const QDateTime &dateTime)
{
    m_lastRead = Time { dateTime };
    m_valid = true;
}

void QUrlInfo::setLastModifiedMSecs(qint64 msecsSinceEpoch)
{
    m_lastModified = Time { QDateTime(), msecsSinceEpoch, true };
    m_valid = true;
}

void QUrlInfo::setLastReadMSecs(qint64 msecsSinceEpoch)
{
    m_lastRead = Time { QDateTime(), msecsSinceEpoch, true };
    m_valid = true;
}

QDateTime QUrlInfo::Time::value() const
{
    if (!fromMSecs)
        return dateTime;
    return msecs ? QDateTime::fromMSecsSinceEpoch(msecs) : QDateTime();
}

void QUrlInfo::setDir(bool isDir)
{
    m_isDir = isDir;
    m_valid = true;
}

void QUrlInfo::setFile(bool isFile)
{
    m_isFile = isFile;
    m_valid = true;
}

void QUrlInfo::setSymLink(bool isSymLink)
{
    m_isSymLink = isSymLink;
    m_valid = true;
}

void QUrlInfo::setWritable(bool isWritable)
{
    m_isWritable = isWritable;
    m_valid = true;
}

void QUrlInfo::setReadable(bool isReadable)
{
    m_isReadable = isReadable;
    m_valid = true;
}

bool QUrlInfo::operator==(const QUrlInfo &other) const
{
    return m_valid == other.m_valid && m_name == other.m_name
        && m_permissions == other.m_permissions && m_owner == other.m_owner
        && m_group == other.m_group && m_size == other.m_size
        && lastModified() == other.lastModified() && lastRead() == other.lastRead()
        && m_isDir == other.m_isDir && m_isFile == other.m_isFile
        && m_isSymLink == other.m_isSymLink && m_isWritable == other.m_isWritable
        && m_isReadable == other.m_isReadable && m_isExecutable == other.m_isExecutable;
}

qint64 QUrlInfo::Time::msecsSinceEpoch() const
{
    if (fromMSecs)
        return msecs;
    return dateTime.isValid() ? dateTime.toMSecsSinceEpoch() : 0;
}
