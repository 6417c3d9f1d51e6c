#include "engine/OptimizerRun.h"

#include "engine/CompressedSize.h"
#include "engine/IdPrefixer.h"
#include "engine/OutputReview.h"
#include "engine/RenderPool.h"
#include "engine/ResultsCache.h"
#include "engine/StaleRunFolders.h"
#include "engine/SvgoResolver.h"
#include "engine/SvgoWorkerPool.h"
#include "engine/TextOutputAssembler.h"
#include "engine/VisualCheck.h"
#include "model/Settings.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QProcess>
#include <QTemporaryDir>
#include <QtConcurrent>

#include <algorithm>

namespace {

QStringList absolutePaths(const QList<SVGFile> &files) {
    QStringList paths;
    for (const SVGFile &file : files)
        paths.append(QFileInfo(file.url.toLocalFile()).absoluteFilePath());
    return paths;
}

} // namespace

OptimizerRun::OptimizerRun(const QList<SVGFile> &files, const Profile &profile,
                           const OptimizerOptions &options, QPromise<OptimizationResult> &promise,
                           SvgoWorkerPool &workers)
    : m_files(files), m_profile(profile), m_options(options), m_promise(promise),
      m_workers(workers), m_textMode(profile.mode == OperationMode::Text),
      m_inMemory(m_textMode || options.dryRun), m_configFile(svgoConfigFile(profile)),
      m_paths(absolutePaths(files)), m_inputs(m_paths),
      m_outputs(m_inMemory,
                !m_inMemory && !profile.overwrite && profile.outputFolder
                    ? std::optional<QString>(profile.outputFolder->toLocalFile())
                    : std::nullopt,
                m_paths) {
    m_intoFolder = !m_inMemory && !profile.overwrite && profile.outputFolder;
    if (!m_inMemory)
        m_backup = std::make_unique<OriginalsBackup>(
            options.originalsFolder.value_or(OriginalsBackup::root()));
}

OptimizerRun::~OptimizerRun() {
    for (Process *process : std::as_const(m_running)) {
        killGroup(process);
        process->process->waitForFinished(1000);
        delete process->process;
        delete process;
    }
}

QList<int> OptimizerRun::prepare(const SvgoInstallation &installation) {
    openCache(installation);
    const int count = int(m_files.size());
    m_outcomes.resize(count);
    m_documents.resize(count);
    m_originals.resize(count);
    m_checks.resize(count);
    m_read.resize(count);
    QList<int> runnable; // list indices of files that got a private output place
    for (int index = 0; index < count; ++index) {
        const QFileInfo info(m_paths.at(index));
        m_outcomes[index].sizeBefore = info.exists() ? info.size() : -1;
        m_slots.append(m_outputs.slotFor(index, m_paths.at(index)));
        StaleRunFolders::claim(m_slots.last().temporary);
        if (!m_slots.last().error.isEmpty())
            failFile(index, m_slots.last().error);
        else if (guardInput(index) && !answerFromCache(index)) {
            startCheck(index);
            runnable.append(index);
        }
    }
    m_maxProcesses = std::clamp<qint64>(
        m_options.maxConcurrentProcesses.value_or(Keys::maxConcurrentProcesses().get()), 1, 64);
    return runnable;
}

OptimizationResult OptimizerRun::exec() {
    m_promise.setProgressRange(0, int(m_files.size()));
    // The svgo the resolution stands for, never a stored path that no longer runs.
    const SvgoInstallation installation = SvgoInstallation::inspect(SvgoResolver::forRun().path);
    const QList<int> runnable = prepare(installation);
    reportProgress();
    m_placeTimer.setSingleShot(true);
    m_placeTimer.setInterval(placeEveryMs);
    connect(&m_placeTimer, &QTimer::timeout, this, [this] {
        placePending();
        reportProgress();
    });
    m_cancelPoll.setInterval(50);
    connect(&m_cancelPoll, &QTimer::timeout, this, &OptimizerRun::checkCancel);
    m_cancelPoll.start();
    checkCancel();
    if (!m_cancelled && !runnable.isEmpty()) {
        if (installation.engine() == SvgoInstallation::Engine::Worker)
            startWorkers(installation, runnable);
        else
            planChunks(runnable);
    }
    startMore();
    if (!m_running.isEmpty() || m_job || m_reviewing > 0)
        m_loop.exec();
    m_cancelPoll.stop();
    if (m_backup)
        m_backup->save();

    OptimizationResult result;
    result.files = m_files;
    result.outcomes = m_outcomes;
    result.cancelled = m_cancelled;
    if (!m_stopped.isEmpty()) {
        const qsizetype optimized = result.count(FileResult::Status::Optimized);
        const QString counts = tr("%1 files were optimized and can be restored; %2 were left as "
                                  "they were.")
                                   .arg(optimized)
                                   .arg(m_files.size() - optimized);
        result.stopped = m_backup->diskFull()
                             ? tr("The disk is full: %1").arg(counts)
                             : tr("No more files were replaced. %1 %2").arg(m_stopped, counts);
    }
    if (m_textMode && !m_cancelled) {
        result.documents = m_documents;
        result.text = TextOutputAssembler::assemble(m_profile, result);
    }
    return result;
}

