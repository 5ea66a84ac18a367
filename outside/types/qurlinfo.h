#ifndef QURLINFO_H
#define QURLINFO_H

#include "outsidetypes_global.h"

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>

/**
 * A file's information record, with the constructor, the permission bits and the accessors of
 * the record Qt 4 shipped under this name (Qt 5 no longer makes it public). Calorix uses it as
 * the record of one listed picture: name() holds the file's absolute path.
 */
class OUTSIDETYPES_EXPORT QUrlInfo
{
public:
    enum PermissionSpec {
        ReadOwner = 00400,
        WriteOwner = 00200,
        ExeOwner = 00100,
        ReadGroup = 00040,
        WriteGroup = 00020,
        ExeGroup = 00010,
        ReadOther = 00004,
        WriteOther = 00002,
        ExeOther = 00001
    };

    QUrlInfo() = default;
    QUrlInfo(const QString &name, int permissions, const QString &owner, const QString &group,
             qint64 size, const QDateTime &lastModified, const QDateTime &lastRead, bool isDir,
             bool isFile, bool isSymLink, bool isWritable, bool isReadable, bool isExecutable);

    QString name() const { return m_name; }
    int permissions() const { return m_permissions; }
    QString owner() const { return m_owner; }
    QString group() const { return m_group; }
    qint64 size() const { return m_size; }
    QDateTime lastModified() const { return m_lastModified.value(); }
    QDateTime lastRead() const { return m_lastRead.value(); }
    /** lastModified() in milliseconds since the epoch without turning it into local time; 0 when
     * there is no time. */
    qint64 lastModifiedMSecs() const { return m_lastModified.msecsSinceEpoch(); }
    bool isDir() const { return m_isDir; }
    bool isFile() const { return m_isFile; }
    bool isSymLink() const { return m_isSymLink; }
    bool isWritable() const { return m_isWritable; }
    bool isReadable() const { return m_isReadable; }
    bool isExecutable() const { return m_isExecutable; }
    bool isValid() const { return m_valid; }

    void setName(const QString &name);
    void setPermissions(int permissions);
    void setOwner(const QString &owner);
    void setGroup(const QString &group);
    void setSize(qint64 size);
    void setLastModified(const QDateTime &dateTime);
    void setLastRead(const QDateTime &dateTime);
    /**
     * Times as milliseconds since the epoch, as a file's status gives them; they read back as
     * local time, as QFileInfo gives them, and 0 as no time. Turning a time into local time
     * costs a time-zone look-up: a listing of thousands of files pays it only for the times
     * somebody reads.
     */
    void setLastModifiedMSecs(qint64 msecsSinceEpoch);
    void setLastReadMSecs(qint64 msecsSinceEpoch);
    void setDir(bool isDir);
    void setFile(bool isFile);
    void setSymLink(bool isSymLink);
    void setWritable(bool isWritable);
    void setReadable(bool isReadable);

    bool operator==(const QUrlInfo &other) const;
    bool operator!=(const QUrlInfo &other) const { return !(*this == other); }

private:
    /** A time given either as it is or as milliseconds since the epoch, for local time. */
    struct Time
    {
        QDateTime dateTime;
        qint64 msecs = 0;
        bool fromMSecs = false;

        QDateTime value() const;
        qint64 msecsSinceEpoch() const;
    };

    QString m_name;
    int m_permissions = 0;
    QString m_owner;
    QString m_group;
    qint64 m_size = 0;
    Time m_lastModified;
    Time m_lastRead;
    bool m_isDir = false;
    bool m_isFile = false;
    bool m_isSymLink = false;
    bool m_isWritable = false;
    bool m_isReadable = false;
    bool m_isExecutable = false;
    bool m_valid = false;
};

Q_DECLARE_METATYPE(QUrlInfo *)
Q_DECLARE_METATYPE(QList<QUrlInfo *>)

#endif // QURLINFO_H
