// Prints how long batch mode takes from its start to its exit over 10 icons and over the whole
// Bootstrap set, against one plain svgo process over the same files: the case of a pre-commit
// hook or a CI step, where every call starts cold. Each call gets fresh copies of the icons and
// its own settings, and batch mode runs with and without the rendering check, and --check runs
// over the tree it has just optimized: afresh, and again with the results it remembered.
//
// Last, batch mode's own peak memory over many small files (the workers' is their own).
//
// Usage: bench_batch [repetitions] [files]   (median of the repetitions, default 3; files for the
// memory run, default 100000, 0 to leave it out)

#include "model/Profile.h"
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

namespace {

const QString svgo = QStringLiteral(MIRANDEL_SVGO);
const QString program = QStringLiteral(MIRANDEL_PROGRAM);
const QString iconFolder =
    QStringLiteral(MIRANDEL_SOURCE_DIR "/tools/node_modules/bootstrap-icons/icons");

// Copies the first `count` icons into a fresh folder of `work`.
QString copyIcons(const QTemporaryDir &work, int round, int count) {
    const QString folder = work.filePath(QStringLiteral("icons-%1-%2").arg(count).arg(round));
    QDir().mkpath(folder);
    const QStringList names = QDir(iconFolder)
                                  .entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name)
                                  .mid(0, count);
    for (const QString &name : names)
        QFile::copy(iconFolder + QLatin1Char('/') + name, folder + QLatin1Char('/') + name);
    return folder;
}

// Seconds from the start of `command` to its exit.
double timed(const QString &command, const QStringList &arguments, const QTemporaryDir &work) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Settings and kept originals of the call's own, and no display, as on a CI machine.
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), work.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), work.filePath(QStringLiteral("cache")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), work.filePath(QStringLiteral("data")));
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(command, arguments);
    process.waitForFinished(-1);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() > 1)
        std::printf("  (%s exited with %d)\n", qPrintable(QFileInfo(command).fileName()),
                    process.exitCode());
    return seconds;
}

// The default profile, with or without the rendering check, in the calls' settings.
void writeSettings(bool check) {
    Profile profile = Profile::builtInDefault();
    profile.checkRendering = check;
    Keys::defaultProfile().set(profile);
    QSettings().sync();
}

// The peak resident memory of `pid` so far, in bytes (the kernel keeps the high-water mark).
qint64 peakMemory(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLongLong() * 1024;
    return -1;
}

// Batch mode's own peak memory over `count` small files, none like another, its workers apart.
void measureMemory(const QTemporaryDir &work, int count) {
    const QString folder = work.filePath(QStringLiteral("many"));
    QDir().mkpath(folder);
    for (int index = 0; index < count; ++index) {
        QFile file(folder + QStringLiteral("/icon-%1.svg").arg(index, 6, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write(QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 "
                                  "%1 %1\">\n  <path d=\"M %2.000 0 h 1.000 v 1.000 h -1.000 "
                                  "z\"/>\n</svg>\n")
                       .arg(index / 1000 + 24)
                       .arg(index % 1000)
                       .toUtf8());
    }
    writeSettings(false);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), work.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), work.filePath(QStringLiteral("cache")));
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, {QStringLiteral("--batch"), QStringLiteral("--check"),
                            QStringLiteral("--no-cache"), QStringLiteral("-q"), folder});
    qint64 peak = 0;
    while (!process.waitForFinished(100))
        peak = std::max(peak, peakMemory(process.processId()));
    std::printf("%6d files  --check, peak memory of batch mode %6.1f MB (%.0f bytes per file), "
                "%.1f s\n",
                count, double(peak) / 1e6, double(peak) / count,
                double(timer.nsecsElapsed()) / 1e9);
    QDir(folder).removeRecursively();
}

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int manyFiles = argc > 2 ? std::max(0, std::atoi(argv[2])) : 100000;
    QTemporaryDir work;
    // The settings batch mode reads: under the names the program uses, in the calls' folder.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       work.filePath(QStringLiteral("config")));
    QCoreApplication::setOrganizationName(QStringLiteral("Mirandel"));
    QCoreApplication::setApplicationName(QStringLiteral("Mirandel"));
    std::printf("batch mode from start to exit, median of %d (%d cores)\n", repetitions,
                QThread::idealThreadCount());
    for (const int count : {10, 2078}) {
        QList<double> alone, checked, unchecked, checkedTree, rechecked;
        for (int round = 0; round < repetitions; ++round) {
            // svgo over the same files in place: its list for a few, its folder mode for a set.
            const QString plain = copyIcons(work, round * 3, count);
            QStringList arguments{QStringLiteral("-q")};
            if (count <= 10) {
                arguments.append(QStringLiteral("-i"));
                const QStringList names = QDir(plain).entryList(QDir::Files, QDir::Name);
                for (const QString &name : names)
                    arguments.append(plain + QLatin1Char('/') + name);
            } else {
                arguments << QStringLiteral("-f") << plain;
            }
            alone.append(timed(svgo, arguments, work));
            for (const bool check : {true, false}) {
                writeSettings(check);
                const QString folder = copyIcons(work, round * 3 + (check ? 1 : 2), count);
                // Every round's copies have the same bytes: without --no-cache later rounds
                // would be answered from the first one's results.
                const QString batch = QStringLiteral("--batch"),
                              noCache = QStringLiteral("--no-cache"),
                              checkOption = QStringLiteral("--check");
                (check ? checked : unchecked)
                    .append(timed(program, {batch, noCache, folder}, work));
                if (check)
                    continue;
                // The CI step over the tree just optimized: nothing to write, every file passes.
                checkedTree.append(timed(program, {batch, checkOption, noCache, folder}, work));
                // The same step again with the results of the last one kept, as a CI cache
                // step keeps them: a repository where nothing changed.
                timed(program, {batch, checkOption, folder}, work);
                rechecked.append(timed(program, {batch, checkOption, folder}, work));
            }
        }
        const double svgoAlone = median(alone);
        std::printf("%5d icons  one svgo                  %7.3f s\n", count, svgoAlone);
        std::printf("%5d icons  batch, no rendering check %7.3f s  %5.2f x svgo\n", count,
                    median(unchecked), median(unchecked) / svgoAlone);
        std::printf("%5d icons  batch, rendering check    %7.3f s  %5.2f x svgo\n", count,
                    median(checked), median(checked) / svgoAlone);
        std::printf("%5d icons  --check, optimized tree   %7.3f s  %5.2f x svgo\n", count,
                    median(checkedTree), median(checkedTree) / svgoAlone);
        std::printf("%5d icons  --check again, cached     %7.3f s  %5.2f x svgo\n", count,
                    median(rechecked), median(rechecked) / svgoAlone);
    }
    if (manyFiles > 0)
        measureMemory(work, manyFiles);
    return 0;
}
