// Times the real Dossview on a synthetic instrument card next to plain baselines measured in
// the same process: the search against a minimal walk, the whole listing, the thumbnails
// against a minimal read-and-sample loop, the GUI thread's worst stall, the stop latency and
// the peak memory. Each card size runs in a child process of its own, so that its peak
// resident memory is its own.

#include "cardmaker.h"
#include "democard.h"
#include "listingrun.h"
#include "programtheme.h"
#include "samplebaseline.h"
#include "thumbnailforms.h"
#include "timedapplication.h"
#include "timeddossview.h"
#include "walkbaseline.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Options
{
    std::vector<int> sizes { 1000, 10000 };
    std::vector<CardMaker::Scene> scenes { CardMaker::Scene::Generated, CardMaker::Scene::Noisy };
    int runs = 5;
    int stops = 100;
    std::string cardDir = "/tmp/calorix-bench";
    QString json = QStringLiteral("bench-results.json");
    int timeoutSeconds = 300;
    bool theme = true;
};

constexpr double MiB = 1024.0 * 1024.0;
constexpr int ThumbnailPixels = 144 * 108 + 34 * 25;
// The pictures whose thumbnails' forms are measured, spread over the card.
constexpr int FormSamples = 1000;
// Screens the grid is scrolled by, one at a time, after the thumbnails are in place.
constexpr int ScrolledScreens = 20;

// The goals: peak memory of a listing, and the first run of 10,000 in a fresh process.
double peakGoalMiB(int n)
{
    return 150 + 9.0 * n / 1024;
}
constexpr double FirstRunGoalMs = 1200;
constexpr int FirstRunGoalPictures = 10000;

std::string cardPath(const Options &options, int n,
                     CardMaker::Scene scene = CardMaker::Scene::Generated)
{
    const char *kind = scene == CardMaker::Scene::Noisy ? "/noisy-" : "/card-";
    return options.cardDir + kind + std::to_string(n);
}

const char *sceneName(CardMaker::Scene scene)
{
    return scene == CardMaker::Scene::Noisy ? "noisy" : "generated";
}

double median(std::vector<double> v)
{
    v.erase(std::remove_if(v.begin(), v.end(), [](double x) { return x < 0; }), v.end());
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    const size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    const size_t rank = size_t(std::ceil(p * v.size()));
    return v[std::min(v.size(), std::max<size_t>(rank, 1)) - 1];
}

QJsonArray toJson(const std::vector<double> &v)
{
    QJsonArray a;
    for (double x : v)
        a.append(x);
    return a;
}

double peakResidentMiB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss * 1024.0 / MiB;
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2);
}

double elapsedMs(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e6;
}

// The library's own walk, when it exports one: timed alone, it splits the search into the walk
// and the header checks with the records.
using FindFiles = void (*)(const QString &, const QString &, QFileInfoList &);
FindFiles libraryFindFiles()
{
    return reinterpret_cast<FindFiles>(
        dlsym(RTLD_DEFAULT, "_Z9findFilesRK7QStringS1_R5QListI9QFileInfoE"));
}

// Reads every picture whole once, so that all runs see a warm page cache.
void warmPageCache(const std::vector<std::string> &paths)
{
    static char buffer[1 << 16];
    for (const std::string &path : paths) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        while (::read(fd, buffer, sizeof buffer) > 0) { }
        ::close(fd);
    }
}

