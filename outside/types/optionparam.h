#ifndef OPTIONPARAM_H
#define OPTIONPARAM_H

#include <QMetaType>
#include <QString>

/** The program's options, kept by the main window and handed to the live-picture windows. */
struct OptionParam
{
    QString language; ///< "CH" or "EN"; empty until set
    QString historyFilesPath;
    bool allowAlarm = false;
    bool allowAlarmSound = false;
    bool allowLogGeneration = false;

    bool operator==(const OptionParam &other) const
    {
        return language == other.language && historyFilesPath == other.historyFilesPath
            && allowAlarm == other.allowAlarm && allowAlarmSound == other.allowAlarmSound
            && allowLogGeneration == other.allowLogGeneration;
    }
    bool operator!=(const OptionParam &other) const { return !(*this == other); }
};

Q_DECLARE_METATYPE(OptionParam)

#endif // OPTIONPARAM_H