void OptimizerRun::checkCancel() {
    if (m_cancelled || !m_promise.isCanceled())
        return;
    m_cancelled = true;
    m_queue.clear();
    // The end of each killed process is handled like any other: what it completed is kept.
    for (Process *process : std::as_const(m_running))
        killGroup(process);
    if (m_job)
        m_workers.cancel(m_job);
    for (const std::shared_ptr<SvgoJob> &job : std::as_const(m_tryJobs))
        m_workers.cancel(job);
}

void OptimizerRun::startWorkers(const SvgoInstallation &installation, const QList<int> &files) {
    auto job = std::make_shared<SvgoJob>();
    job->installation = installation;
    job->configFile = m_configFile;
    job->key = SvgoJob::keyFor(installation, m_configFile);
    job->workers = int(m_maxProcesses);
    // What is written must be what the next run (or a check) leaves alone; svgo's own multipass
    // stops after ten passes too. Text is not read again.
    job->passes = m_textMode ? 1 : 10;
    job->workersToStart = int(std::clamp<qint64>(
        (files.size() + filesPerStartedWorker - 1) / filesPerStartedWorker, 1, m_maxProcesses));
    // A limit of none or less would fail every file: the stored setting's then.
    const qint64 limit = m_options.timeLimitMs.value_or(0);
    job->timeLimitMs = limit > 0 ? limit : Keys::svgoTimeLimit().get() * 1000;
    job->receiver = this;
    job->deliver = [this](const SvgoJobUpdate &update) { takeUpdate(update); };
    m_tryTemplate = *job;
    for (int index : files) {
        SvgoRequest request;
        request.index = index;
        request.input = m_inputs.at(index);
        if (!m_inMemory)
            request.output = m_slots.at(index).temporary;
        job->queue.push_back(request);
    }
    m_job = job;
    m_workers.submit(job);
}

void OptimizerRun::takeUpdate(const SvgoJobUpdate &update) {
    // Answers that came in before a cancel took hold are files finished before it: kept.
    for (const SvgoAnswer &answer : update.answers) {
        if (m_plugins.isEmpty())
            m_plugins = answer.plugins;
        if (answer.ok)
            finishFile(answer.index, m_inMemory ? &answer.document : nullptr);
        else if (answer.code == "ENOENT")
            failFile(answer.index, tr("The file no longer exists."));
        else
            failFile(answer.index, SvgoMessages::userMessage(answer.error.toUtf8()));
    }
    if (!update.fallback.isEmpty() && !m_cancelled) {
        QList<int> files;
        for (const SvgoRequest &request : update.fallback)
            files.append(request.index);
        planChunks(files);
    }
    if (update.over)
        m_job.reset();
    reportProgress();
    startMore();
}