QJsonObject measureSize(const Options &options, int n, CardMaker::Scene scene)
{
    const std::string root = cardPath(options, n, scene);
    const QString qroot = QString::fromStdString(root);
    const int timeoutMs = options.timeoutSeconds * 1000;
    QJsonObject result;
    result.insert(QStringLiteral("n"), n);
    result.insert(QStringLiteral("card"), QLatin1String(sceneName(scene)));
    result.insert(QStringLiteral("load_before"), loadAverage());
    warmPageCache(WalkBaseline::walk(root));
    result.insert(QStringLiteral("sampler_matches_qt"),
                  SampleBaseline::matchesQt(CardMaker::picture(n, scene)));

    const FindFiles findFiles = libraryFindFiles();
    std::vector<double> walk, sample, findFilesMs, search, fill, setUDisks, listing, thumbs, stall;
    std::vector<double> worker, guiCpu, processCpu, workerCpu, sampleCpu;
    std::vector<double> walkCpu, searchCpu, fillCpu, firstScreen, scrollPaints, tableShown;
    int walked = 0, sampled = 0, listed = -1, left = -1, differing = -1;
    double worstStall = -1, worstListing = -1;
    QStringList slowestEvents, slowestListingEvents, listingEventTotals, thumbnailEventTotals;
    for (int run = 0; run < options.runs; ++run) {
        QElapsedTimer t;
        t.start();
        const qint64 walkCpuBefore = cpuClockNs(CLOCK_THREAD_CPUTIME_ID);
        const std::vector<std::string> paths = WalkBaseline::walk(root);
        walk.push_back(elapsedMs(t));
        walkCpu.push_back((cpuClockNs(CLOCK_THREAD_CPUTIME_ID) - walkCpuBefore) / 1e6);
        walked = int(paths.size());

        t.restart();
        const qint64 cpuBefore = cpuClockNs(CLOCK_THREAD_CPUTIME_ID);
        sampled = SampleBaseline::run(paths);
        sample.push_back(elapsedMs(t));
        sampleCpu.push_back((cpuClockNs(CLOCK_THREAD_CPUTIME_ID) - cpuBefore) / 1e6);

        if (findFiles) {
            QFileInfoList found;
            t.restart();
            findFiles(qroot, QStringLiteral("bmp"), found);
            findFilesMs.push_back(elapsedMs(t));
        }

        ListingRun dossview;
        const bool painted = dossview.list(qroot, timeoutMs);
        search.push_back(dossview.searchMs());
        fill.push_back(dossview.fillMs());
        setUDisks.push_back(dossview.setUDisksMs());
        searchCpu.push_back(dossview.searchCpuMs());
        fillCpu.push_back(dossview.fillCpuMs());
        listed = dossview.listed();
        if (painted) {
            listing.push_back(dossview.listingMs());
            if (dossview.listingMs() >= worstListing) {
                worstListing = dossview.listingMs();
                slowestListingEvents = dossview.slowestEventsWhileListing();
                listingEventTotals = dossview.eventTotalsWhileListing();
            }
            if (dossview.waitForThumbnails(timeoutMs)) {
                thumbs.push_back(dossview.thumbnailMs());
                stall.push_back(dossview.worstLatenessMs());
                if (dossview.worstLatenessMs() >= worstStall) {
                    worstStall = dossview.worstLatenessMs();
                    slowestEvents = dossview.slowestEvents();
                    thumbnailEventTotals = dossview.eventTotals();
                }
                worker.push_back(dossview.workerMs());
                firstScreen.push_back(dossview.firstScreenMs());
                for (double ms : dossview.scrollPaintsMs(ScrolledScreens))
                    scrollPaints.push_back(ms);
                tableShown.push_back(dossview.showTableMs());
                guiCpu.push_back(dossview.guiCpuMs());
                processCpu.push_back(dossview.processCpuMs());
                workerCpu.push_back(dossview.workerCpuMs());
            }
            left = dossview.placeholdersLeft();
            if (run == 0)
                differing = dossview.thumbnailsDifferingFromQt();
        }
        dossview.closeWindowMs();
    }

    // After the runs, so that the peak memory is the listings' own.
    {
        const std::vector<std::string> paths = WalkBaseline::walk(root);
        QStringList spread;
        const size_t step = std::max<size_t>(1, paths.size() / FormSamples);
        for (size_t i = 0; i < paths.size(); i += step)
            spread << QString::fromStdString(paths[i]);
        result.insert(QStringLiteral("forms"), ThumbnailForms::measure(spread));
    }

    const double walkMs = median(walk), sampleMs = median(sample), searchMs = median(search);
    const double listingMs = median(listing), thumbMs = median(thumbs);
    const double pixelBytes = double(n) * ThumbnailPixels * 4;
    result.insert(QStringLiteral("runs"), options.runs);
    result.insert(QStringLiteral("walk_pictures"), walked);
    result.insert(QStringLiteral("sample_pictures"), sampled);
    result.insert(QStringLiteral("dossview_listed"), listed);
    result.insert(QStringLiteral("placeholders_left"), left);
    result.insert(QStringLiteral("thumbnails_differing_from_qt"), differing);
    result.insert(QStringLiteral("walk_ms"), walkMs);
    result.insert(QStringLiteral("sample_ms"), sampleMs);
    result.insert(QStringLiteral("sample_rate"), sampleMs > 0 ? sampled / (sampleMs / 1000) : -1);
    result.insert(QStringLiteral("search_ms"), searchMs);
    result.insert(QStringLiteral("search_ratio"), searchMs >= 0 ? searchMs / walkMs : -1);
    result.insert(QStringLiteral("findfiles_ms"), median(findFilesMs));
    result.insert(QStringLiteral("fill_ms"), median(fill));
    result.insert(QStringLiteral("setudisks_ms"), median(setUDisks));
    result.insert(QStringLiteral("listing_ms"), listingMs);
    result.insert(QStringLiteral("listing_ratio"), listingMs >= 0 ? listingMs / walkMs : -1);
    result.insert(QStringLiteral("thumbnail_ms"), thumbMs);
    // The first run of the process: memory not touched before, as for a user's first listing.
    result.insert(QStringLiteral("first_thumbnail_ms"), thumbs.empty() ? -1 : thumbs.front());
    result.insert(QStringLiteral("first_listing_ms"), listing.empty() ? -1 : listing.front());
    result.insert(QStringLiteral("first_screen_ms"), median(firstScreen));
    result.insert(QStringLiteral("first_screen_max_ms"),
                  firstScreen.empty() ? -1
                                      : *std::max_element(firstScreen.begin(), firstScreen.end()));
    result.insert(QStringLiteral("scroll_paint_ms"), median(scrollPaints));
    result.insert(
        QStringLiteral("scroll_paint_max_ms"),
        scrollPaints.empty() ? -1 : *std::max_element(scrollPaints.begin(), scrollPaints.end()));
    result.insert(QStringLiteral("table_shown_ms"), median(tableShown));
    result.insert(QStringLiteral("table_shown_max_ms"),
                  tableShown.empty() ? -1
                                     : *std::max_element(tableShown.begin(), tableShown.end()));
    const double rate = thumbMs > 0 ? listed / (thumbMs / 1000) : -1;
    result.insert(QStringLiteral("thumbnail_rate"), rate);
    result.insert(QStringLiteral("thumbnail_ratio"),
                  rate > 0 ? rate / (sampled / (sampleMs / 1000)) : -1);
    result.insert(QStringLiteral("stall_ms"), median(stall));
    result.insert(QStringLiteral("slowest_events_of_slowest_listing"),
                  QJsonArray::fromStringList(slowestListingEvents));
    result.insert(QStringLiteral("event_totals_of_slowest_listing"),
                  QJsonArray::fromStringList(listingEventTotals));
    result.insert(QStringLiteral("slowest_events_of_worst_stall"),
                  QJsonArray::fromStringList(slowestEvents));
    result.insert(QStringLiteral("event_totals_of_worst_stall"),
                  QJsonArray::fromStringList(thumbnailEventTotals));
    result.insert(QStringLiteral("stall_max_ms"),
                  stall.empty() ? -1 : *std::max_element(stall.begin(), stall.end()));
    result.insert(QStringLiteral("worker_ms"), median(worker));
    result.insert(QStringLiteral("thumbnail_gui_cpu_ms"), median(guiCpu));
    result.insert(QStringLiteral("thumbnail_process_cpu_ms"), median(processCpu));
    const double walkCpuMs = median(walkCpu), searchCpuMs = median(searchCpu);
    result.insert(QStringLiteral("walk_cpu_ms"), walkCpuMs);
    result.insert(QStringLiteral("search_cpu_ms"), searchCpuMs);
    result.insert(QStringLiteral("search_cpu_ratio"),
                  searchCpuMs >= 0 && walkCpuMs > 0 ? searchCpuMs / walkCpuMs : -1);
    result.insert(QStringLiteral("fill_cpu_ms"), median(fillCpu));
    const double workerCpuMs = median(workerCpu), sampleCpuMs = median(sampleCpu);
    result.insert(QStringLiteral("worker_cpu_ms"), workerCpuMs);
    result.insert(QStringLiteral("sample_cpu_ms"), sampleCpuMs);
    result.insert(QStringLiteral("thumbnail_cpu_ratio"),
                  workerCpuMs > 0 ? sampleCpuMs / workerCpuMs : -1);
    result.insert(QStringLiteral("peak_rss_mib"), peakResidentMiB());
    result.insert(QStringLiteral("peak_target_mib"), (1.15 * pixelBytes) / MiB + 120);
    result.insert(QStringLiteral("peak_goal_mib"), peakGoalMiB(n));
    result.insert(QStringLiteral("load_after"), loadAverage());
    QJsonObject samples;
    samples.insert(QStringLiteral("walk_ms"), toJson(walk));
    samples.insert(QStringLiteral("sample_ms"), toJson(sample));
    samples.insert(QStringLiteral("search_ms"), toJson(search));
    samples.insert(QStringLiteral("findfiles_ms"), toJson(findFilesMs));
    samples.insert(QStringLiteral("fill_ms"), toJson(fill));
    samples.insert(QStringLiteral("listing_ms"), toJson(listing));
    samples.insert(QStringLiteral("thumbnail_ms"), toJson(thumbs));
    samples.insert(QStringLiteral("stall_ms"), toJson(stall));
    samples.insert(QStringLiteral("first_screen_ms"), toJson(firstScreen));
    samples.insert(QStringLiteral("scroll_paint_ms"), toJson(scrollPaints));
    samples.insert(QStringLiteral("table_shown_ms"), toJson(tableShown));
    samples.insert(QStringLiteral("worker_ms"), toJson(worker));
    samples.insert(QStringLiteral("thumbnail_gui_cpu_ms"), toJson(guiCpu));
    samples.insert(QStringLiteral("worker_cpu_ms"), toJson(workerCpu));
    samples.insert(QStringLiteral("walk_cpu_ms"), toJson(walkCpu));
    samples.insert(QStringLiteral("search_cpu_ms"), toJson(searchCpu));
    samples.insert(QStringLiteral("fill_cpu_ms"), toJson(fillCpu));
    samples.insert(QStringLiteral("sample_cpu_ms"), toJson(sampleCpu));
    result.insert(QStringLiteral("samples"), samples);
    return result;
}

