#include "settingslocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {
const QLatin1String s_optionsFileName("/options.xml");
const QLatin1String s_historyFolderName("/History");
} // namespace

SettingsLocation::SettingsLocation(const QString &programFolder, const QString &userConfigFolder,
                                   const QString &userDataFolder, const FolderProbe &canWrite)
    : m_programFolder(programFolder)
    , m_userConfigFolder(userConfigFolder)
    , m_userDataFolder(userDataFolder)
    , m_portable(!isSystemProgramFolder(programFolder) && canWrite(programFolder))
{ }

SettingsLocation SettingsLocation::forThisProgram(const FolderProbe &canWrite)
{
    // One probe per process: a probe failing once between start and close must not make the
    // window read one file and write another.
    static const SettingsLocation location(
        QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), canWrite);
    return location;
}

bool SettingsLocation::isSystemProgramFolder(const QString &folder)
{
#ifdef Q_OS_UNIX
    static const QStringList systemFolders
        = { QStringLiteral("/bin"),           QStringLiteral("/sbin"),
            QStringLiteral("/usr/bin"),       QStringLiteral("/usr/sbin"),
            QStringLiteral("/usr/local/bin"), QStringLiteral("/usr/local/sbin"),
            QStringLiteral("/usr/games"),     QStringLiteral("/usr/local/games") };
    static const QRegularExpression optBin(QStringLiteral("^/opt/[^/]+/s?bin$"));
    // The folder as named and as it really is (/bin is a link to /usr/bin on Debian 12).
    for (const QString &path : { QDir::cleanPath(folder), QFileInfo(folder).canonicalFilePath() }) {
        if (systemFolders.contains(path) || optBin.match(path).hasMatch())
            return true;
    }
#else
    Q_UNUSED(folder)
#endif
    return false;
}

bool SettingsLocation::canCreateFilesIn(const QString &folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(folder + QLatin1String("/.calorix-probe-XXXXXX"));
    return probe.open();
}

QString SettingsLocation::optionsFileToRead() const
{
    const QString userFile = m_userConfigFolder + s_optionsFileName;
    if (m_portable || m_userConfigFolder.isEmpty() || !QFile::exists(userFile))
        return m_programFolder + s_optionsFileName;
    return userFile;
}

QString SettingsLocation::optionsFileToWrite() const
{
    if (m_portable)
        return m_programFolder + s_optionsFileName;
    // Without a home folder there is no per-user file: an empty name makes the save fail.
    if (m_userConfigFolder.isEmpty())
        return QString();
    QDir().mkpath(m_userConfigFolder);
    return m_userConfigFolder + s_optionsFileName;
}

QString SettingsLocation::defaultHistoryFolder() const
{
    const bool beside = m_portable || m_userDataFolder.isEmpty();
    return (beside ? m_programFolder : m_userDataFolder) + s_historyFolderName;
}
