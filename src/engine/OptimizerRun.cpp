#include "engine/OptimizerRun.h"

#include "engine/SvgoWorkerPool.h"
#include "engine/TextOutputAssembler.h"
#include "model/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>

struct OptimizerRun::Process {
    QProcess *process = nullptr;
    QList<int> files;
    SvgoMessages::ReportReader reports;
    QStringList reportedNames;
    QString program;
};

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
      m_configFile(svgoConfigFile(profile)), m_paths(absolutePaths(files)),
      m_outputs(m_textMode,
                !m_textMode && !profile.overwrite && profile.outputFolder
                    ? std::optional<QString>(profile.outputFolder->toLocalFile())
                    : std::nullopt,
                m_paths) {
    if (!m_textMode)
        m_backup = std::make_unique<OriginalsBackup>(
            options.originalsFolder.value_or(OriginalsBackup::root()));
}

OptimizerRun::~OptimizerRun() {
    for (Process *process : std::as_const(m_running)) {
        process->process->kill();
        process->process->waitForFinished(1000);
        delete process->process;
        delete process;
    }
}

QList<int> OptimizerRun::prepare() {
    const int count = int(m_files.size());
    m_outcomes.resize(count);
    m_documents.resize(count);
    QList<int> runnable; // list indices of files that got a private output place
    for (int index = 0; index < count; ++index) {
        const QFileInfo info(m_paths.at(index));
        m_outcomes[index].sizeBefore = info.exists() ? info.size() : -1;
        m_slots.append(m_outputs.slotFor(index, m_paths.at(index)));
        if (m_slots.last().error.isEmpty())
            runnable.append(index);
        else
            failFile(index, m_slots.last().error);
    }
    m_maxProcesses = std::clamp<qint64>(
        m_options.maxConcurrentProcesses.value_or(Keys::maxConcurrentProcesses().get()), 1, 64);
    return runnable;
}

OptimizationResult OptimizerRun::exec() {
    m_promise.setProgressRange(0, int(m_files.size()));
    const QList<int> runnable = prepare();
    reportProgress();
    m_cancelPoll.setInterval(50);
    connect(&m_cancelPoll, &QTimer::timeout, this, &OptimizerRun::checkCancel);
    m_cancelPoll.start();
    checkCancel();
    if (!m_cancelled && !runnable.isEmpty()) {
        const SvgoInstallation installation =
            SvgoInstallation::inspect(Keys::svgoExecutablePath().get());
        if (installation.engine() == SvgoInstallation::Engine::Worker)
            startWorkers(installation, runnable);
        else
            planChunks(runnable);
    }
    startMore();
    if (!m_running.isEmpty() || m_job)
        m_loop.exec();
    m_cancelPoll.stop();
    if (m_backup)
        m_backup->save();

    OptimizationResult result;
    result.files = m_files;
    result.outcomes = m_outcomes;
    result.cancelled = m_cancelled;
    if (m_textMode && !m_cancelled)
        result.text = assembledText();
    return result;
}

void OptimizerRun::checkCancel() {
    if (m_cancelled || !m_promise.isCanceled())
        return;
    m_cancelled = true;
    m_queue.clear();
    // The end of each killed process is handled like any other: what it completed is kept.
    for (Process *process : std::as_const(m_running))
        process->process->kill();
    if (m_job)
        m_workers.cancel(m_job);
}

void OptimizerRun::startWorkers(const SvgoInstallation &installation, const QList<int> &files) {
    auto job = std::make_shared<SvgoJob>();
    job->installation = installation;
    job->configFile = m_configFile;
    job->key = SvgoJob::keyFor(installation, m_configFile);
    job->workers = int(m_maxProcesses);
    job->timeLimitMs =
        std::max<qint64>(1, m_options.timeLimitMs.value_or(Keys::svgoTimeLimit().get() * 1000));
    job->receiver = this;
    job->deliver = [this](const SvgoJobUpdate &update) { takeUpdate(update); };
    for (int index : files)
        job->queue.push_back(
            {index, m_paths.at(index), m_textMode ? QString() : m_slots.at(index).temporary, 0});
    m_job = job;
    m_workers.submit(job);
}

void OptimizerRun::takeUpdate(const SvgoJobUpdate &update) {
    // Answers that came in before a cancel took hold are files finished before it: kept.
    for (const SvgoAnswer &answer : update.answers) {
        if (answer.ok)
            finishFile(answer.index, m_textMode ? &answer.document : nullptr);
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
    FileResult &outcome = m_outcomes[index];
    OriginalsBackup::Stamp written;
    if (document) {
        m_documents[index] = *document;
    } else if (m_textMode) {
        QFile file(slot.temporary);
        if (!file.open(QIODevice::ReadOnly)) {
            failFile(index, tr("svgo wrote no output for this file."));
            return;
        }
        m_documents[index] = file.readAll();
        file.close();
        file.remove();
    } else {
        // A rename keeps the time, so this is also what the destination will show.
        written = OriginalsBackup::Stamp::of(slot.temporary);
        if (written.size < 0) {
            failFile(index, tr("svgo wrote no output for this file."));
            return;
        }
        outcome.sizeAfter = written.size;
    }
    if (const QString refusal =
            reviewOutput(index, m_textMode ? QString() : slot.temporary, m_documents.at(index));
        !refusal.isEmpty()) {
        QFile::remove(slot.temporary);
        failFile(index, refusal);
        return;
    }
    if (m_textMode) {
        outcome.sizeAfter = m_documents.at(index).size();
    } else {
        // An input about to be replaced is kept first; without that it stays as it is.
        const bool replacesInput = m_backup && slot.replacesInput;
        if (replacesInput) {
            if (const QString error = m_backup->keep(m_paths.at(index), slot.destination);
                !error.isEmpty()) {
                QFile::remove(slot.temporary);
                failFile(index, error);
                return;
            }
        }
        if (const QString error = SvgoOutputs::place(slot); !error.isEmpty()) {
            QFile::remove(slot.temporary);
            failFile(index, error);
            return;
        }
        if (replacesInput)
            m_backup->recordResult(slot.destination, written);
    }
    outcome.status = FileResult::Status::Optimized;
    outcome.message.clear();
    ++m_finished;
}

void OptimizerRun::failFile(int index, const QString &message) {
    FileResult &outcome = m_outcomes[index];
    outcome.status = FileResult::Status::Failed;
    outcome.message = message;
    outcome.sizeAfter = -1;
    ++m_finished;
}

void OptimizerRun::reportProgress() {
    // Reports of a process that later fails are kept as finished files, so this never goes back.
    const int value = std::min(int(m_files.size()), m_finished + m_reportedInRunning);
    if (value > m_progress) {
        m_progress = value;
        m_promise.setProgressValue(value);
    }
}

QString OptimizerRun::assembledText() const {
    // The documents back to back in list order, whichever worker or process produced them.
    TextOutputAssembler assembler(m_profile);
    QByteArray output;
    for (int index = 0; index < m_outcomes.size(); ++index) {
        if (m_outcomes.at(index).status == FileResult::Status::Optimized)
            output.append(m_documents.at(index));
    }
    if (!output.isEmpty())
        assembler.appendChunk(QString::fromUtf8(output));
    return assembler.finish();
}

QString OptimizerRun::reviewOutput(int, const QString &, const QByteArray &) {
    return QString(); // every complete output is taken as svgo made it
}