// Closes windows while their worker is busy; close() runs closeEvent, which stops the worker.
// The event loop runs between setUDisks and close(), as it would for a user, so a worker that
// paces itself by the GUI thread keeps working until the stop.
QJsonObject measureStops(const Options &options, int n)
{
    const QString root = QString::fromStdString(cardPath(options, n));
    const int timeoutMs = options.timeoutSeconds * 1000;
    QJsonObject result;
    result.insert(QStringLiteral("n"), n);
    result.insert(QStringLiteral("load_before"), loadAverage());
    warmPageCache(WalkBaseline::walk(root.toStdString()));

    // How long after setUDisks the thumbnails take, and what close() costs once the worker
    // has ended.
    std::vector<double> idleClose, completion;
    for (int i = 0; i < 10; ++i) {
        ListingRun dossview;
        QElapsedTimer since;
        since.start();
        if (!dossview.start(root) || !dossview.waitForPaint(timeoutMs)
            || !dossview.waitForThumbnails(timeoutMs))
            break;
        completion.push_back(elapsedMs(since));
        for (int waited = 0; dossview.workerAlive() && waited < 5000; waited += 5)
            dossview.runEventsFor(5);
        idleClose.push_back(dossview.closeWindowMs());
    }
    const double completionMs = median(completion);
    result.insert(QStringLiteral("close_without_worker_ms"), median(idleClose));
    result.insert(QStringLiteral("completion_ms"), completionMs);

    std::vector<double> stops;
    int attempts = 0;
    while (completionMs > 0 && int(stops.size()) < options.stops && attempts < 3 * options.stops) {
        ++attempts;
        ListingRun dossview;
        if (!dossview.start(root))
            break;
        dossview.runEventsFor(int(QRandomGenerator::global()->bounded(0.7 * completionMs)));
        if (!dossview.workerAlive() || dossview.thumbnailsInPlace())
            continue; // the work was over: not a stop in the middle of it
        stops.push_back(dossview.closeWindowMs());
    }
    result.insert(QStringLiteral("stops"), int(stops.size()));
    result.insert(QStringLiteral("attempts"), attempts);
    result.insert(QStringLiteral("p50_ms"), percentile(stops, 0.5));
    result.insert(QStringLiteral("p99_ms"), percentile(stops, 0.99));
    result.insert(QStringLiteral("max_ms"), percentile(stops, 1.0));
    result.insert(QStringLiteral("samples_ms"), toJson(stops));
    result.insert(QStringLiteral("load_after"), loadAverage());
    return result;
}

