#include "engine/OptimizerRun.h"

#include "engine/StaleRunFolders.h"
#include "engine/SvgoChunkPlanner.h"
#include "engine/TextOutputAssembler.h"
#include "model/Diagnostics.h"
#include "model/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {

// svgo opens all inputs of a process at once; the soft descriptor limit is often far below what
// the system allows. Runs in the forked child before exec, so only async-signal-safe calls.
void raiseDescriptorLimit() {
#ifdef Q_OS_UNIX
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0) {
        const rlim_t wanted = limit.rlim_max < rlim_t(10240) ? limit.rlim_max : rlim_t(10240);
        if (limit.rlim_cur < wanted) {
            limit.rlim_cur = wanted;
            setrlimit(RLIMIT_NOFILE, &limit);
        }
    }
#endif
}

QProcessEnvironment svgoEnvironment() {
    // Inherited as it is, except that error messages should come without colour codes.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("NO_COLOR"), QStringLiteral("1"));
    return environment;
}

} // namespace

struct OptimizerRun::Process {
    QProcess *process = nullptr;
    QList<int> files;
    SvgoMessages::ReportReader reports;
    QStringList reportedNames;
    QString program;
};

OptimizerRun::OptimizerRun(const QList<SVGFile> &files, const Profile &profile,
                           const OptimizerOptions &options, QPromise<OptimizationResult> &promise)
    : m_files(files), m_profile(profile), m_options(options), m_promise(promise),
      m_textMode(profile.mode == OperationMode::Text),
      m_outputs(m_textMode, !m_textMode && !profile.overwrite && profile.outputFolder
                                ? std::optional<QString>(profile.outputFolder->toLocalFile())
                                : std::nullopt) {
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

void OptimizerRun::prepare() {
    const int count = int(m_files.size());
    m_outcomes.resize(count);
    m_documents.resize(count);
    QList<SvgoChunkInput> inputs;
    QList<int> runnable; // list indices of files that got a private output place
    for (int index = 0; index < count; ++index) {
        const QString path = QFileInfo(m_files.at(index).url.toLocalFile()).absoluteFilePath();
        m_paths.append(path);
        const QFileInfo info(path);
        m_outcomes[index].sizeBefore = info.exists() ? info.size() : -1;
        m_slots.append(m_outputs.slotFor(index, path));
        StaleRunFolders::claim(m_slots.last().temporary);
        if (!m_slots.last().error.isEmpty()) {
            failFile(index, m_slots.last().error);
            continue;
        }
        runnable.append(index);
        // Both arguments, their terminating zeros and the argument vector's pointers.
        const qint64 commandLine = QFile::encodeName(path).size() +
                                   QFile::encodeName(m_slots.last().temporary).size() + 2 + 16;
        inputs.append({std::max<qint64>(0, m_outcomes[index].sizeBefore), commandLine});
    }

    SvgoChunkLimits limits = SvgoChunkLimits::forThisSystem();
    limits.minFiles = m_options.chunkSize.value_or(Keys::chunkSize().get());
    m_maxProcesses = std::clamp<qint64>(
        m_options.maxConcurrentProcesses.value_or(Keys::maxConcurrentProcesses().get()), 1, 64);
    limits.processes = m_maxProcesses;
    limits.exact = m_options.exactChunks;
    for (const QList<int> &chunk : planSvgoChunks(inputs, limits)) {
        QList<int> files;
        for (int position : chunk)
            files.append(runnable.at(position));
        m_plan.append(files);
        m_queue.push_back(files);
    }
    m_splitBudget = 16 + 2 * int(std::ceil(std::log2(double(count) + 1)));
}

OptimizationResult OptimizerRun::exec() {
    m_promise.setProgressRange(0, int(m_files.size()));
    prepare();
    reportProgress();
    m_cancelPoll.setInterval(50);
    connect(&m_cancelPoll, &QTimer::timeout, this, &OptimizerRun::checkCancel);
    m_cancelPoll.start();
    checkCancel();
    startMore();
    if (!m_running.isEmpty())
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
}

void OptimizerRun::startMore() {
    while (!m_cancelled && !m_queue.empty() && m_running.size() < m_maxProcesses) {
        const QList<int> files = m_queue.front();
        m_queue.pop_front();
        start(files);
    }
    if (m_running.isEmpty() && (m_cancelled || m_queue.empty()))
        m_loop.quit();
}

void OptimizerRun::start(const QList<int> &files) {
    auto *process = new Process;
    process->files = files;
    process->process = new QProcess(this);
    m_running.append(process);
    QProcess *child = process->process;

    // Read again for every process: a path changed during a run counts from the next process on.
    // Used as a file-system path as it is: no tilde expansion, no search along PATH.
    const QString configured = Keys::svgoExecutablePath().get();
    process->program = configured.isEmpty() ? QString() : QFileInfo(configured).absoluteFilePath();

    QStringList arguments{QStringLiteral("-i")};
    for (int index : files)
        arguments.append(m_paths.at(index));
    arguments.append(QStringLiteral("-o"));
    for (int index : files) {
        // A leftover from a cut-short earlier attempt must not pass for this attempt's output.
        QFile::remove(m_slots.at(index).temporary);
        arguments.append(m_slots.at(index).temporary);
    }
    if (m_profile.svgoConfigFile) {
        arguments.append(QStringLiteral("--config"));
        arguments.append(m_profile.svgoConfigFile->toLocalFile());
    }

    child->setProgram(process->program);
    child->setArguments(arguments);
    child->setProcessEnvironment(svgoEnvironment());
    child->setInputChannelMode(QProcess::ForwardedInputChannel);
#ifdef Q_OS_UNIX
    child->setChildProcessModifier(raiseDescriptorLimit);
#endif
    connect(child, &QProcess::readyReadStandardOutput, this, [this, process] {
        const QStringList names = process->reports.feed(process->process->readAllStandardOutput());
        process->reportedNames.append(names);
        m_reportedInRunning += int(names.size());
        reportProgress();
    });
    connect(child, &QProcess::finished, this, [this, process] { processEnded(process, false); });
    connect(child, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        // A failed start may be reported from inside start(); handle it once back in the loop.
        if (error == QProcess::FailedToStart)
            QMetaObject::invokeMethod(
                this, [this, process] { processEnded(process, true); }, Qt::QueuedConnection);
    });
    child->start();
}

