// democard: writes the demo instrument's SD card into a folder.
//   democard <folder> [count]
// Does nothing when the folder already holds a card.

#include "democard.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    QTextStream err(stderr);
    if (arguments.size() < 2 || arguments.size() > 3) {
        err << "usage: democard <folder> [count]\n";
        return 2;
    }
    const QString folder = arguments.at(1);
    int count = DemoCard::DefaultPictureCount;
    if (arguments.size() == 3) {
        bool ok = false;
        count = arguments.at(2).toInt(&ok);
        if (!ok || count < 1 || count > 9999) {
            err << "democard: count must be between 1 and 9999\n";
            return 2;
        }
    }
    if (DemoCard::exists(folder))
        return 0;
    QString error;
    if (!DemoCard::generate(folder, count, &error)) {
        err << "democard: " << error << "\n";
        return 1;
    }
    return 0;
}