// Runs job in a child process with its own QApplication; returns what it wrote.
template <typename Job>
QJsonObject inChild(const Options &options, int argc, char **argv, const QString &out, Job job)
{
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        TimedApplication app(argc, argv);
        if (options.theme)
            applyProgramTheme();
        const QJsonObject result = job();
        QFile file(out);
        const bool ok = file.open(QIODevice::WriteOnly)
            && file.write(QJsonDocument(result).toJson()) > 0 && file.flush();
        file.close();
        std::fflush(stdout);
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    QFile file(out);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "child failed (status %d)\n", status);
        return {};
    }
    return QJsonDocument::fromJson(file.readAll()).object();
}

QString figure(double value, const char *unit, int decimals = 1)
{
    return value < 0 ? QStringLiteral("n/a")
                     : QString::number(value, 'f', decimals) + QLatin1String(unit);
}

void printSize(const QJsonObject &r)
{
    auto d = [&](const char *key) { return r.value(QLatin1String(key)).toDouble(-1); };
    std::printf(
        "%s N=%d  search %s (%s walk %s)  listing %s (%s walk)  thumbnails %s %s/s (%s of "
        "sample %s/s)  stall %s  peak %s (target %s)  listed %d, placeholders left %d\n",
        qPrintable(r.value(QStringLiteral("card")).toString()),
        r.value(QStringLiteral("n")).toInt(), qPrintable(figure(d("search_ms"), " ms")),
        qPrintable(figure(d("search_ratio"), "x", 2)), qPrintable(figure(d("walk_ms"), " ms")),
        qPrintable(figure(d("listing_ms"), " ms")), qPrintable(figure(d("listing_ratio"), "x", 2)),
        qPrintable(figure(d("thumbnail_ms"), " ms")),
        qPrintable(figure(d("thumbnail_rate"), "", 0)),
        qPrintable(figure(d("thumbnail_ratio"), "", 3)),
        qPrintable(figure(d("sample_rate"), "", 0)), qPrintable(figure(d("stall_ms"), " ms")),
        qPrintable(figure(d("peak_rss_mib"), " MiB", 0)),
        qPrintable(figure(d("peak_target_mib"), " MiB", 0)),
        r.value(QStringLiteral("dossview_listed")).toInt(),
        r.value(QStringLiteral("placeholders_left")).toInt());
    std::printf(
        "       findFiles alone %s, fill %s, setUDisks %s, worker ends %s after setFiles, "
        "thumbnail phase CPU: GUI thread %s, process %s\n"
        "       CPU: worker %s for the pictures, sample %s (rate ratio by CPU %s); search %s, "
        "walk %s (%s); fill %s\n"
        "       walk found %d, sampler %s Qt's pixels, %d of 6 thumbnails differ from Qt's, "
        "load %s -> %s\n",
        qPrintable(figure(d("findfiles_ms"), " ms")), qPrintable(figure(d("fill_ms"), " ms")),
        qPrintable(figure(d("setudisks_ms"), " ms")), qPrintable(figure(d("worker_ms"), " ms")),
        qPrintable(figure(d("thumbnail_gui_cpu_ms"), " ms")),
        qPrintable(figure(d("thumbnail_process_cpu_ms"), " ms")),
        qPrintable(figure(d("worker_cpu_ms"), " ms")),
        qPrintable(figure(d("sample_cpu_ms"), " ms")),
        qPrintable(figure(d("thumbnail_cpu_ratio"), "", 3)),
        qPrintable(figure(d("search_cpu_ms"), " ms")), qPrintable(figure(d("walk_cpu_ms"), " ms")),
        qPrintable(figure(d("search_cpu_ratio"), "x", 2)),
        qPrintable(figure(d("fill_cpu_ms"), " ms")),
        r.value(QStringLiteral("walk_pictures")).toInt(),
        r.value(QStringLiteral("sampler_matches_qt")).toBool() ? "matches" : "DIFFERS FROM",
        r.value(QStringLiteral("thumbnails_differing_from_qt")).toInt(-1),
        qPrintable(r.value(QStringLiteral("load_before")).toString()),
        qPrintable(r.value(QStringLiteral("load_after")).toString()));
    const auto events = [&](const char *key) {
        QStringList list;
        for (const QJsonValue &event : r.value(QLatin1String(key)).toArray())
            list << event.toString();
        return list.join(QLatin1String("; "));
    };
    std::printf("       longest GUI events: slowest listing %s\n"
                "                           its events by type and receiver %s\n"
                "                           worst stall %s\n"
                "                           its events by type and receiver %s\n",
                qPrintable(events("slowest_events_of_slowest_listing")),
                qPrintable(events("event_totals_of_slowest_listing")),
                qPrintable(events("slowest_events_of_worst_stall")),
                qPrintable(events("event_totals_of_worst_stall")));
}

