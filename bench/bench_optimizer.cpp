// Prints how long the optimizer takes over a real icon set compared with one plain svgo process:
// every mode once with workers started by the run itself ("cold"), once on workers left warm by
// an earlier run ("warm"), and once through svgo's command line (a wrapper script, which the
// workers cannot load). These runs leave out the rendering check and keep every output, so they
// measure svgo and the engine alone; the lines labelled "check" repeat the warm text and folder
// runs with the rendering check on, in turns with the same runs without it, and print what
// comparing the renderings adds as the ratio of the two. None of these
// runs may be answered from the results cache, or a repetition would time the cache; the lines
// labelled "second run" time exactly that: a run over files an earlier run (not timed) left in a
// fresh cache folder.
//
// Usage: bench_optimizer [repetitions]   (median of the repetitions; default 1)

#include "engine/Optimizer.h"
#include "engine/OriginalsBackup.h"
#include "model/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include <sys/resource.h>

namespace {

const QString svgo = QStringLiteral(MIRANDEL_SVGO);
const QString iconFolder =
    QStringLiteral(MIRANDEL_SOURCE_DIR "/tools/node_modules/bootstrap-icons/icons");

double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Figures {
    double wall = 0;   // seconds
    double ownCpu = 0; // this process's CPU seconds: the engine outside svgo
};

// Runs `work` `repetitions` times after `prepare` and keeps the median wall time.
Figures measure(int repetitions, const std::function<void()> &prepare,
                const std::function<void()> &work) {
    QList<Figures> all;
    for (int round = 0; round < repetitions; ++round) {
        prepare();
        const double own = cpuSeconds(RUSAGE_SELF);
        QElapsedTimer timer;
        timer.start();
        work();
        all.append({double(timer.nsecsElapsed()) / 1e9, cpuSeconds(RUSAGE_SELF) - own});
    }
    std::sort(all.begin(), all.end(),
              [](const Figures &a, const Figures &b) { return a.wall < b.wall; });
    return all.at(all.size() / 2);
}

// Copies the first `count` icons (all when negative) into a fresh folder.
QString copyIcons(QTemporaryDir &work, const QString &name, int count) {
    const QString folder = work.filePath(name);
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    QDir source(iconFolder);
    QStringList names = source.entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name);
    if (count >= 0)
        names = names.mid(0, count);
    for (const QString &file : names)
        QFile::copy(source.filePath(file), QDir(folder).filePath(file));
    return folder;
}

QList<SVGFile> entriesIn(const QString &folder) {
    QList<SVGFile> files;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name))
        files.append(SVGFile::fromUrl(QUrl::fromLocalFile(dir.filePath(name))));
    return files;
}

void runSvgoOnFolder(const QString &input, const QString &output) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(svgo, {QStringLiteral("-f"), input, QStringLiteral("-o"), output});
    process.waitForFinished(-1);
    process.readAllStandardOutput();
    if (process.exitCode() != 0)
        std::printf("  (svgo exited with %d)\n", process.exitCode());
}

// Every run measures svgo and the engine unless it asks for the cache.
OptimizerOptions uncached() {
    OptimizerOptions options;
    options.resultsCache = false;
    return options;
}

void runOptimizer(const QList<SVGFile> &files, const Profile &profile,
                  const OptimizerOptions &options = uncached()) {
    QFuture<OptimizationResult> future = Optimizer::shared().optimize(
        files, profile, [](const QString &) {}, options);
    future.waitForFinished();
    const OptimizationResult result = future.result();
    if (result.count(FileResult::Status::Optimized) != files.size())
        std::printf("  (only %lld of %lld files optimized)\n",
                    qlonglong(result.count(FileResult::Status::Optimized)),
                    qlonglong(files.size()));
}

void line(const QString &label, const Figures &figures, const Figures &baseline) {
    std::printf("%-52s %7.3f s  %5.3f x svgo alone  engine CPU %5.3f s = %4.1f %% of wall, "
                "peak worker memory %4lld MB\n",
                qPrintable(label), figures.wall, figures.wall / baseline.wall, figures.ownCpu,
                100.0 * figures.ownCpu / figures.wall,
                Optimizer::shared().peakWorkerMemory() / (1024 * 1024));
    std::fflush(stdout);
}

