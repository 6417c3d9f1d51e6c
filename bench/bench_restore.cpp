// Prints how long putting back the originals of a run over the inputs takes, against the run
// that replaced them: 2,078 files (the Bootstrap set) and 7,447 (the set copied under other
// names). The run leaves out the rendering check, so it is as fast as a run gets; a restore
// should cost no more than it.
//
// Usage: bench_restore

#include "engine/Optimizer.h"
#include "engine/OriginalsBackup.h"
#include "model/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const QString iconFolder =
    QStringLiteral(MIRANDEL_SOURCE_DIR "/tools/node_modules/bootstrap-icons/icons");

QStringList copies(const QString &folder, int count) {
    const QStringList names = QDir(iconFolder).entryList({QStringLiteral("*.svg")}, QDir::Files);
    QStringList paths;
    for (int index = 0; index < count; ++index) {
        const QString path = QDir(folder).filePath(QString::number(index / names.size()) + u'-' +
                                                   names.at(index % names.size()));
        QFile::copy(QDir(iconFolder).filePath(names.at(index % names.size())), path);
        paths.append(path);
    }
    return paths;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QCoreApplication::setOrganizationName(QStringLiteral("MirandelBench"));
    QCoreApplication::setApplicationName(QStringLiteral("bench_restore"));
    Keys::svgoExecutablePath().set(QStringLiteral(MIRANDEL_SVGO));
    OriginalsBackup::setRoot(settings.filePath(QStringLiteral("originals")));
    Profile profile = Profile::builtInDefault();
    profile.mode = OperationMode::File;
    profile.overwrite = true;
    profile.checkRendering = false;
    profile.keepOriginalWhenNotSmaller = false;

    for (const int count : {2078, 7447}) {
        QTemporaryDir work;
        const QStringList paths = copies(work.path(), count);
        QList<SVGFile> files;
        for (const QString &path : paths)
            files.append(SVGFile::fromUrl(QUrl::fromLocalFile(path)));
        QElapsedTimer timer;
        timer.start();
        QFuture<OptimizationResult> run = Optimizer::shared().optimize(files, profile, {});
        run.waitForFinished();
        const double runSeconds = double(timer.nsecsElapsed()) / 1e9;
        const qsizetype replaced = run.result().count(FileResult::Status::Optimized);

        timer.restart();
        int restored = 0;
        for (const OriginalsBackup::Original &original : OriginalsBackup::originals(paths))
            restored += OriginalsBackup::restore(original).isEmpty() ? 1 : 0;
        const double restoreSeconds = double(timer.nsecsElapsed()) / 1e9;
        std::printf("%5d files: run %6.2f s (%lld replaced), restore %6.2f s (%d restored), "
                    "restore/run %.2f\n",
                    count, runSeconds, qlonglong(replaced), restoreSeconds, restored,
                    restoreSeconds / runSeconds);
        std::fflush(stdout);
    }
    return 0;
}
