#include "app/BatchMode.h"

#include "app/BatchOutput.h"
#include "app/BatchReport.h"
#include "app/Translators.h"
#include "engine/FileReplacement.h"
#include "engine/Optimizer.h"
#include "engine/SvgoResolver.h"
#include "model/Settings.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSet>

#include <cstdio>
#include <unistd.h>

#ifndef MIRANDEL_VERSION
#define MIRANDEL_VERSION "0"
#endif

namespace {

using namespace BatchOutput;

// The command that optimizes what a check found: the same call without the options that only
// check or report, quoted for a POSIX shell where needed.
QString rerunCommand(const QStringList &arguments) {
    static const QSet<QString> checkOnly{QStringLiteral("--check"), QStringLiteral("--quiet"),
                                         QStringLiteral("-q")};
    static const QSet<QString> checkOnlyWithValue{QStringLiteral("--report"),
                                                  QStringLiteral("--report-format")};
    QStringList words{QStringLiteral("mirandel")};
    for (qsizetype index = 1; index < arguments.size(); ++index) {
        const QString &argument = arguments.at(index);
        const QString name = argument.section(u'=', 0, 0);
        if (checkOnly.contains(argument) || checkOnlyWithValue.contains(name)) {
            if (checkOnlyWithValue.contains(argument))
                ++index; // its value follows as a word of its own
            continue;
        }
        static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./:=@%+-]+$"));
        words.append(plain.match(argument).hasMatch()
                         ? argument
                         : u'\'' + QString(argument).replace(u'\'', QStringLiteral("'\\''")) +
                               u'\'');
    }
    return words.join(u' ');
}

} // namespace

// A line on standard error, rewritten in place, while a long run goes on in a terminal: files
// done of all, and the time left at the pace so far. Called on the run's thread.
class BatchMode::ProgressLine {
public:
    explicit ProgressLine(qsizetype total) : m_done(size_t(total), false), m_total(total) {
        m_started.start();
    }
    ~ProgressLine() {
        if (m_shown)
            write(stderr, QStringLiteral("\r\x1b[K"));
    }
    void advance(const QList<std::pair<qsizetype, FileResult>> &finished) {
        for (const auto &[index, outcome] : finished)
            if (!m_done[size_t(index)]) {
                m_done[size_t(index)] = true;
                ++m_count;
            }
        if (m_shown && m_lastShown.elapsed() < 250 && m_count < m_total)
            return;
        // The pace of the first second is mostly Node starting: no guess from it.
        const qint64 elapsed = m_started.elapsed();
        const qint64 left = (elapsed * (m_total - m_count)) / std::max<qsizetype>(1, m_count);
        const QString done = BatchMode::tr("%1 of %2 files").arg(m_count).arg(m_total);
        write(stderr,
              QStringLiteral("\r\x1b[K") + done +
                  (elapsed < 1000 ? QString()
                                  : BatchMode::tr(", about %1 s left").arg((left + 999) / 1000)));
        m_shown = true;
        m_lastShown.start();
    }

private:
    std::vector<bool> m_done;
    qsizetype m_total;
    qsizetype m_count = 0;
    QElapsedTimer m_started;
    QElapsedTimer m_lastShown;
    bool m_shown = false;
};

bool BatchMode::isRequested(int argc, char *argv[]) {
    for (int index = 1; index < argc; ++index) {
        const QByteArray argument(argv[index]);
        if (argument == "--batch" || argument == "--help" || argument == "-h" ||
            argument == "--version")
            return true;
    }
    return false;
}

bool BatchMode::tell(const QList<BatchRecord> &records, bool checking, bool quiet) {
    bool failed = false;
    for (const BatchRecord &record : std::as_const(records)) {
        // Files kept as they were on purpose are no failure: a tree optimized before passes.
        switch (record.status) {
        case BatchRecord::Status::Optimized:
            break;
        case BatchRecord::Status::WouldChange:
            complain(tr("%1: would be optimized: %2 to %3 bytes")
                         .arg(record.path)
                         .arg(record.bytesBefore)
                         .arg(record.bytesAfter));
            break;
        case BatchRecord::Status::AlreadyOptimal:
            if (!quiet && !checking)
                note(QStringLiteral("%1: %2").arg(record.path, tr("already optimal")));
            break;
        case BatchRecord::Status::LooksDifferent:
            if (!quiet)
                note(QStringLiteral("%1: %2").arg(
                    record.path, checking ? tr("would be kept as it is: looks different")
                                          : tr("kept as it was: looks different")));
            break;
        case BatchRecord::Status::OverBudget:
        case BatchRecord::Status::Failed:
            failed = true;
            complain(QStringLiteral("%1: %2").arg(record.path, record.message));
            break;
        }
    }
    return failed;
}