// A shell script that runs svgo: not a Node package, so runs take svgo's command line.
QString wrapperScript(QTemporaryDir &work) {
    const QString path = work.filePath(QStringLiteral("svgo-wrapper"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("#!/bin/sh\nexec '" + QFile::encodeName(svgo) + "' \"$@\"\n");
    file.close();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

void benchSet(QTemporaryDir &work, int count, int repetitions) {
    const QString inputs = copyIcons(work, QStringLiteral("inputs"), count);
    const QList<SVGFile> files = entriesIn(inputs);
    const QString output = work.filePath(QStringLiteral("output"));
    auto clearOutput = [&] { QDir(output).removeRecursively(); };
    std::printf("\n%lld files, %lld workers or processes at most at once\n",
                qlonglong(files.size()), qlonglong(Keys::maxConcurrentProcesses().get()));

    const Figures alone =
        measure(repetitions, clearOutput, [&] { runSvgoOnFolder(inputs, output); });
    line(QStringLiteral("one svgo -f DIR -o OUT"), alone, alone);

    Profile plain = Profile::builtInDefault();
    plain.checkRendering = false;
    plain.keepOriginalWhenNotSmaller = false;
    Profile text = plain;
    text.mode = OperationMode::Text;
    Profile intoFolder = plain;
    intoFolder.overwrite = false;
    intoFolder.outputFolder = QUrl::fromLocalFile(output);
    Profile checkedText = text;
    checkedText.checkRendering = true;
    Profile checkedIntoFolder = intoFolder;
    checkedIntoFolder.checkRendering = true;
    QList<SVGFile> copyFiles;
    auto freshCopies = [&] {
        copyFiles = entriesIn(copyIcons(work, QStringLiteral("copies"), count));
    };
    const QList<SVGFile> one = files.mid(0, 1);

    struct Mode {
        QString name;
        std::function<void()> prepare;
        std::function<void()> run;
    };
    const QList<Mode> modes{
        {QStringLiteral("text mode"), [] {}, [&] { runOptimizer(files, text); }},
        {QStringLiteral("file mode into folder"), clearOutput,
         [&] { runOptimizer(files, intoFolder); }},
        {QStringLiteral("file mode over inputs"), freshCopies,
         [&] { runOptimizer(copyFiles, plain); }},
    };
    for (const Mode &mode : modes) {
        line(QStringLiteral("optimizer, %1, cold").arg(mode.name),
             measure(
                 repetitions,
                 [&] {
                     Optimizer::shared().stopWorkers();
                     mode.prepare();
                 },
                 mode.run),
             alone);
        line(QStringLiteral("optimizer, %1, warm").arg(mode.name),
             measure(
                 repetitions,
                 [&] {
                     runOptimizer(one, text); // workers up and ready
                     mode.prepare();
                 },
                 mode.run),
             alone);
    }

    const auto warmUp = [&] { runOptimizer(one, text); };
    const auto warmUpClear = [&] {
        warmUp();
        clearOutput();
    };
    // With the check and without it in turns, so that both see the same load on the machine:
    // the ratio is the median of each round's own.
    const auto compareCheck = [&](const QString &name, const std::function<void()> &prepare,
                                  const Profile &plainProfile, const Profile &checkedProfile) {
        QList<Figures> plainRounds, checkedRounds;
        QList<double> ratios;
        for (int round = 0; round < repetitions; ++round) {
            plainRounds.append(measure(1, prepare, [&] { runOptimizer(files, plainProfile); }));
            checkedRounds.append(measure(1, prepare, [&] { runOptimizer(files, checkedProfile); }));
            ratios.append(checkedRounds.last().wall / plainRounds.last().wall);
        }
        const auto median = [](QList<Figures> rounds) {
            std::sort(rounds.begin(), rounds.end(),
                      [](const Figures &a, const Figures &b) { return a.wall < b.wall; });
            return rounds.at(rounds.size() / 2);
        };
        std::sort(ratios.begin(), ratios.end());
        const Figures plainFigures = median(plainRounds), checkedFigures = median(checkedRounds);
        line(QStringLiteral("optimizer, %1, check, warm").arg(name), checkedFigures, alone);
        std::printf("check / no check, %s, warm: %5.2f (%.3f s / %.3f s)\n", qPrintable(name),
                    ratios.at(ratios.size() / 2), checkedFigures.wall, plainFigures.wall);
    };
    compareCheck(QStringLiteral("text mode"), warmUp, text, checkedText);
    compareCheck(QStringLiteral("file mode into folder"), warmUpClear, intoFolder,
                 checkedIntoFolder);

    // A second run over files that did not change: the first fills a cache folder of its own.
    struct Cached {
        QString name;
        const Profile *profile;
        bool intoFolder;
    };
    const QList<Cached> cachedRuns{
        {QStringLiteral("text mode"), &text, false},
        {QStringLiteral("file mode into folder"), &intoFolder, true},
        {QStringLiteral("text mode, check"), &checkedText, false},
        {QStringLiteral("file mode into folder, check"), &checkedIntoFolder, true}};
    int cacheNumber = 0;
    for (const Cached &cached : cachedRuns) {
        OptimizerOptions options;
        options.resultsCache = true;
        const QString cacheFolder =
            work.filePath(QStringLiteral("cache-%1-%2").arg(count).arg(++cacheNumber));
        options.cacheFolder = cacheFolder;
        line(QStringLiteral("optimizer, %1, second run").arg(cached.name),
             measure(
                 repetitions,
                 [&] {
                     QDir(cacheFolder).removeRecursively();
                     if (cached.intoFolder)
                         clearOutput();
                     // Fills the cache; its outputs stay, as they would for a second run.
                     runOptimizer(files, *cached.profile, options);
                 },
                 [&] { runOptimizer(files, *cached.profile, options); }),
             alone);
    }

    Keys::svgoExecutablePath().set(wrapperScript(work));
    line(QStringLiteral("command line, file mode into folder"),
         measure(repetitions, clearOutput, [&] { runOptimizer(files, intoFolder); }), alone);
    Keys::svgoExecutablePath().set(svgo);
    QDir(work.filePath(QStringLiteral("copies"))).removeRecursively();
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 1;
    QTemporaryDir work;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, work.filePath("settings"));
    QCoreApplication::setOrganizationName(QStringLiteral("MirandelBench"));
    QCoreApplication::setApplicationName(QStringLiteral("bench_optimizer"));
    Keys::svgoExecutablePath().set(svgo);
    // Runs over the inputs keep copies of them; those count, but not in the user's cache.
    OriginalsBackup::setRoot(work.filePath(QStringLiteral("originals")));

    std::printf("svgo %s, %d cores, median of %d\n", qPrintable(svgo), QThread::idealThreadCount(),
                repetitions);
    double load[3] = {};
    if (getloadavg(load, 3) > 0)
        std::printf("load average before: %.2f %.2f %.2f\n", load[0], load[1], load[2]);
    benchSet(work, -1, repetitions);
    benchSet(work, 10, repetitions);
    return 0;
}
