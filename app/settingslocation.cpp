#include "settingslocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    , m_portable(canWrite(programFolder))
{ }

SettingsLocation SettingsLocation::forThisProgram()
{
    return SettingsLocation(QCoreApplication::applicationDirPath(),
                            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
                            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
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