int BatchMode::run(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(MIRANDEL_VERSION));
    installTranslators(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        tr("Optimizes SVG files with svgo.\n\n"
           "Without --batch the files and folders open in a window. With --batch they are "
           "optimized without one, with a stored profile: text output goes to standard output, "
           "each file that fails is named on standard error with svgo's message.\n\n"
           "Exit status with --batch: 0 when every file was optimized or kept as it was on "
           "purpose (already optimal, or it would look different; named on standard error as "
           "notes), 1 when any failed (or is above --max-bytes), 2 for bad usage or an unknown "
           "profile, 3 with --check when no file failed but some would change. With --restore: "
           "0 when every kept original was put back, 1 otherwise."));
    const QCommandLineOption batch(QStringLiteral("batch"), tr("Optimize without a window."));
    const QCommandLineOption profileOption(
        QStringLiteral("profile"),
        tr("The stored profile to use, by name; the default profile when left out."), tr("name"));
    const QCommandLineOption modeOption(
        QStringLiteral("mode"),
        tr("Write the files (file) or print the text output (text) instead of the profile's "
           "mode."),
        QStringLiteral("file|text"));
    const QCommandLineOption checkOption(
        QStringLiteral("check"),
        tr("Write nothing; name each file that optimizing in place would make smaller. Files "
           "this profile has optimized pass."));
    const QCommandLineOption maxBytesOption(
        QStringLiteral("max-bytes"),
        tr("Count each file that is larger than this after optimizing as failed."), tr("bytes"));
    const QCommandLineOption reportOption(
        QStringLiteral("report"),
        tr("Also write a report of every file to this file (- for standard output, in file "
           "mode)."),
        tr("file"));
    const QCommandLineOption reportFormatOption(QStringLiteral("report-format"),
                                                tr("The report's format; json when left out."),
                                                QStringLiteral("json|junit"));
    const QCommandLineOption quietOption(
        {QStringLiteral("q"), QStringLiteral("quiet")},
        tr("Print only failures and files that would change: no notes, no progress."));
    const QCommandLineOption auditOption(
        QStringLiteral("audit"),
        tr("Write nothing; list what the files show as a set: ids that collide when they are "
           "inlined in one page (as they are and as the profile would optimize them), viewBox "
           "sizes other than the usual one, hard-coded colours in a currentColor set, scripts, "
           "event handlers, embedded HTML, bitmaps, text and missing viewBoxes."));
    const QCommandLineOption noCacheOption(
        QStringLiteral("no-cache"),
        tr("Optimize every file afresh, instead of answering files that have not changed from "
           "earlier runs."));
    const QCommandLineOption restoreOption(
        QStringLiteral("restore"),
        tr("Put back the kept originals of the files given and of the SVG files in the folders "
           "given, as Restore Originals does, instead of optimizing."));
    const QCommandLineOption forceOption(
        QStringLiteral("force"),
        tr("With --restore: also put back files that were changed after they were optimized."));
    const QCommandLineOption precisionOption(
        QStringLiteral("precision"),
        tr("The precision svgo rounds to, instead of the profile's: auto for the lowest per file "
           "that still looks the same, or a number of digits from 0 to 20."),
        QStringLiteral("auto|N"));
    const QCommandLineOption recursiveOption(
        {QStringLiteral("r"), QStringLiteral("recursive")},
        tr("Take the SVG files of the folders' subfolders too."));
    for (const QCommandLineOption &option :
         {batch, recursiveOption, profileOption, modeOption, precisionOption, checkOption,
          maxBytesOption, reportOption, reportFormatOption, quietOption, auditOption, noCacheOption,
          restoreOption, forceOption})
        parser.addOption(option);
    // Qt's own help option would also offer --help-all, which opens the window instead.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  tr("Show this help."));
    parser.addOption(help);
    const QCommandLineOption version(QStringLiteral("version"),
                                     tr("Show Mirandel's version and the svgo it runs."));
    parser.addOption(version);
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
    if (parser.isSet(version))
        return showVersion();
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
    if (parser.isSet(precisionOption)) {
        const QString value = parser.value(precisionOption).trimmed();
        bool ok = false;
        const int digits = value.toInt(&ok);
        if (value.compare(u"auto", Qt::CaseInsensitive) == 0) {
            profile.automaticPrecision = true;
        } else if (ok && digits >= 0 && digits <= 20) {
            profile.automaticPrecision = false;
            profile.precision = digits;
        } else {
            complain(tr("--precision takes auto or a number from 0 to 20, not %1.")
                         .arg(quoted(parser.value(precisionOption))));
            return BadUsage;
        }
    }
    const bool checking = parser.isSet(checkOption);
    if (checking) {
        // The question is whether the files themselves are optimized: as if written in place,
        // where a run leaves alone what it cannot make smaller.
        profile.mode = OperationMode::File;
        profile.keepOriginalWhenNotSmaller = true;
    } else if (profile.mode == OperationMode::File && !profile.overwrite && !profile.outputFolder) {
        complain(tr("The profile %1 writes into an output folder, but has none chosen.")
                     .arg(quoted(profile.name)));
        return BadUsage;
    }
    qint64 maxBytes = 0;
    if (parser.isSet(maxBytesOption)) {
        bool ok = false;
        maxBytes = parser.value(maxBytesOption).toLongLong(&ok);
        if (!ok || maxBytes <= 0) {
            complain(tr("--max-bytes takes a number of bytes above 0, not %1.")
                         .arg(quoted(parser.value(maxBytesOption))));
            return BadUsage;
        }
    }
    const QString reportFormat = parser.value(reportFormatOption).isEmpty()
                                     ? QStringLiteral("json")
                                     : parser.value(reportFormatOption);
    if (reportFormat != u"json" && reportFormat != u"junit") {
        complain(tr("--report-format takes json or junit, not %1.").arg(quoted(reportFormat)));
        return BadUsage;
    }
    const QString reportPath = parser.value(reportOption);
    const bool textOutput = profile.mode == OperationMode::Text;
    if (reportPath == u"-" && textOutput) {
        complain(tr("--report - cannot share standard output with the text output; give the "
                    "report a file."));
        return BadUsage;
    }
    const bool quiet = parser.isSet(quietOption);

    // The same svgo the windows would run: the stored one when it works, else the login
    // shell's, else the shipped one; found once and remembered as the windows do.
    const SvgoResolution resolution = SvgoResolver::resolve(Keys::svgoExecutablePath().get());
    if (!resolution.works()) {
        complain(tr("No working svgo was found: %1").arg(resolution.storedCheck.problem()));
        return SomeFailed;
    }
    SvgoResolver::remember(resolution);
    // Node and svgo start while the folders are listed; more workers join if the list is long.
    Optimizer::shared().warmUp(profile, 1);

    QList<BatchRecord> records;
    const QList<SVGFile> files = listFiles(paths, records, parser.isSet(recursiveOption));
    if (parser.isSet(auditOption))
        return audit(files, records, profile, quiet);
    QString text;
    OptimizerOptions options;
    options.dryRun = checking;
    options.compressedSizes = !reportPath.isEmpty();
    if (parser.isSet(noCacheOption))
        options.resultsCache = false;
    std::unique_ptr<ProgressLine> progress;
    if (!quiet && ::isatty(STDERR_FILENO) && files.size() > 1) {
        progress = std::make_unique<ProgressLine>(files.size());
        options.onFilesFinished = [line = progress.get()](const auto &finished) {
            line->advance(finished);
        };
    }
    QFuture<OptimizationResult> future = Optimizer::shared().optimize(
        files, profile, [&text](const QString &output) { text = output; }, options);
    future.waitForFinished();
    progress.reset();
    const OptimizationResult result = future.result();

    qsizetype wouldChange = 0;
    for (qsizetype index = 0; index < result.outcomes.size(); ++index) {
        records.append(BatchRecord::of(QDir::toNativeSeparators(result.files.at(index).id),
                                       result.outcomes.at(index), checking, maxBytes));
        if (records.constLast().status == BatchRecord::Status::WouldChange)
            ++wouldChange;
    }
    bool failed = tell(records, checking, quiet);
    if (!result.stopped.isEmpty()) {
        complain(result.stopped);
        failed = true;
    }
    if (wouldChange > 0)
        complain(tr("%n of %1 files would be optimized. Optimize them with: %2", nullptr,
                    int(wouldChange))
                     .arg(records.size())
                     .arg(rerunCommand(QCoreApplication::arguments())));
    if (textOutput)
        write(stdout, text);

    const int status = failed ? SomeFailed : wouldChange > 0 ? WouldChange : AllOptimized;
    if (!reportPath.isEmpty()) {
        BatchReport::Run run;
        run.mirandelVersion = QCoreApplication::applicationVersion();
        run.svgoPath = QDir::toNativeSeparators(resolution.chosen.path);
        run.svgoVersion = resolution.chosen.version;
        run.profile = profile.name;
        run.mode = checking ? QStringLiteral("check") : rawValue(profile.mode);
        run.exitStatus = status;
        run.records = records;
        const QByteArray report =
            reportFormat == u"junit" ? BatchReport::junit(run) : BatchReport::json(run);
        if (reportPath == u"-") {
            std::fwrite(report.constData(), 1, size_t(report.size()), stdout);
            std::fflush(stdout);
        } else if (const QString error = FileReplacement::write(reportPath, report);
                   !error.isEmpty()) {
            complain(error);
            return SomeFailed;
        }
    }
    return status;
}
