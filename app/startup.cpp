#include "startup.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

bool installTranslatorsFor(const QString &language, QTranslator &appTranslator,
                           QTranslator &qtTranslator)
{
    if (language != QLatin1String("CH"))
        return false;
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    // No directory: the catalogues are looked up in the working directory on purpose.
    (void)appTranslator.load(QStringLiteral("CH.qm"));
    QCoreApplication::installTranslator(&appTranslator);
    (void)qtTranslator.load(QStringLiteral("./translations/qt_zh_CN.qm"));
    // Installed last, so Qt's catalogue is asked first.
    QCoreApplication::installTranslator(&qtTranslator);
    return true;
}
