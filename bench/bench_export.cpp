// bench_export: times calorix-export in fresh processes on demo cards of measured pictures.
//   bench_export [--runs N] [--card-dir DIR]
// Figures: the median wall time and the peak resident memory (the child's ru_maxrss) of
//   --report of 100 pictures (title page + 100 picture pages),
//   --csv of 100 and of 1,000 pictures (flat memory: the two peaks should match).
// The cards (DemoCard: measured pictures plus one damaged one, so the status is 1) are
// written once under DIR and reused; outputs go to a fresh temporary folder each run.

#include "democard.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

struct Run
{
    double seconds = 0;
    long peakKilobytes = 0;
    int status = -1;
};

Run runProgram(const QString &program, const QStringList &arguments)
{
    std::vector<QByteArray> bytes { QFile::encodeName(program) };
    for (const QString &argument : arguments)
        bytes.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Run run;
    QElapsedTimer timer;
    timer.start();
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage {};
        wait4(child, &status, 0, &usage);
        run.seconds = timer.nsecsElapsed() / 1e9;
        run.peakKilobytes = usage.ru_maxrss;
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

QString load()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    file.open(QIODevice::ReadOnly);
    return QString::fromLatin1(file.readLine()).section(QLatin1Char(' '), 0, 2);
}

template <typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    int runs = 5;
    QString cards = QDir::tempPath() + QStringLiteral("/calorix-bench-export");
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        if (arguments.at(i) == QLatin1String("--runs"))
            runs = qMax(1, arguments.at(i + 1).toInt());
        else if (arguments.at(i) == QLatin1String("--card-dir"))
            cards = arguments.at(i + 1);
    }
    const QString program
        = QCoreApplication::applicationDirPath() + QStringLiteral("/calorix-export");
    const auto card = [&](int count) {
        const QString folder = QStringLiteral("%1/card-%2").arg(cards).arg(count);
        QString error;
        if (!DemoCard::exists(folder) && !DemoCard::generate(folder, count, &error))
            std::fprintf(stderr, "bench_export: %s\n", qPrintable(error));
        return folder;
    };

    struct Case
    {
        const char *name;
        int pictures;
        QStringList options; // {out} is the run's output folder
    };
    const std::vector<Case> cases = {
        { "report",
          100,
          { QStringLiteral("--report"), QStringLiteral("{out}/report.pdf"), QStringLiteral("--box"),
            QStringLiteral("60,40,40,30"), QStringLiteral("--spot"), QStringLiteral("80,60") } },
        { "csv", 100, { QStringLiteral("--csv"), QStringLiteral("{out}") } },
        { "csv", 1000, { QStringLiteral("--csv"), QStringLiteral("{out}") } },
    };
    std::printf("%-8s %8s %6s %10s %12s %7s  %s\n", "case", "pictures", "runs", "median s",
                "peak RSS MB", "status", "load before");
    for (const Case &c : cases) {
        const QString folder = card(c.pictures);
        std::vector<double> seconds;
        std::vector<long> peaks;
        int status = -1;
        const QString before = load();
        for (int run = 0; run < runs; ++run) {
            QTemporaryDir out;
            QStringList options = c.options;
            options.replaceInStrings(QStringLiteral("{out}"), out.path());
            const Run result = runProgram(program, options << folder);
            seconds.push_back(result.seconds);
            peaks.push_back(result.peakKilobytes);
            status = result.status;
        }
        std::printf("%-8s %8d %6d %10.2f %12.1f %7d  %s\n", c.name, c.pictures, runs,
                    median(seconds), median(peaks) / 1024.0, status, qPrintable(before));
    }
    return 0;
}