void OptimizerRun::processEnded(Process *process, bool startFailed) {
    if (!m_running.contains(process))
        return;
    m_running.removeOne(process);
    QProcess *child = process->process;
    const QStringList lateNames =
        startFailed ? QStringList() : process->reports.feed(child->readAllStandardOutput());
    process->reportedNames.append(lateNames);
    m_reportedInRunning -= int(process->reportedNames.size() - lateNames.size());

    if (startFailed) {
        const QString reason = child->errorString();
        qCWarning(lcMirandel).noquote()
            << QStringLiteral("Optimizer: cannot start svgo at \"%1\": %2")
                   .arg(process->program, reason);
        const QString message = tr("svgo could not be started: %1").arg(reason);
        for (int index : std::as_const(process->files))
            failFile(index, message);
    } else if (child->exitStatus() == QProcess::NormalExit && child->exitCode() == 0) {
        for (int index : std::as_const(process->files))
            finishFile(index);
    } else {
        // svgo stops at the first file it cannot parse and may leave writes cut short. An output
        // counts only once svgo reported it, and only when its file name is unique in the chunk
        // (the report names the input by file name alone).
        QHash<QString, int> nameCount;
        for (int index : std::as_const(process->files))
            ++nameCount[QFileInfo(m_paths.at(index)).fileName()];
        const QSet<QString> reported(process->reportedNames.cbegin(),
                                     process->reportedNames.cend());
        QList<int> unfinished;
        for (int index : std::as_const(process->files)) {
            const QString name = QFileInfo(m_paths.at(index)).fileName();
            if (reported.contains(name) && nameCount.value(name) == 1)
                finishFile(index);
            else
                unfinished.append(index);
        }
        if (m_cancelled) {
            for (int index : std::as_const(unfinished))
                QFile::remove(m_slots.at(index).temporary);
        } else if (!unfinished.isEmpty()) {
            const QString crashText =
                child->exitStatus() == QProcess::CrashExit
                    ? tr("svgo ended unexpectedly (%1).").arg(child->errorString())
                    : tr("svgo failed with exit status %1.").arg(child->exitCode());
            handleFailure(unfinished, child->readAllStandardError(), crashText);
        }
    }
    child->deleteLater();
    delete process;
    reportProgress();
    startMore();
}

void OptimizerRun::handleFailure(const QList<int> &unfinished, const QByteArray &standardError,
                                 const QString &crashText) {
    QString message = SvgoMessages::userMessage(standardError);
    if (message.isEmpty())
        message = crashText;
    const QString fullText = SvgoMessages::withoutEscapeCodes(QString::fromUtf8(standardError));
    QStringList candidates;
    for (int index : unfinished)
        candidates.append(m_paths.at(index));
    if (const std::optional<int> culprit = SvgoMessages::failingInput(fullText, candidates)) {
        failFile(unfinished.at(*culprit), message);
        QList<int> rest = unfinished;
        rest.removeAt(*culprit);
        if (!rest.isEmpty())
            m_queue.push_front(rest);
        return;
    }
    if (unfinished.size() == 1 || m_splitBudget <= 0) {
        for (int index : unfinished)
            failFile(index, message);
        return;
    }
    // Nothing says which file broke the process: halve the rest until the failure is cornered.
    --m_splitBudget;
    const qsizetype half = unfinished.size() / 2;
    m_queue.push_front(unfinished.mid(half));
    m_queue.push_front(unfinished.first(half));
}

void OptimizerRun::finishFile(int index) {
    const SvgoOutputs::Slot &slot = m_slots.at(index);
    const QFileInfo output(slot.temporary);
    if (!output.exists()) {
        failFile(index, tr("svgo wrote no output for this file."));
        return;
    }
    FileResult &outcome = m_outcomes[index];
    outcome.sizeAfter = output.size();
    if (m_textMode) {
        QFile file(slot.temporary);
        if (!file.open(QIODevice::ReadOnly)) {
            failFile(index, tr("Cannot read svgo's output: %1").arg(file.errorString()));
            return;
        }
        m_documents[index] = file.readAll();
        file.close();
        file.remove();
    } else {
        // An input about to be replaced is copied first; without a copy it stays as it is.
        const QString input = QFileInfo(m_paths.at(index)).canonicalFilePath();
        const bool replacesInput = m_backup && !input.isEmpty() &&
                                   QFileInfo(slot.destination).canonicalFilePath() == input;
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
            m_backup->recordResult(slot.destination);
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
    // The documents are handed over as the planned chunks would have printed them back to back,
    // in list order, whichever process produced them in the end.
    TextOutputAssembler assembler(m_profile);
    for (const QList<int> &chunk : m_plan) {
        QByteArray output;
        bool any = false;
        for (int index : chunk) {
            if (m_outcomes.at(index).status != FileResult::Status::Optimized)
                continue;
            output.append(m_documents.at(index));
            any = true;
        }
        if (any)
            assembler.appendChunk(QString::fromUtf8(output));
    }
    return assembler.finish();
}
