// Prints what automatic precision saves over svgo's default precision, and what it costs, on
// real icon sets: for each set one text-mode run with svgo's defaults and one with automatic
// precision, both with the rendering check and without the results cache, over the same files
// on the same warm workers. It also counts the precisions chosen, so the files whose precision
// could not be lowered show.
//
// Usage: bench_automatic_precision [files per set]   (default: every file)

#include "engine/Optimizer.h"
#include "engine/OriginalsBackup.h"
#include "model/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

struct Outcome {
    double seconds = 0;
    qint64 before = 0, after = 0;
    std::map<int, int> precisions; // precision used → files
    int held = 0;                  // looked different and kept
};

Outcome run(const QList<SVGFile> &files, const Profile &profile) {
    OptimizerOptions options;
    options.resultsCache = false;
    QElapsedTimer timer;
    timer.start();
    QFuture<OptimizationResult> future = Optimizer::shared().optimize(
        files, profile, [](const QString &) {}, options);
    future.waitForFinished();
    Outcome outcome;
    outcome.seconds = double(timer.nsecsElapsed()) / 1e9;
    for (const FileResult &result : future.result().outcomes) {
        if (result.sizeBefore < 0 || result.sizeAfter < 0)
            continue;
        outcome.before += result.sizeBefore;
        // What the text holds for the file: its original when it looked different.
        outcome.after += result.status == FileResult::Status::LooksDifferent ? result.sizeBefore
                                                                             : result.sizeAfter;
        outcome.held += result.status == FileResult::Status::LooksDifferent ? 1 : 0;
        if (result.precisionUsed >= 0)
            ++outcome.precisions[result.precisionUsed];
    }
    return outcome;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int limit = argc > 1 ? std::atoi(argv[1]) : 0;
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QCoreApplication::setOrganizationName(QStringLiteral("MirandelBench"));
    QCoreApplication::setApplicationName(QStringLiteral("bench_automatic_precision"));
    OriginalsBackup::setRoot(settings.filePath(QStringLiteral("originals")));
    Keys::svgoExecutablePath().set(QStringLiteral(MIRANDEL_SVGO));

    const QList<std::pair<const char *, QString>> sets{
        {"Bootstrap",
         QStringLiteral(MIRANDEL_SOURCE_DIR "/tools/node_modules/bootstrap-icons/icons")},
        {"MDI", QStringLiteral(MIRANDEL_SOURCE_DIR "/tools/node_modules/@mdi/svg/svg")},
        {"Tabler",
         QStringLiteral(MIRANDEL_SOURCE_DIR "/tools/node_modules/@tabler/icons/icons/outline")},
        {"Flags", QStringLiteral(MIRANDEL_SOURCE_DIR "/tools/node_modules/flag-icons/flags/4x3")}};
    Profile plain = Profile::builtInDefault();
    plain.mode = OperationMode::Text;
    plain.uniqueIds = false;
    Profile automatic = plain;
    automatic.automaticPrecision = true;

    for (const auto &[name, path] : sets) {
        QList<SVGFile> files;
        const QDir folder(path);
        QStringList names = folder.entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name);
        if (limit > 0)
            names = names.mid(0, limit);
        for (const QString &file : names)
            files.append(SVGFile::fromUrl(QUrl::fromLocalFile(folder.filePath(file))));
        run(files.mid(0, 20), plain); // warms the workers
        const Outcome base = run(files, plain);
        const Outcome chosen = run(files, automatic);
        std::printf("%s, %lld files: svgo's defaults %lld → %lld bytes in %.2f s (%d held back)\n",
                    name, qlonglong(files.size()), qlonglong(base.before), qlonglong(base.after),
                    base.seconds, base.held);
        std::printf(
            "  automatic precision %lld bytes (%.1f %% fewer than svgo's defaults) in "
            "%.2f s (%.2f× the plain run, %d held back)\n",
            qlonglong(chosen.after),
            base.after > 0 ? 100.0 * double(base.after - chosen.after) / double(base.after) : 0.0,
            chosen.seconds, base.seconds > 0 ? chosen.seconds / base.seconds : 0.0, chosen.held);
        std::printf("  precision used:");
        for (const auto &[precision, count] : chosen.precisions)
            std::printf(" %d: %d files%s", precision, count,
                        precision == 3 ? " (could not be lowered)" : "");
        std::printf("\n");
        std::fflush(stdout);
    }
    return 0;
}