void OptimizerRun::finishFile(int index, const QByteArray *document) {
    const SvgoOutputs::Slot &slot = m_slots.at(index);
    QByteArray output;
    OriginalsBackup::Stamp written;
    if (document) {
        output = *document;
    } else {
        QFile file(slot.temporary);
        if (!file.open(QIODevice::ReadOnly)) {
            failFile(index, tr("svgo wrote no output for this file."));
            return;
        }
        output = file.readAll();
        file.close();
        if (m_inMemory)
            file.remove();
    }
    // svgo's output gets the file's name in its ids; an answer from the cache already has it.
    if (!m_fromCache.contains(index)) {
        if (QByteArray named = withFileIds(index, output); named != output) {
            output = std::move(named);
            if (!document && !m_inMemory)
                if (const QString error = writeTemporary(index, output); !error.isEmpty()) {
                    failFile(index, tr("Cannot write the output: %1").arg(error));
                    return;
                }
        }
    }
    // A rename keeps the time, so this is also what the destination will show.
    if (!document && !m_inMemory)
        written = OriginalsBackup::Stamp::of(slot.temporary);
    // Drawing the output takes longer than all else a file costs here: files whose rendering
    // is checked are reviewed on the render pool, each once its original is drawn, and placed
    // when their verdict is in. Meanwhile this thread takes the next answers.
    if (m_checks.at(index).isValid() && !m_fromCache.contains(index) &&
        !m_originals.at(index).isEmpty()) {
        QFuture<std::shared_ptr<VisualCheck>> drawn = m_checks.at(index);
        m_checks[index] = {};
        reviewOnPool(drawn.then(&renderPool(),
                                [profile = m_profile, original = m_originals.at(index),
                                 output](const std::shared_ptr<VisualCheck> &check) {
                                    return OutputReview::review(profile, original, output,
                                                                check.get());
                                }),
                     [this, index, output, written, drawn](const FileResult &review) {
                         if (!startSearch(index, output, written, review, drawn.result()))
                             placeReviewed(index, output, written, review);
                     });
        return;
    }
    placeReviewed(index, output, written, std::nullopt);
}

void OptimizerRun::reviewOnPool(QFuture<FileResult> review,
                                std::function<void(const FileResult &)> then) {
    ++m_reviewing;
    auto *watcher = new QFutureWatcher<FileResult>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, then] {
        const FileResult result = watcher->result();
        watcher->deleteLater();
        --m_reviewing;
        then(result);
        reportProgress();
        startMore(); // the run may be over now
    });
    watcher->setFuture(review);
}

QByteArray OptimizerRun::withFileIds(int index, const QByteArray &output) const {
    if (!m_profile.uniqueIdsInFiles || m_textMode)
        return output;
    return IdPrefixer::prefixIds(
               QString::fromUtf8(output),
               IdPrefixer::validName(QFileInfo(m_paths.at(index)).completeBaseName()) +
                   IdPrefixer::separator.toString(),
               true)
        .toUtf8();
}

void OptimizerRun::failFile(int index, const QString &message) {
    FileResult &outcome = m_outcomes[index];
    outcome.status = FileResult::Status::Failed;
    outcome.message = message;
    outcome.sizeAfter = -1;
    m_originals[index] = QByteArray();
    m_checks[index] = {};
    ++m_finished;
    m_settled.append(index);
}

void OptimizerRun::reportProgress() {
    if (m_options.onFilesFinished && !m_settled.isEmpty()) {
        QList<std::pair<qsizetype, FileResult>> settled;
        settled.reserve(m_settled.size());
        for (int index : std::as_const(m_settled))
            settled.append({index, m_outcomes.at(index)});
        m_settled.clear();
        m_options.onFilesFinished(settled);
    }
    // Reports of a process that later fails are kept as finished files, so this never goes back.
    const int value = std::min(int(m_files.size()), m_finished + m_reportedInRunning);
    if (value > m_progress) {
        m_progress = value;
        m_promise.setProgressValue(value);
    }
}

FileResult::Status OptimizerRun::reviewOutput(int index, const QByteArray &output,
                                              const std::optional<FileResult> &review) {
    const std::shared_ptr<VisualCheck> check =
        m_checks.at(index).isValid() ? m_checks.at(index).result() : nullptr;
    m_checks[index] = {}; // its drawing is not needed again
    FileResult result;
    if (const auto cached = m_fromCache.constFind(index); cached != m_fromCache.cend()) {
        result = *cached;
        m_fromCache.erase(cached);
    } else if (m_originals.at(index).isEmpty()) {
        // We could not read the input ourselves, so there is nothing to compare with.
        result.status = FileResult::Status::Optimized;
        result.sizeAfter = output.size();
    } else {
        result = review
                     ? *review
                     : OutputReview::review(m_profile, m_originals.at(index), output, check.get());
        if (m_cache)
            m_cache->store(cacheKeyInput(index), result, output);
    }
    // The sizes are those of the file on disk, which a converted copy does not change.
    result.sizeBefore = m_outcomes.at(index).sizeBefore;
    if (m_options.compressedSizes) {
        // brotli at its best takes milliseconds per icon and seconds per megabyte, too long to
        // hold up the answers behind this one: the sizes are measured on the render pool and
        // joined to the outcome where it is reported.
        CompressedSizeReports::of(m_options.onFilesFinished, m_outcomes)
            .measure(index, m_originals.at(index), output);
    }
    if (!m_inMemory)
        result.destination = m_slots.at(index).destination;
    m_outcomes[index] = result;
    return result.status;
}
