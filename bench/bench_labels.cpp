// What one table label costs to make, where the listing makes it: in the viewport of the real
// Dossview's table, under the program's theme and the view frame's own style sheet, against
// the same label made where no style sheet reaches. The listing makes one per picture.

#include "dossview.h"
#include "ledgerview.h"
#include "programtheme.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int Labels = 10000;
constexpr int Rounds = 7;

// The fastest of several rounds, in milliseconds for all labels: the machine's other work only
// ever adds time.
double fastestRound(const std::function<QLabel *()> &make)
{
    double fastest = -1;
    for (int round = 0; round < Rounds; ++round) {
        std::vector<QLabel *> labels;
        labels.reserve(Labels);
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < Labels; ++i)
            labels.push_back(make());
        const double ms = clock.nsecsElapsed() / 1e6;
        fastest = fastest < 0 ? ms : std::min(fastest, ms);
        qDeleteAll(labels);
        QCoreApplication::processEvents();
    }
    return fastest;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const bool themed = !app.arguments().contains(QStringLiteral("--no-theme"));
    if (themed)
        applyProgramTheme();

    QMdiArea area;
    auto *window = new Dossview(DeviceManager::UsbFile, QStringLiteral("EN"));
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    area.addSubWindow(window)->showMaximized();
    area.resize(1280, 800);
    area.show();
    QCoreApplication::processEvents();
    QWidget *viewport = window->findChild<Ledgerview *>()->viewport();
    QWidget unstyled;

    const double inTable = fastestRound([&] { return new QLabel(viewport); });
    const double parentless = fastestRound([] { return new QLabel; });
    app.setStyleSheet(QString());
    const double plain = fastestRound([&] { return new QLabel(&unstyled); });
    std::printf("%d labels, fastest of %d rounds, theme %s:\n"
                "  in the table's viewport  %7.1f ms  (%.1f us a label)\n"
                "  without a parent         %7.1f ms\n"
                "  where no style sheet is  %7.1f ms\n",
                Labels, Rounds, themed ? "on" : "off", inTable, inTable * 1000 / Labels,
                parentless, plain);
    delete window;
    return 0;
}
