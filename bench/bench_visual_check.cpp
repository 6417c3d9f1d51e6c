// Prints what the visual check decides about svgo's output over real icon sets, at precision 0,
// 1 and svgo's defaults: how many files it holds back, how many it had to draw large, and what
// judging one file costs (drawing the original and the output with librsvg included).
//
// Usage: bench_visual_check [files per set] [--sets bootstrap,mdi,tabler] [--figures file]
//
// --figures writes one line per file whose small drawings differ beyond anti-aliasing noise:
// set, precision, name, the changed pixels of the small drawings and those of the large ones
// within one and two pixels' reach, and the verdict; the margin of the thresholds shows in it.

#include "engine/SvgRenderer.h"
#include "engine/VisualCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtConcurrent>

#include <atomic>
#include <cstdio>

namespace {

struct Set {
    QString name;
    QString folder;
};

const QList<Set> allSets{
    {QStringLiteral("bootstrap"),
     QStringLiteral(MIRANDEL_SOURCE_DIR "/tools/node_modules/bootstrap-icons/icons")},
    {QStringLiteral("mdi"), QStringLiteral(MIRANDEL_SOURCE_DIR "/tools/node_modules/@mdi/svg/svg")},
    {QStringLiteral("tabler"),
     QStringLiteral(MIRANDEL_SOURCE_DIR "/tools/node_modules/@tabler/icons/icons/outline")},
};

struct Pair {
    QString name;
    QByteArray original, optimized;
};

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// svgo's output for the first `limit` files of `folder` (all when negative), at `precision`
// (svgo's defaults when negative), from one run of its command line.
QList<Pair> optimizeAll(const QString &folder, int limit, int precision) {
    QStringList names = QDir(folder).entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name);
    if (limit >= 0)
        names = names.mid(0, limit);
    QTemporaryDir work;
    const QString input = work.filePath(QStringLiteral("in")),
                  output = work.filePath(QStringLiteral("out"));
    QDir().mkpath(input);
    for (const QString &name : names)
        QFile::copy(QDir(folder).filePath(name), QDir(input).filePath(name));
    QStringList arguments{QStringLiteral("-q"), QStringLiteral("-f"), input, QStringLiteral("-o"),
                          output};
    if (precision >= 0)
        arguments << QStringLiteral("--precision") << QString::number(precision);
    QProcess svgo;
    svgo.start(QStringLiteral(MIRANDEL_SVGO), arguments);
    if (!svgo.waitForFinished(600000) || svgo.exitCode() != 0) {
        std::fprintf(stderr, "svgo failed: %s\n", svgo.readAllStandardError().constData());
        std::exit(1);
    }
    QList<Pair> pairs;
    for (const QString &name : names) {
        const QByteArray optimized = contents(QDir(output).filePath(name));
        if (!optimized.isEmpty())
            pairs.append({name, contents(QDir(input).filePath(name)), optimized});
    }
    return pairs;
}

// The comparisons the check makes, each figure for itself, for a file's line of figures; empty
// when the small drawings agree within the noise.
QString figuresOf(const Pair &pair) {
    const SvgRenderer original(pair.original), optimized(pair.optimized);
    const QImage small = original.renderFitted({VisualCheck::firstSide, VisualCheck::firstSide});
    if (small.isNull())
        return QString();
    const VisualCheck::Comparison first =
        VisualCheck::compareImages(small, optimized.render(small.size()));
    if (!first.differs)
        return QString();
    const QSize size = original.fittedSize({VisualCheck::secondSide, VisualCheck::secondSide});
    const QImage a = original.render(size), b = optimized.render(size);
    return QStringLiteral("%1\t%2\t%3\t%4")
        .arg(pair.name)
        .arg(first.changed)
        .arg(VisualCheck::compareImages(a, b, 1).changed)
        .arg(VisualCheck::compareImages(a, b, VisualCheck::secondReach).changed);
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    int limit = -1;
    QStringList wanted{QStringLiteral("bootstrap"), QStringLiteral("mdi"),
                       QStringLiteral("tabler")};
    QString figuresPath;
    const QStringList arguments = application.arguments().mid(1);
    for (int index = 0; index < arguments.size(); ++index) {
        if (arguments.at(index) == QStringLiteral("--sets") && index + 1 < arguments.size())
            wanted = arguments.at(++index).split(u',');
        else if (arguments.at(index) == QStringLiteral("--figures") && index + 1 < arguments.size())
            figuresPath = arguments.at(++index);
        else
            limit = arguments.at(index).toInt();
    }
    QFile figuresFile(figuresPath);
    if (!figuresPath.isEmpty() && !figuresFile.open(QIODevice::WriteOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(figuresPath));
        return 1;
    }
    QTextStream figures(&figuresFile);
    QMutex figuresLock;

    std::printf("%-10s %-9s %6s %6s %8s %9s %10s %9s\n", "set", "precision", "files", "held",
                "held %", "undrawn", "ms/file", "wall s");
    for (const Set &set : allSets) {
        if (!wanted.contains(set.name))
            continue;
        for (const int precision : {0, 1, -1}) {
            const QString label =
                precision < 0 ? QStringLiteral("default") : QString::number(precision);
            const QList<Pair> pairs = optimizeAll(set.folder, limit, precision);
            std::atomic<int> held = 0, undrawn = 0;
            std::atomic<qint64> nanoseconds = 0;
            QElapsedTimer wall;
            wall.start();
            // One check per file, as a run makes it: the original drawn, then the output judged.
            QtConcurrent::blockingMap(pairs, [&](const Pair &pair) {
                QElapsedTimer timer;
                timer.start();
                const VisualCheck check(pair.original);
                const VisualCheck::Verdict verdict = check.compare(pair.optimized);
                nanoseconds += timer.nsecsElapsed();
                if (verdict.looksDifferent)
                    ++held;
                if (verdict.couldNotDraw)
                    ++undrawn;
                if (figuresPath.isEmpty())
                    return;
                const QString line = figuresOf(pair);
                if (line.isEmpty())
                    return;
                QMutexLocker lock(&figuresLock);
                figures << set.name << '\t' << label << '\t' << line << '\t'
                        << (verdict.looksDifferent ? "held" : "passed") << '\n';
            });
            const double files = std::max<qsizetype>(1, pairs.size());
            std::printf("%-10s %-9s %6lld %6d %7.1f%% %9d %10.2f %9.1f\n", qPrintable(set.name),
                        qPrintable(label), static_cast<long long>(pairs.size()), held.load(),
                        100.0 * held.load() / files, undrawn.load(),
                        double(nanoseconds.load()) / 1e6 / files, double(wall.elapsed()) / 1000.0);
            std::fflush(stdout);
        }
    }
    return 0;
}
