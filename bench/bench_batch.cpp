// Prints how long batch mode takes from its start to its exit over 10 icons and over the whole
// Bootstrap set, against one plain svgo process over the same files: the case of a pre-commit
// hook or a CI step, where every call starts cold. Each call gets fresh copies of the icons and
// its own settings, and batch mode runs with and without the rendering check, and --check runs
// over the tree it has just optimized.
//
// Usage: bench_batch [repetitions]   (median of the repetitions; default 3)

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

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// The default profile, with or without the rendering check, in the calls' settings.
void writeSettings(bool check) {
    Profile profile = Profile::builtInDefault();
    profile.checkRendering = check;
    Keys::defaultProfile().set(profile);
    QSettings().sync();
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir work;
    // The settings batch mode reads: under the names the program uses, in the calls' folder.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       work.filePath(QStringLiteral("config")));
    QCoreApplication::setOrganizationName(QStringLiteral("Mirandel"));
    QCoreApplication::setApplicationName(QStringLiteral("Mirandel"));
    std::printf("batch mode from start to exit, median of %d (%d cores)\n", repetitions,
                QThread::idealThreadCount());
    for (const int count : {10, 2078}) {
        QList<double> alone, checked, unchecked, checkedTree;
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
                (check ? checked : unchecked)
                    .append(timed(program, {QStringLiteral("--batch"), folder}, work));
                // The CI step over the tree just optimized: nothing to write, every file passes.
                if (!check)
                    checkedTree.append(timed(
                        program, {QStringLiteral("--batch"), QStringLiteral("--check"), folder},
                        work));
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
    }
    return 0;
}
