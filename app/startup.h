#ifndef STARTUP_H
#define STARTUP_H

class QString;
class QTranslator;

/**
 * Sets up the user-interface language at start. Only the code "CH", exactly, selects Chinese:
 * the default locale becomes Chinese (China), "CH.qm" is loaded into the program translator
 * and "./translations/qt_zh_CN.qm" into Qt's, both from the working directory, and both are
 * installed whether or not their files were found. Any other code leaves the program English
 * with the system's locale. Returns whether the translators were installed.
 */
bool installTranslatorsFor(const QString &language, QTranslator &appTranslator,
                           QTranslator &qtTranslator);

#endif // STARTUP_H
