#ifndef STARTUP_H
#define STARTUP_H

class QString;
class QTranslator;

/**
 * Switches the default locale to Chinese (China), loads "CH.qm" into the program translator
 * and "./translations/qt_zh_CN.qm" into Qt's, both from the working directory, and installs
 * both whether or not their files were found.
 */
void installChineseTranslators(QTranslator &appTranslator, QTranslator &qtTranslator);

/**
 * Installs the Chinese translators when the language code is exactly "CH"; any other code
 * leaves the program English with the system's locale. Returns whether it installed them.
 */
bool installTranslatorsFor(const QString &language, QTranslator &appTranslator,
                           QTranslator &qtTranslator);

#endif // STARTUP_H
