#ifndef STARTUP_H
#define STARTUP_H

#include <QString>

class QTranslator;

/** Where the package puts the catalogues, relative to the installed executable. */
QString installedDataFolder();

/**
 * Sets up the user-interface language at start. Only the code "CH", exactly, selects Chinese:
 * the default locale becomes Chinese (China), "CH.qm" is loaded into the program translator
 * and "./translations/qt_zh_CN.qm" into Qt's, both from the working directory, and both are
 * installed whether or not their files were found. A catalogue that is not in the working
 * directory is looked for in @p installedFolder in the same place (the installed program's
 * data folder, so that Calorix started from a terminal speaks Chinese too). Any other code
 * leaves the program English with the system's locale. Returns whether the translators were
 * installed.
 */
bool installTranslatorsFor(const QString &language, QTranslator &appTranslator,
                           QTranslator &qtTranslator,
                           const QString &installedFolder = installedDataFolder());


#endif // STARTUP_H
