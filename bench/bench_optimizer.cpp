// Prints how long the optimizer takes over a real icon set compared with one plain svgo process.
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
    double svgoCpu = 0;
};

// Runs `work` `repetitions` times after `prepare` and keeps the median wall time.
Figures measure(int repetitions, const std::function<void()> &prepare,
                const std::function<void()> &work) {
    QList<Figures> all;
    for (int round = 0; round < repetitions; ++round) {
        prepare();
        const double own = cpuSeconds(RUSAGE_SELF);
        const double children = cpuSeconds(RUSAGE_CHILDREN);
        QElapsedTimer timer;
        timer.start();
        work();
        all.append({double(timer.nsecsElapsed()) / 1e9, cpuSeconds(RUSAGE_SELF) - own,
                    cpuSeconds(RUSAGE_CHILDREN) - children});
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

void runOptimizer(const QList<SVGFile> &files, const Profile &profile,
                  const OptimizerOptions &options = {}) {
    QFuture<OptimizationResult> future = Optimizer::shared().optimize(
        files, profile, [](const QString &) {}, options);
    future.waitForFinished();
    const OptimizationResult result = future.result();
    if (result.count(FileResult::Status::Optimized) != files.size())
        std::printf("  (only %lld of %lld files optimized)\n",
                    qlonglong(result.count(FileResult::Status::Optimized)),
                    qlonglong(files.size()));
}

void line(const char *label, const Figures &figures, const Figures &baseline) {
    std::printf("%-44s %7.2f s  %5.2f x svgo alone  engine CPU %5.3f s = %4.1f %% of wall, "
                "svgo CPU %6.2f s\n",
                label, figures.wall, figures.wall / baseline.wall, figures.ownCpu,
                100.0 * figures.ownCpu / figures.wall, figures.svgoCpu);
    std::fflush(stdout);
}

void benchSet(QTemporaryDir &work, int count, int repetitions) {
    const QString inputs = copyIcons(work, QStringLiteral("inputs"), count);
    const QList<SVGFile> files = entriesIn(inputs);
    const QString output = work.filePath(QStringLiteral("output"));
    auto clearOutput = [&] { QDir(output).removeRecursively(); };
    std::printf("\n%lld files, %lld at most at once, chunk size %lld\n", qlonglong(files.size()),
                qlonglong(Keys::maxConcurrentProcesses().get()),
                qlonglong(Keys::chunkSize().get()));

    const Figures alone =
        measure(repetitions, clearOutput, [&] { runSvgoOnFolder(inputs, output); });
    line("one svgo -f DIR -o OUT", alone, alone);

    Profile text = Profile::builtInDefault();
    text.mode = OperationMode::Text;
    line("optimizer, text mode, defaults",
         measure(
             repetitions, [] {}, [&] { runOptimizer(files, text); }),
         alone);

    Profile intoFolder = Profile::builtInDefault();
    intoFolder.overwrite = false;
    intoFolder.outputFolder = QUrl::fromLocalFile(output);
    line("optimizer, file mode into folder, defaults",
         measure(repetitions, clearOutput, [&] { runOptimizer(files, intoFolder); }), alone);

    const QString copies = work.filePath(QStringLiteral("copies"));
    QList<SVGFile> copyFiles;
    line("optimizer, file mode over inputs, defaults",
         measure(
             repetitions,
             [&] { copyFiles = entriesIn(copyIcons(work, QStringLiteral("copies"), count)); },
             [&] { runOptimizer(copyFiles, Profile::builtInDefault()); }),
         alone);
    QDir(copies).removeRecursively();

    OptimizerOptions oneByOne;
    oneByOne.chunkSize = 50;
    oneByOne.maxConcurrentProcesses = 1;
    oneByOne.exactChunks = true;
    line("1 process at a time, chunks of exactly 50",
         measure(1, clearOutput, [&] { runOptimizer(files, intoFolder, oneByOne); }), alone);
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
    benchSet(work, -1, repetitions);
    benchSet(work, 10, repetitions);
    return 0;
}
