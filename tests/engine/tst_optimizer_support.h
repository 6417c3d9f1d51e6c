#pragma once

// Shared set-up of the optimizer tests: a private settings store, the real svgo, real icons.

#include "engine/Optimizer.h"
#include "engine/OriginalsBackup.h"
#include "engine/TextOutputAssembler.h"
#include "model/Settings.h"

#include <QProcess>
#include <QtTest>

namespace optimizer_test {

inline QString svgo() {
    return QStringLiteral(MIRANDEL_SVGO);
}

inline QString iconFolder() {
    return QStringLiteral(MIRANDEL_SOURCE_DIR "/tools/node_modules/bootstrap-icons/icons");
}

inline QString dataFile(const QString &name) {
    return QStringLiteral(MIRANDEL_SOURCE_DIR "/tests/data/") + name;
}

// Settings go to a folder of the test's own, where the real svgo is stored until a test stores
// another, and remembered results are off unless a run asks for them: a row whose files an
// earlier row optimized would otherwise be answered without running svgo at all. Call from
// initTestCase.
inline void isolateSettings(const QTemporaryDir &folder, const QString &application) {
    if (!folder.isValid())
        qFatal("no temporary folder for the settings");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    QCoreApplication::setOrganizationName(QStringLiteral("MirandelTests"));
    QCoreApplication::setApplicationName(application);
    // Copies of overwritten inputs and remembered results stay out of the user's cache folder.
    OriginalsBackup::setRoot(folder.filePath(QStringLiteral("originals")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(folder.filePath(QStringLiteral("cache"))));
    Keys::svgoExecutablePath().set(svgo());
    Keys::cacheResults().set(false);
}

// A small file system at `folder` (`size` as mount's size=…), for what a full disk does;
// unmounted when it goes. Only the superuser may mount one.
struct SmallDisk {
    SmallDisk(const QString &folder, const QString &size) : folder(folder) {
        QDir().mkpath(folder);
        mounted =
            QProcess::execute(QStringLiteral("mount"),
                              {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                               "size=" + size, QStringLiteral("tmpfs"), folder}) == 0;
    }
    ~SmallDisk() {
        if (mounted)
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), folder});
    }
    // Fills the disk to its last byte but `room`.
    void fill(qint64 room = 0) const {
        QFile filler(QDir(folder).filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            qFatal("cannot fill %s", qPrintable(folder));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        filler.write(QByteArray(1, 'x')); // the last partial block
        if (!filler.resize(filler.size() - room))
            qFatal("cannot make room on %s", qPrintable(folder));
    }
    const QString folder;
    bool mounted = false;
};

// The first `count` icons of the set, as absolute paths.
inline QStringList icons(int count) {
    const QDir folder(iconFolder());
    QStringList paths;
    for (const QString &name :
         folder.entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name).mid(0, count))
        paths.append(folder.filePath(name));
    return paths;
}

// Copies `sources` into `folder`, made when missing, under the given names (the source's name
// when none given).
inline QStringList copyInto(const QString &folder, const QStringList &sources,
                            const QStringList &names = {}) {
    QDir().mkpath(folder);
    QStringList copies;
    for (int index = 0; index < sources.size(); ++index) {
        const QString name =
            index < names.size() ? names.at(index) : QFileInfo(sources.at(index)).fileName();
        const QString copy = QDir(folder).filePath(name);
        QFile::remove(copy);
        if (!QFile::copy(sources.at(index), copy))
            qFatal("cannot copy %s", qPrintable(sources.at(index)));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                        QFile::ReadOther);
        copies.append(copy);
    }
    return copies;
}

inline QList<SVGFile> entries(const QStringList &paths) {
    QList<SVGFile> files;
    for (const QString &path : paths)
        files.append(SVGFile::fromUrl(QUrl::fromLocalFile(path)));
    return files;
}

inline QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What each of `paths` holds now, to tell afterwards what a run changed.
inline QList<QByteArray> contentsOf(const QStringList &paths) {
    QList<QByteArray> all;
    for (const QString &path : paths)
        all.append(contents(path));
    return all;
}

