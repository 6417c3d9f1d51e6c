#include "app/BatchMode.h"

#include "app/Translators.h"
#include "engine/Optimizer.h"
#include "engine/OriginalsBackup.h"
#include "engine/SvgoResolver.h"
#include "model/DefaultsStore.h"
#include "model/FolderListing.h"
#include "model/ProfileStore.h"
#include "model/Settings.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <cstdio>

namespace {

enum ExitStatus { AllOptimized = 0, SomeFailed = 1, BadUsage = 2 };

void write(FILE *stream, const QString &text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

void complain(const QString &message) {
    write(stderr, QStringLiteral("mirandel: ") + message + u'\n');
}

void note(const QString &message) {
    write(stderr, QStringLiteral("mirandel: note: ") + message + u'\n');
}

QString quoted(const QString &name) {
    return u'"' + name + u'"';
}

} // namespace

bool BatchMode::isRequested(int argc, char *argv[]) {
    for (int index = 1; index < argc; ++index) {
        const QByteArray argument(argv[index]);
        if (argument == "--batch" || argument == "--help" || argument == "-h")
            return true;
    }
    return false;
}

int BatchMode::run(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    installTranslators(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        tr("Optimizes SVG files with svgo.\n\n"
           "Without --batch the files and folders open in a window. With --batch they are "
           "optimized without one, with a stored profile: text output goes to standard output, "
           "each file that fails is named on standard error with svgo's message.\n\n"
           "Exit status with --batch: 0 when every file was optimized or kept as it was on "
           "purpose (already optimal, or it would look different; named on standard error as "
           "notes), 1 when any failed, 2 for bad usage or an unknown profile. With --restore: 0 "
           "when every kept original was put back, 1 otherwise."));
    const QCommandLineOption batch(QStringLiteral("batch"), tr("Optimize without a window."));
    const QCommandLineOption profileOption(
        QStringLiteral("profile"),
        tr("The stored profile to use, by name; the default profile when left out."), tr("name"));
    const QCommandLineOption modeOption(
        QStringLiteral("mode"),
        tr("Write the files (file) or print the text output (text) instead of the profile's "
           "mode."),
        QStringLiteral("file|text"));
    const QCommandLineOption restoreOption(
        QStringLiteral("restore"),
        tr("Put back the kept originals of the files given and of the SVG files in the folders "
           "given, as Restore Originals does, instead of optimizing."));
    const QCommandLineOption forceOption(
        QStringLiteral("force"),
        tr("With --restore: also put back files that were changed after they were optimized."));
    const QCommandLineOption recursiveOption(
        {QStringLiteral("r"), QStringLiteral("recursive")},
        tr("Take the SVG files of the folders' subfolders too."));
    parser.addOption(batch);
    parser.addOption(recursiveOption);
    parser.addOption(profileOption);
    parser.addOption(modeOption);
    parser.addOption(restoreOption);
    parser.addOption(forceOption);
    // Qt's own help option would also offer --help-all, which opens the window instead.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  tr("Show this help."));
    parser.addOption(help);
    parser.addPositionalArgument(
        QStringLiteral("paths"),
        tr("SVG files, and folders whose SVG files are taken (those of their subfolders only "
           "with --recursive)."),
        tr("[path…]"));

    if (!parser.parse(QCoreApplication::arguments())) {
        complain(parser.errorText());
        return BadUsage;
    }
    if (parser.isSet(help)) {
        write(stdout, parser.helpText());
        return AllOptimized;
    }
    const QStringList paths = parser.positionalArguments();
    if (paths.isEmpty()) {
        complain(tr("No files or folders given. See mirandel --help."));
        return BadUsage;
    }

    if (parser.isSet(restoreOption))
        return restore(paths, parser.isSet(forceOption), parser.isSet(recursiveOption));

    std::optional<Profile> chosen = chooseProfile(parser.value(profileOption));
    if (!chosen)
        return BadUsage;
    Profile profile = *chosen;
    if (parser.isSet(modeOption)) {
        const std::optional<OperationMode> mode = operationModeFromRaw(parser.value(modeOption));
        if (!mode) {
            complain(
                tr("--mode takes file or text, not %1.").arg(quoted(parser.value(modeOption))));
            return BadUsage;
        }
        profile.mode = *mode;
    }
    if (profile.mode == OperationMode::File && !profile.overwrite && !profile.outputFolder) {
        complain(tr("The profile %1 writes into an output folder, but has none chosen.")
                     .arg(quoted(profile.name)));
        return BadUsage;
    }

    // The same svgo the windows would run: the stored one when it works, else the login
    // shell's, else the shipped one; found once and remembered as the windows do.
    const SvgoResolution resolution = SvgoResolver::resolve(Keys::svgoExecutablePath().get());
    if (!resolution.works()) {
        complain(tr("No working svgo was found: %1").arg(resolution.storedCheck.problem()));
        return SomeFailed;
    }
    SvgoResolver::remember(resolution);

    bool failed = false;
    const QList<SVGFile> files = listFiles(paths, failed, parser.isSet(recursiveOption));
    QString text;
    QFuture<OptimizationResult> future = Optimizer::shared().optimize(
        files, profile, [&text](const QString &output) { text = output; });
    future.waitForFinished();
    const OptimizationResult result = future.result();
    for (qsizetype index = 0; index < result.outcomes.size(); ++index) {
        const FileResult &outcome = result.outcomes.at(index);
        const QString path = QDir::toNativeSeparators(result.files.at(index).id);
        // Files kept as they were on purpose are no failure: a tree optimized before passes.
        switch (outcome.status) {
        case FileResult::Status::Optimized:
            break;
        case FileResult::Status::AlreadyOptimal:
            note(QStringLiteral("%1: %2").arg(path, tr("already optimal")));
            break;
        case FileResult::Status::LooksDifferent:
            note(QStringLiteral("%1: %2").arg(path, tr("kept as it was: looks different")));
            break;
        case FileResult::Status::Failed:
        case FileResult::Status::NotRun:
            failed = true;
            complain(QStringLiteral("%1: %2").arg(path, outcome.message));
            break;
        }
    }
    if (!result.stopped.isEmpty()) {
        complain(result.stopped);
        failed = true;
    }
    if (profile.mode == OperationMode::Text)
        write(stdout, text);
    return failed ? SomeFailed : AllOptimized;
}

int BatchMode::restore(const QStringList &paths, bool force, bool recursive) {
    bool failed = false;
    QStringList wanted;
    for (const SVGFile &file : listFiles(paths, failed, recursive))
        wanted.append(file.url.toLocalFile());
    const QList<OriginalsBackup::Original> originals = OriginalsBackup::originals(wanted);
    if (originals.isEmpty() && !failed)
        complain(tr("No kept originals for the files given."));
    QSet<QString> done; // a file listed by its link and by its target is put back once
    for (const OriginalsBackup::Original &original : originals) {
        if (done.contains(original.target))
            continue;
        done.insert(original.target);
        if (original.changedSinceRun && !force) {
            complain(tr("%1 was changed after it was optimized; left as it is (--force puts the "
                        "original back anyway).")
                         .arg(QDir::toNativeSeparators(original.path)));
            failed = true;
        } else if (const QString error = OriginalsBackup::restore(original); !error.isEmpty()) {
            complain(error);
            failed = true;
        }
    }
    return failed ? SomeFailed : AllOptimized;
}

std::optional<Profile> BatchMode::chooseProfile(const QString &wanted) {
    // Found by name (or identifier); names need not be unique, the first wins.
    QList<Profile> profiles{ProfileStore::defaultProfile()};
    profiles += ProfileStore::profiles();
    if (wanted.isEmpty())
        return profiles.constFirst();
    const auto found = std::find_if(profiles.cbegin(), profiles.cend(), [&](const Profile &p) {
        return p.name == wanted || p.id == wanted;
    });
    if (found != profiles.cend())
        return *found;
    QStringList names;
    for (const Profile &p : std::as_const(profiles))
        names.append(quoted(p.name));
    complain(tr("There is no profile %1. The stored profiles are: %2.")
                 .arg(quoted(wanted), names.join(QStringLiteral(", "))));
    return std::nullopt;
}

QList<SVGFile> BatchMode::listFiles(const QStringList &paths, bool &failed, bool recursive) {
    QList<SVGFile> files;
    QSet<QString> listed;
    // A file reached twice (by a link beside its target, say) is listed once, by the path met
    // first: optimized twice, its second run would find it changed under it.
    const auto add = [&](const QString &path) {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        const QString key = canonical.isEmpty() ? path : canonical;
        if (!listed.contains(key)) {
            listed.insert(key);
            files.append(SVGFile::fromUrl(QUrl::fromLocalFile(path)));
        }
    };
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (info.isDir()) {
            QString problem;
            int unaddressable = 0;
            if (const std::optional<QStringList> found =
                    listSVGFiles(info.absoluteFilePath(), &problem, &unaddressable, recursive)) {
                for (const QString &file : *found)
                    add(file);
                if (unaddressable > 0) {
                    complain(
                        QStringLiteral("%1: %2").arg(path, skippedNamesMessage(unaddressable)));
                    failed = true;
                }
            } else {
                complain(QStringLiteral("%1: %2").arg(path, problem));
                failed = true;
            }
        } else if (info.exists()) {
            add(info.absoluteFilePath());
        } else {
            complain(tr("%1: No such file or folder.").arg(path));
            failed = true;
        }
    }
    return files;
}