// The demo instrument's card, written where nothing else is.
QJsonObject measureDemoForms()
{
    QTemporaryDir dir;
    const QString card = dir.path() + QStringLiteral("/card");
    QJsonObject result;
    if (!dir.isValid() || !DemoCard::generate(card))
        return result;
    QStringList paths;
    for (const std::string &path : WalkBaseline::walk(card.toStdString()))
        paths << QString::fromStdString(path);
    return ThumbnailForms::measure(paths);
}

void printGoals(const QJsonObject &r)
{
    auto d = [&](const char *key) { return r.value(QLatin1String(key)).toDouble(-1); };
    auto mark = [](bool met) { return met ? "ok" : "MISSED"; };
    const int n = r.value(QStringLiteral("n")).toInt();
    const double peak = d("peak_rss_mib"), goal = d("peak_goal_mib");
    const double first = d("first_thumbnail_ms");
    const double firstGoal = FirstRunGoalMs * n / FirstRunGoalPictures;
    const QJsonObject grid
        = r.value(QStringLiteral("forms")).toObject().value(QStringLiteral("grid")).toObject();
    const QJsonObject table
        = r.value(QStringLiteral("forms")).toObject().value(QStringLiteral("table")).toObject();
    std::printf(
        "       bytes a picture: grid icon %s (pixmap %s), table picture %s; peak memory over N "
        "%s\n"
        "       goals N=%d: peak %s <= 150 MiB + 9 KiB x N = %s %s; first run in a fresh "
        "process: thumbnails %s (listing %s) <= %s %s, median of the runs %s\n"
        "       listing %s walk <= 8x %s; thumbnails %s of the sample rate >= 0.333 %s; worst "
        "stall %s (max of runs %s) <= 50 ms %s; first screen %s after the listing (max %s) "
        "<= 100 ms %s; a scroll by one screen paints in %s (max %s) <= 16 ms %s; the table "
        "shown (\"List\") and painted in %s (max %s)\n",
        qPrintable(figure(grid.value(QStringLiteral("chosen_bytes")).toDouble(-1), " B", 0)),
        qPrintable(figure(grid.value(QStringLiteral("pixmap_bytes")).toDouble(-1), " B", 0)),
        qPrintable(figure(table.value(QStringLiteral("pixmap_bytes")).toDouble(-1), " B", 0)),
        qPrintable(figure(peak >= 0 ? peak * MiB / n : -1, " B", 0)), n,
        qPrintable(figure(peak, " MiB", 0)), qPrintable(figure(goal, " MiB", 0)),
        mark(peak >= 0 && peak <= goal), qPrintable(figure(first, " ms")),
        qPrintable(figure(d("first_listing_ms"), " ms")), qPrintable(figure(firstGoal, " ms", 0)),
        mark(first >= 0 && first <= firstGoal), qPrintable(figure(d("thumbnail_ms"), " ms")),
        qPrintable(figure(d("listing_ratio"), "x", 2)),
        mark(d("listing_ratio") >= 0 && d("listing_ratio") <= 8),
        qPrintable(figure(d("thumbnail_ratio"), "", 3)), mark(d("thumbnail_ratio") >= 1.0 / 3),
        qPrintable(figure(d("stall_ms"), " ms")), qPrintable(figure(d("stall_max_ms"), " ms")),
        mark(d("stall_ms") >= 0 && d("stall_ms") <= 50),
        qPrintable(figure(d("first_screen_ms"), " ms")),
        qPrintable(figure(d("first_screen_max_ms"), " ms")),
        mark(d("first_screen_ms") >= 0 && d("first_screen_ms") <= 100),
        qPrintable(figure(d("scroll_paint_ms"), " ms", 2)),
        qPrintable(figure(d("scroll_paint_max_ms"), " ms", 2)),
        mark(d("scroll_paint_ms") >= 0 && d("scroll_paint_max_ms") <= 16),
        qPrintable(figure(d("table_shown_ms"), " ms", 2)),
        qPrintable(figure(d("table_shown_max_ms"), " ms", 2)));
    std::printf("%s\n",
                qPrintable(ThumbnailForms::describe(r.value(QStringLiteral("card")).toString(),
                                                    r.value(QStringLiteral("forms")).toObject())));
}

