#include "startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTranslator>

namespace {

/** Loads a catalogue from the working directory, or else from the installed data folder. */
void load(QTranslator &translator, const QString &name, const QString &installedFolder)
{
    // No directory first: the working directory is where the catalogues are looked up.
    if (translator.load(name) || installedFolder.isEmpty())
        return;
    // The catalogue's own folder as the directory: Qt's catalogue loads the module catalogues
    // it names from there.
    const QFileInfo file(name);
    (void)translator.load(file.fileName(), QDir(installedFolder).filePath(file.path()));
}

} // namespace

QString installedDataFolder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath()
                           + QLatin1String("/" CALORIX_BIN_TO_DATADIR));
}

bool installTranslatorsFor(const QString &language, QTranslator &appTranslator,
                           QTranslator &qtTranslator, const QString &installedFolder)
{
    if (language != QLatin1String("CH"))
        return false;
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    load(appTranslator, QStringLiteral("CH.qm"), installedFolder);
    QCoreApplication::installTranslator(&appTranslator);
    load(qtTranslator, QStringLiteral("./translations/qt_zh_CN.qm"), installedFolder);
    // Installed last, so Qt's catalogue is asked first.
    QCoreApplication::installTranslator(&qtTranslator);
    return true;
}
