#ifndef SETTINGSLOCATION_H
#define SETTINGSLOCATION_H

#include <QString>

#include <functional>

/**
 * Where options.xml and the default history folder live. While files can be created in the
 * executable's folder, both stay there, as a portable program keeps them. Where they cannot
 * (an installed program), options.xml is read from and written to the per-user configuration
 * folder; until the user has a file of their own there, a file beside the executable (an
 * administrator's defaults) gives the starting values. The default history folder then sits in
 * the per-user data folder.
 *
 * A system program folder (/usr/bin and the like) is never a portable program's folder, even
 * when it can be written (as root can): one root run would otherwise leave its settings and a
 * history folder there for every user.
 */
class SettingsLocation
{
public:
    /** Answers whether files can be created in a folder. */
    using FolderProbe = std::function<bool(const QString &folder)>;

    SettingsLocation(const QString &programFolder, const QString &userConfigFolder,
                     const QString &userDataFolder, const FolderProbe &canWrite = canCreateFilesIn);

    /**
     * The location of this process: QCoreApplication::applicationDirPath() and the
     * AppConfigLocation and AppDataLocation that QStandardPaths names. Decided on the first
     * call, the only one that asks @p canWrite; every later read and write goes to the same
     * place, even if the folder's state changes meanwhile.
     */
    static SettingsLocation forThisProgram(const FolderProbe &canWrite = canCreateFilesIn);

    /** True for the folders where a system installs programs, which are never portable. */
    static bool isSystemProgramFolder(const QString &folder);

    /**
     * True when a file can be created in @p folder. A file is made there and removed again, so
     * the answer is the file system's own: read-only mounts, access lists and root's rights
     * count, where permission bits alone would mislead.
     */
    static bool canCreateFilesIn(const QString &folder);

    /** True when everything stays in the executable's folder. */
    bool isPortable() const { return m_portable; }

    /** The options.xml to read; it may not exist. */
    QString optionsFileToRead() const;

    /**
     * The options.xml to write. For the per-user file its folder is created first, so the file
     * can be saved there; when that fails too, the save fails as it always did.
     */
    QString optionsFileToWrite() const;

    /** The history folder used while the options name no existing one. */
    QString defaultHistoryFolder() const;

private:
    QString m_programFolder;
    QString m_userConfigFolder;
    QString m_userDataFolder;
    bool m_portable;
};

#endif // SETTINGSLOCATION_H