void printStops(const QJsonObject &r)
{
    auto d = [&](const char *key) { return r.value(QLatin1String(key)).toDouble(-1); };
    std::printf(
        "stops N=%d  %d stops in %d tries  close() p50 %s p99 %s max %s  (close with no "
        "worker %s, thumbnails complete %s after setUDisks)  load %s -> %s\n",
        r.value(QStringLiteral("n")).toInt(), r.value(QStringLiteral("stops")).toInt(),
        r.value(QStringLiteral("attempts")).toInt(), qPrintable(figure(d("p50_ms"), " ms", 2)),
        qPrintable(figure(d("p99_ms"), " ms", 2)), qPrintable(figure(d("max_ms"), " ms", 2)),
        qPrintable(figure(d("close_without_worker_ms"), " ms", 2)),
        qPrintable(figure(d("completion_ms"), " ms")),
        qPrintable(r.value(QStringLiteral("load_before")).toString()),
        qPrintable(r.value(QStringLiteral("load_after")).toString()));
}

bool parse(int argc, char **argv, Options *options)
{
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        const QString value = i + 1 < argc ? QString::fromLocal8Bit(argv[i + 1]) : QString();
        bool ok = true;
        if (arg == QLatin1String("--sizes")) {
            options->sizes.clear();
            for (const QString &s : value.split(QLatin1Char(','), Qt::SkipEmptyParts))
                options->sizes.push_back(s.toInt(&ok));
        } else if (arg == QLatin1String("--cards")) {
            options->scenes.clear();
            for (const QString &s : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                ok = ok && (s == QLatin1String("generated") || s == QLatin1String("noisy"));
                options->scenes.push_back(s == QLatin1String("noisy")
                                              ? CardMaker::Scene::Noisy
                                              : CardMaker::Scene::Generated);
            }
        } else if (arg == QLatin1String("--no-theme")) {
            options->theme = false;
            continue;
        } else if (arg == QLatin1String("--runs")) {
            options->runs = value.toInt(&ok);
        } else if (arg == QLatin1String("--stops")) {
            options->stops = value.toInt(&ok);
        } else if (arg == QLatin1String("--card-dir")) {
            options->cardDir = value.toStdString();
        } else if (arg == QLatin1String("--json")) {
            options->json = value;
        } else if (arg == QLatin1String("--timeout")) {
            options->timeoutSeconds = value.toInt(&ok);
        } else {
            return false;
        }
        if (!ok || value.isEmpty())
            return false;
        ++i;
    }
    return !options->sizes.empty() && !options->scenes.empty() && options->runs > 0;
}

} // namespace