// Writes `bytes` to `path`, making its folder first.
inline void writeFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Writes a script that runs `body`, for a stand-in of svgo or of a tool.
inline QString writeScript(const QString &path, const QByteArray &body) {
    writeFile(path, body);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// These tests look at how files travel through a run; the guards on svgo's output have tests
// of their own, so they stay out of the way here.
inline Profile unguarded() {
    Profile profile = Profile::builtInDefault();
    profile.checkRendering = false;
    profile.keepOriginalWhenNotSmaller = false;
    return profile;
}

// The profile runs svgo with the configuration `config`, written to `file`.
inline void configure(Profile &profile, const QString &file, const QByteArray &config) {
    writeFile(file, config);
    profile.svgoConfigFile = QUrl::fromLocalFile(file);
}

inline Profile textProfile() {
    Profile profile = unguarded();
    profile.mode = OperationMode::Text;
    profile.uniqueIds = false; // the documents come as svgo wrote them
    return profile;
}

inline Profile fileProfile(const std::optional<QString> &outputFolder) {
    Profile profile = unguarded();
    profile.mode = OperationMode::File;
    profile.overwrite = !outputFolder;
    if (outputFolder)
        profile.outputFolder = QUrl::fromLocalFile(*outputFolder);
    return profile;
}

// What svgo itself makes of each file, from one process writing one output file per input.
inline QList<QByteArray> svgoAlone(const QStringList &paths, const QString &config = {}) {
    QTemporaryDir outputs;
    QStringList arguments{QStringLiteral("-i")};
    arguments += paths;
    arguments.append(QStringLiteral("-o"));
    for (int index = 0; index < paths.size(); ++index)
        arguments.append(outputs.filePath(QString::number(index)));
    if (!config.isEmpty())
        arguments += QStringList{QStringLiteral("--config"), config};
    QProcess process;
    process.start(svgo(), arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        qFatal("svgo failed: %s", process.readAllStandardError().constData());
    QList<QByteArray> results;
    for (int index = 0; index < paths.size(); ++index)
        results.append(contents(outputs.filePath(QString::number(index))));
    return results;
}

inline QString assembled(const Profile &profile, const QList<QByteArray> &documents) {
    TextOutputAssembler assembler(profile);
    for (const QByteArray &document : documents)
        assembler.appendDocument(QString(), QString::fromUtf8(document));
    return assembler.finish();
}

struct Run {
    OptimizationResult result;
    QStringList texts; // every text handed to onTextOutput
};

inline Run optimize(const QStringList &paths, const Profile &profile,
                    OptimizerOptions options = {}) {
    Run run;
    QMutex mutex;
    QFuture<OptimizationResult> future = Optimizer::shared().optimize(
        entries(paths), profile,
        [&](const QString &text) {
            QMutexLocker lock(&mutex);
            run.texts.append(text);
        },
        options);
    future.waitForFinished();
    run.result = future.result();
    return run;
}

inline QList<FileResult::Status> statuses(const OptimizationResult &result) {
    QList<FileResult::Status> list;
    for (const FileResult &outcome : result.outcomes)
        list.append(outcome.status);
    return list;
}

// Private output folders must never stay behind in the user's folders.
inline QStringList leftovers(const QString &folder) {
    return QDir(folder).entryList({QStringLiteral(".mirandel-*")},
                                  QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

struct ProgramRun {
    int status = -1; // -1 when the program did not end in time
    QString output;
    QString error;
};

// The built program's surroundings in a test: settings, cache and data below `home`, and no
// display of any kind, as a script on a server has none.
inline QProcessEnvironment programEnvironment(const QString &home) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    return environment;
}

// Runs `program` (the built one when none given) to its end in that environment.
inline ProgramRun runProgram(const QStringList &arguments, const QString &home,
                             const QString &program = QStringLiteral(MIRANDEL_PROGRAM)) {
    QProcess process;
    process.setProcessEnvironment(programEnvironment(home));
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace optimizer_test
