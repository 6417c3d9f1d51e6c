// Prints what judging svgo's output costs per icon over the bootstrap icon set: the markup's
// structure, and drawing the original and the output with librsvg and comparing them, on one
// thread and on all cores; and, on one thread, what each step of it costs by itself.
//
// Usage: bench_render [repetitions]   (median of the repetitions; default 3)

#include "engine/OutputReview.h"
#include "engine/SvgRenderer.h"
#include "engine/VisualCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtConcurrent>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>

#include <sys/resource.h>

namespace {

const QString iconFolder =
    QStringLiteral(MIRANDEL_SOURCE_DIR "/tools/node_modules/bootstrap-icons/icons");

struct Pair {
    QString name;
    QByteArray original, optimized;
};

// svgo's output for every icon, with `config` (a file path) or svgo's defaults.
QList<Pair> optimizeAll(const QString &folder, const QString &config) {
    QStringList arguments{QStringLiteral("-q"), QStringLiteral("-f"), iconFolder,
                          QStringLiteral("-o"), folder};
    if (!config.isEmpty())
        arguments << QStringLiteral("--config") << config;
    QProcess svgo;
    svgo.start(QStringLiteral(MIRANDEL_SVGO), arguments);
    if (!svgo.waitForFinished(600000) || svgo.exitCode() != 0) {
        std::fprintf(stderr, "svgo failed: %s\n", svgo.readAllStandardError().constData());
        std::exit(1);
    }
    QList<Pair> pairs;
    const QDir icons(iconFolder);
    for (const QString &name : icons.entryList({QStringLiteral("*.svg")}, QDir::Files)) {
        QFile in(icons.filePath(name)), out(QDir(folder).filePath(name));
        if (in.open(QIODevice::ReadOnly) && out.open(QIODevice::ReadOnly))
            pairs.append({name, in.readAll(), out.readAll()});
    }
    return pairs;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Wall and CPU time: on a machine shared with other work the CPU time is the steadier figure.
// librsvg draws in helper processes that live as long as their threads, so the CPU time is this
// process's share only (sending documents, receiving and comparing pixels); the drawing itself
// shows in the wall time.
struct Run {
    double seconds = 0;
    double cpu = 0;
    int different = 0;
};

Run checkAll(const QList<Pair> &pairs, bool parallel) {
    std::atomic<int> different = 0;
    // The whole judgement of one output: the markup's structure, the size and the renderings.
    const auto check = [&different](const Pair &pair) {
        const VisualCheck check(pair.original);
        if (OutputReview::review(Profile(), pair.original, pair.optimized, &check).status ==
            FileResult::Status::LooksDifferent)
            ++different;
    };
    const double cpu = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    if (parallel)
        QtConcurrent::blockingMap(pairs, check);
    else
        std::for_each(pairs.cbegin(), pairs.cend(), check);
    return {double(timer.nsecsElapsed()) / 1e9, cpuSeconds() - cpu, different.load()};
}

void report(const char *label, const QList<Pair> &pairs, bool parallel, int repetitions) {
    QList<Run> runs;
    for (int round = 0; round < repetitions; ++round)
        runs.append(checkAll(pairs, parallel));
    std::sort(runs.begin(), runs.end(),
              [](const Run &a, const Run &b) { return a.seconds < b.seconds; });
    const Run median = runs.at(runs.size() / 2);
    std::printf("%-38s %6.0f ms wall %6.3f ms per icon, CPU %6.3f ms per icon; %4d of %lld look "
                "different\n",
                label, median.seconds * 1000, median.seconds * 1000 / double(pairs.size()),
                median.cpu * 1000 / double(pairs.size()), median.different,
                qlonglong(pairs.size()));
}

// Wall time per icon of `step` over all pairs on this thread, median of the repetitions.
double perIcon(const QList<Pair> &pairs, int repetitions,
               const std::function<void(const Pair &)> &step) {
    QList<double> times;
    for (int round = 0; round < repetitions; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (const Pair &pair : pairs)
            step(pair);
        times.append(double(timer.nsecsElapsed()) / 1e6 / double(pairs.size()));
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

// Where the time of one check goes: the markup, the drawings (a round trip to the helper each)
// and the comparison of the pixels.
void steps(const QList<Pair> &pairs, int repetitions) {
    const auto print = [](const char *label, double ms) {
        std::printf("  %-44s %7.4f ms per icon\n", label, ms);
    };
    print("structure of the markup (both documents)",
          perIcon(pairs, repetitions, [](const Pair &pair) {
              VisualCheck::structuralChange(pair.original, pair.optimized);
          }));
    print("original drawn at the first size", perIcon(pairs, repetitions, [](const Pair &pair) {
              const VisualCheck check(pair.original);
          }));
    print(
        "output drawn at the first size", perIcon(pairs, repetitions, [](const Pair &pair) {
            const SvgRenderer renderer(pair.optimized);
            renderer.render(renderer.fittedSize({VisualCheck::firstSide, VisualCheck::firstSide}));
        }));
    QList<std::pair<QImage, QImage>> images;
    for (const Pair &pair : pairs) {
        const SvgRenderer original(pair.original), optimized(pair.optimized);
        const QSize size = original.fittedSize({VisualCheck::firstSide, VisualCheck::firstSide});
        images.append({original.render(size), optimized.render(size)});
    }
    qsizetype index = 0;
    print("pixels compared at the first size", perIcon(pairs, repetitions, [&](const Pair &) {
              const auto &[a, b] = images.at(index++ % images.size());
              VisualCheck::compareImages(a, b);
          }));
    print("whole check (original drawn, then compared)",
          perIcon(pairs, repetitions, [](const Pair &pair) {
              const VisualCheck check(pair.original);
              check.compare(pair.optimized);
          }));
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    QTemporaryDir work;
    const QString lowPrecision = work.filePath(QStringLiteral("precision0.mjs"));
    QFile config(lowPrecision);
    if (!config.open(QIODevice::WriteOnly) ||
        config.write("export default { floatPrecision: 0 };\n") < 0)
        return 1;
    config.close();
    const QList<Pair> defaults = optimizeAll(work.filePath(QStringLiteral("default")), {});
    const QList<Pair> rounded = optimizeAll(work.filePath(QStringLiteral("rounded")), lowPrecision);

    std::printf("%lld icons, %d threads\n", qlonglong(defaults.size()),
                QThreadPool::globalInstance()->maxThreadCount());
    report("check, svgo defaults, one thread", defaults, false, repetitions);
    report("check, svgo defaults, all threads", defaults, true, repetitions);
    report("check, floatPrecision 0, all threads", rounded, true, repetitions);
    std::printf("steps, svgo defaults, one thread:\n");
    steps(defaults, repetitions);
    return 0;
}
