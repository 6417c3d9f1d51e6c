// Prints what measuring compressed sizes costs a run: dry runs over the Bootstrap icons with and
// without them (gzip and brotli of every input and output, on the render pool), against the time
// the same measurements take one after another on a single thread, which is what a run measuring
// them on its own thread would have waited. Last, gzip and brotli of one large document.
//
// Usage: bench_compressed_sizes [repetitions]   (median of the repetitions, default 3)

#include "engine/CompressedSize.h"
#include "engine/Optimizer.h"
#include "engine/OriginalsBackup.h"
#include "model/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

const QString iconFolder =
    QStringLiteral(MIRANDEL_SOURCE_DIR "/tools/node_modules/bootstrap-icons/icons");

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// Seconds of one dry run; its outcomes in `result`.
double dryRun(const QList<SVGFile> &files, bool compressed, OptimizationResult &result) {
    OptimizerOptions options;
    options.dryRun = true;
    options.resultsCache = false;
    options.compressedSizes = compressed;
    QElapsedTimer timer;
    timer.start();
    QFuture<OptimizationResult> future = Optimizer::shared().optimize(
        files, Profile::builtInDefault(), [](const QString &) {}, options);
    future.waitForFinished();
    result = future.result();
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 3;
    QTemporaryDir work;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, work.filePath("settings"));
    QCoreApplication::setOrganizationName(QStringLiteral("MirandelBench"));
    QCoreApplication::setApplicationName(QStringLiteral("bench_compressed_sizes"));
    Keys::svgoExecutablePath().set(QStringLiteral(MIRANDEL_SVGO));
    OriginalsBackup::setRoot(work.filePath(QStringLiteral("originals")));

    QList<SVGFile> files;
    QList<QByteArray> inputs;
    for (const QString &name :
         QDir(iconFolder).entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name)) {
        files.append(SVGFile::fromUrl(QUrl::fromLocalFile(iconFolder + QLatin1Char('/') + name)));
        QFile file(iconFolder + QLatin1Char('/') + name);
        file.open(QIODevice::ReadOnly);
        inputs.append(file.readAll());
    }
    std::printf("%lld icons, %d cores, median of %d\n", qlonglong(files.size()),
                QThread::idealThreadCount(), repetitions);
    double load[3] = {};
    if (getloadavg(load, 3) > 0)
        std::printf("load average before: %.2f %.2f %.2f\n", load[0], load[1], load[2]);
    Optimizer::shared().warmUp(Profile::builtInDefault(), 1);

    OptimizationResult result;
    dryRun(files, false, result); // workers started, files in the page cache
    QList<double> without, with;
    for (int round = 0; round < repetitions; ++round) {
        without.append(dryRun(files, false, result));
        with.append(dryRun(files, true, result));
    }
    qint64 measured = 0;
    for (const FileResult &outcome : std::as_const(result.outcomes))
        measured += outcome.brotliAfter >= 0 ? 1 : 0;
    std::printf("dry run without compressed sizes   %7.3f s\n", median(without));
    std::printf("dry run with compressed sizes      %7.3f s  (+%.3f s, %lld files measured)\n",
                median(with), median(with) - median(without), qlonglong(measured));

    // The same measurements one after another, as the run's thread would have made them.
    QElapsedTimer timer;
    timer.start();
    qint64 total = 0;
    for (const QByteArray &input : std::as_const(inputs))
        total += compressedSizes(input).brotli;
    const double inputSeconds = double(timer.nsecsElapsed()) / 1e9;
    std::printf("gzip and brotli of every input, one thread: %7.3f s (%.2f ms a file; outputs "
                "cost about as much again)\n",
                inputSeconds, 1000.0 * inputSeconds / double(inputs.size()));

    QByteArray large("<svg xmlns=\"http://www.w3.org/2000/svg\">\n");
    QRandomGenerator random(7);
    while (large.size() < (qsizetype(1) << 20))
        large += "<circle cx=\"" + QByteArray::number(random.bounded(1000)) + "\" cy=\"" +
                 QByteArray::number(random.bounded(1000)) + "\" r=\"" +
                 QByteArray::number(random.bounded(50)) + "\"/>\n";
    timer.restart();
    const qint64 gzip = gzipSize(large);
    const double gzipSeconds = double(timer.nsecsElapsed()) / 1e9;
    timer.restart();
    const qint64 brotli = brotliSize(large);
    const double brotliSeconds = double(timer.nsecsElapsed()) / 1e9;
    std::printf("1 MiB document: gzip %lld bytes in %.3f s, brotli %lld bytes in %.3f s\n",
                qlonglong(gzip), gzipSeconds, qlonglong(brotli), brotliSeconds);
    return total > 0 ? 0 : 1;
}