int main(int argc, char **argv)
{
    Options options;
    if (!parse(argc, argv, &options)) {
        std::fprintf(stderr,
                     "usage: %s [--sizes 1000,10000] [--runs 5] [--stops 100] [--card-dir DIR]"
                     " [--cards generated,noisy] [--json FILE] [--timeout SECONDS] [--no-theme]\n",
                     argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::mkdir(options.cardDir.c_str(), 0755);

    for (CardMaker::Scene scene : options.scenes) {
        for (int n : options.sizes) {
            const std::string path = cardPath(options, n, scene);
            CardMaker::Counts counts;
            bool made = false;
            if (!CardMaker::ensure(path, n, scene, &counts, &made)) {
                std::fprintf(stderr, "cannot write the card under %s\n", path.c_str());
                return 1;
            }
            if (made)
                std::printf("card %s: %d pictures, %d decoys, %d folders, written in %.1f s\n",
                            path.c_str(), counts.pictures, counts.decoys, counts.folders,
                            counts.seconds);
        }
    }

    QJsonObject report;
    report.insert(QStringLiteral("runs"), options.runs);
    report.insert(QStringLiteral("theme"), options.theme ? QStringLiteral("black") : QString());
    QJsonArray sizes;
    const QString scratch = QString::fromStdString(options.cardDir + "/child.json");
    for (CardMaker::Scene scene : options.scenes) {
        for (int n : options.sizes) {
            const QJsonObject r = inChild(options, argc, argv, scratch,
                                          [&] { return measureSize(options, n, scene); });
            printSize(r);
            printGoals(r);
            sizes.append(r);
        }
    }
    report.insert(QStringLiteral("sizes"), sizes);
    const QJsonObject demo
        = inChild(options, argc, argv, scratch, [] { return measureDemoForms(); });
    std::printf("%s\n", qPrintable(ThumbnailForms::describe(QStringLiteral("demo"), demo)));
    report.insert(QStringLiteral("demo_forms"), demo);
    if (options.stops > 0) {
        const int n = *std::min_element(options.sizes.begin(), options.sizes.end());
        const QJsonObject r
            = inChild(options, argc, argv, scratch, [&] { return measureStops(options, n); });
        printStops(r);
        report.insert(QStringLiteral("stops"), r);
    }
    QFile json(options.json);
    if (!json.open(QIODevice::WriteOnly) || json.write(QJsonDocument(report).toJson()) <= 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(options.json));
        return 1;
    }
    std::printf("figures written to %s\n", qPrintable(options.json));
    return 0;
}
