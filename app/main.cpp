#include "mainwindow.h"
#include "optionsfile.h"
#include "startup.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString language = readLanguageOption();
    QTranslator appTranslator;
    QTranslator qtTranslator;
    installTranslatorsFor(language, appTranslator, qtTranslator);

    // Declared last so that it goes first, before the translators and the application.
    MainWindow window;
    window.show();
    return app.exec();
}
