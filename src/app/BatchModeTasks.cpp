// Batch mode's tasks besides optimizing: auditing a set, showing the version and putting back
// kept originals (BatchMode.cpp parses the command line and optimizes).
#include "app/BatchMode.h"

#include "app/BatchOutput.h"
#include "engine/InputGuard.h"
#include "engine/Optimizer.h"
#include "engine/OriginalsBackup.h"
#include "engine/SetAudit.h"
#include "engine/SvgoResolver.h"
#include "model/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>

using namespace BatchOutput;

int BatchMode::audit(const QList<SVGFile> &files, const QList<BatchRecord> &problems,
                     Profile profile, bool quiet) {
    bool failed = !problems.isEmpty();
    for (const BatchRecord &problem : problems)
        complain(QStringLiteral("%1: %2").arg(problem.path, problem.message));
    QList<SetAudit::Document> originals;
    QList<SVGFile> readable;
    for (const SVGFile &file : files) {
        const QString path = QDir::toNativeSeparators(file.id);
        QString failure;
        const std::optional<QByteArray> bytes =
            InputGuard::readFile(file.url.toLocalFile(), &failure);
        const InputGuard::Checked checked =
            bytes ? InputGuard::check(*bytes) : InputGuard::Checked{{}, failure};
        if (!checked.failure.isEmpty()) {
            complain(QStringLiteral("%1: %2").arg(path, checked.failure));
            failed = true;
            continue;
        }
        originals.append({path, checked.svg});
        readable.append(file);
    }
    QList<SetAudit::Finding> findings = SetAudit::audit(originals);

    // svgo names every file's ids a, b, c…: what the profile would make of the files collides
    // far more than the files themselves, unless it names them after their files. Optimized in
    // memory, as the text it would give.
    if (profile.mode == OperationMode::File && profile.uniqueIdsInFiles)
        readable.clear();
    profile.mode = OperationMode::Text;
    profile.uniqueIds = false;
    profile.checkRendering = false;
    QFuture<OptimizationResult> future =
        Optimizer::shared().optimize(readable, profile, [](const QString &) {});
    future.waitForFinished();
    const OptimizationResult result = future.result();
    QList<SetAudit::Document> optimized;
    for (qsizetype index = 0; index < result.outcomes.size(); ++index)
        if (result.outcomes.at(index).status == FileResult::Status::Optimized)
            optimized.append({originals.at(index).path, result.documents.value(index)});
    findings += SetAudit::collidingIds(optimized, true);

    QString text;
    for (const SetAudit::Finding &finding : std::as_const(findings)) {
        text += finding.summary + u'\n';
        for (const QString &file : finding.files)
            text += QStringLiteral("  ") + file + u'\n';
    }
    write(stdout, text);
    if (findings.isEmpty() && !quiet)
        note(tr("Nothing to report on %n files.", nullptr, int(originals.size())));
    return failed ? SomeFailed : findings.isEmpty() ? AllOptimized : WouldChange;
}

int BatchMode::showVersion() {
    write(stdout, QStringLiteral("mirandel %1\n").arg(QCoreApplication::applicationVersion()));
    const SvgoResolution resolution = SvgoResolver::resolve(Keys::svgoExecutablePath().get());
    if (!resolution.works()) {
        write(stdout, tr("svgo: none works (%1)\n").arg(resolution.storedCheck.problem()));
        return SomeFailed;
    }
    write(stdout,
          QStringLiteral("svgo %1 (%2)\n")
              .arg(resolution.chosen.version, QDir::toNativeSeparators(resolution.chosen.path)));
    return AllOptimized;
}

int BatchMode::restore(const QStringList &paths, bool force, bool recursive) {
    QList<BatchRecord> problems;
    QStringList wanted;
    for (const SVGFile &file : listFiles(paths, problems, recursive))
        wanted.append(file.url.toLocalFile());
    bool failed = !problems.isEmpty();
    for (const BatchRecord &problem : std::as_const(problems))
        complain(QStringLiteral("%1: %2").arg(problem.path, problem.message));
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
