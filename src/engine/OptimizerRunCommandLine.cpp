// svgo's command line over chunks of files: the way a run takes where the workers cannot load
// svgo's module (an svgo that is not a Node package, a wrapper script).

#include "engine/OptimizerRun.h"

#include "engine/SvgoChunkPlanner.h"
#include "engine/SvgoResolver.h"
#include "model/Diagnostics.h"
#include "model/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
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

// In the forked child as well: a group of its own, so that a cancel or a time-out can end the
// wrapper script's node and anything else it started, not only the process Mirandel started.
void prepareChild() {
#ifdef Q_OS_UNIX
    ::setpgid(0, 0);
    raiseDescriptorLimit();
#endif
}

QProcessEnvironment svgoEnvironment() {
    // Inherited as it is, except that error messages should come without colour codes.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("NO_COLOR"), QStringLiteral("1"));
    return environment;
}

} // namespace

void OptimizerRun::planChunks(const QList<int> &files) {
    QList<SvgoChunkInput> inputs;
    for (int index : files) {
        // Both arguments, their terminating zeros and the argument vector's pointers.
        const qint64 commandLine = QFile::encodeName(m_inputs.at(index)).size() +
                                   QFile::encodeName(m_slots.at(index).temporary).size() + 2 + 16;
        inputs.append({std::max<qint64>(0, m_outcomes.at(index).sizeBefore), commandLine});
    }
    SvgoChunkLimits limits = SvgoChunkLimits::forThisSystem();
    limits.minFiles = m_options.chunkSize.value_or(Keys::chunkSize().get());
    limits.processes = m_maxProcesses;
    limits.exact = m_options.exactChunks;
    for (const QList<int> &chunk : planSvgoChunks(inputs, limits)) {
        QList<int> indices;
        for (int position : chunk)
            indices.append(files.at(position));
        m_queue.push_back(indices);
    }
    m_splitBudget = 16 + 2 * int(std::ceil(std::log2(double(files.size()) + 1)));
}

void OptimizerRun::startMore() {
    while (!m_cancelled && !m_queue.empty() && m_running.size() < m_maxProcesses) {
        const QList<int> files = m_queue.front();
        m_queue.pop_front();
        start(files);
    }
    if (m_running.isEmpty() && (m_cancelled || m_queue.empty()) && !m_job && m_reviewing == 0) {
        // The last outputs are put in place before the run is over.
        placePending();
        reportProgress();
        m_loop.quit();
    }
}

void OptimizerRun::start(const QList<int> &files) {
    auto *process = new Process;
    process->files = files;
    for (int index : files) {
        const QString name = QFileInfo(m_paths.at(index)).fileName();
        process->byName.insert(name, process->byName.contains(name) ? -1 : index);
    }
    process->process = new QProcess(this);
    m_running.append(process);
    QProcess *child = process->process;

    // Asked again for every process: a path changed during a run counts from the next process on.
    // Used as a file-system path as it is: no tilde expansion, no search along PATH.
    const QString configured = SvgoResolver::forRun().path;
    process->program = configured.isEmpty() ? QString() : QFileInfo(configured).absoluteFilePath();

    QStringList arguments{QStringLiteral("-i")};
    for (int index : files)
        arguments.append(m_inputs.at(index));
    arguments.append(QStringLiteral("-o"));
    for (int index : files) {
        // A leftover from a cut-short earlier attempt must not pass for this attempt's output.
        QFile::remove(m_slots.at(index).temporary);
        arguments.append(m_slots.at(index).temporary);
    }
    // Without a configuration of its own svgo would look for one in its working folder and the
    // folders above; an empty one gives its defaults.
    if (!m_commandLineFolder) {
        m_commandLineFolder = std::make_unique<QTemporaryDir>();
        QDir().mkdir(m_commandLineFolder->filePath(QStringLiteral("work")));
        QFile defaults(m_commandLineFolder->filePath(QStringLiteral("defaults.mjs")));
        if (defaults.open(QIODevice::WriteOnly))
            defaults.write("export default {};\n");
    }
    arguments.append(QStringLiteral("--config"));
    arguments.append(m_configFile.isEmpty()
                         ? m_commandLineFolder->filePath(QStringLiteral("defaults.mjs"))
                         : m_configFile);

    child->setProgram(process->program);
    child->setArguments(arguments);
    child->setProcessEnvironment(svgoEnvironment());
    child->setInputChannelMode(QProcess::ForwardedInputChannel);
    child->setWorkingDirectory(m_commandLineFolder->filePath(QStringLiteral("work")));
#ifdef Q_OS_UNIX
    child->setChildProcessModifier(prepareChild);
#endif
    if (m_commandLineLimitMs == 0) {
        // The workers' limit, per file: a process may take it for each file it reports, so a big
        // chunk is not cut short while it moves, and one stuck on a file ends after one limit.
        const qint64 limit = m_options.timeLimitMs.value_or(Keys::svgoTimeLimit().get() * 1000);
        m_commandLineLimitMs = limit > 0 ? limit : Keys::svgoTimeLimit().defaultValue() * 1000;
        connect(&m_commandLineWatch, &QTimer::timeout, this, &OptimizerRun::watchProcesses);
        m_commandLineWatch.start(int(std::clamp<qint64>(m_commandLineLimitMs / 4, 20, 1000)));
    }
    connect(child, &QProcess::started, this,
            [process] { process->group = process->process->processId(); });
    process->lastProgress.start();
    connect(child, &QProcess::readyReadStandardOutput, this, [this, process] {
        const QStringList names = process->reports.feed(process->process->readAllStandardOutput());
        if (!names.isEmpty())
            process->lastProgress.start();
        takeReports(process, names);
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

void OptimizerRun::takeReports(Process *process, const QStringList &names) {
    for (const QString &name : names) {
        const auto entry = process->byName.find(name);
        if (entry == process->byName.end() || *entry < 0) {
            ++process->unmatchedReports;
            ++m_reportedInRunning;
            continue;
        }
        const int index = std::exchange(*entry, -1);
        process->files.removeOne(index);
        finishFile(index);
    }
}

void OptimizerRun::processEnded(Process *process, bool startFailed) {
    if (!m_running.contains(process))
        return;
    m_running.removeOne(process);
    QProcess *child = process->process;
    if (!startFailed)
        takeReports(process, process->reports.feed(child->readAllStandardOutput()));
    m_reportedInRunning -= process->unmatchedReports;

    if (startFailed) {
        const QString reason = child->errorString();
        qCWarning(lcMirandel).noquote()
            << QStringLiteral("Optimizer: cannot start svgo at \"%1\": %2")
                   .arg(process->program, reason);
        const QString message = SvgoMessages::cannotStart(process->program, reason);
        for (int index : std::as_const(process->files))
            failFile(index, message);
    } else if (child->exitStatus() == QProcess::NormalExit && child->exitCode() == 0) {
        for (int index : std::as_const(process->files))
            finishFile(index);
    } else {
        // svgo stops at the first file it cannot parse and may leave writes cut short: only the
        // outputs it reported (finished already) count.
        const QList<int> &unfinished = process->files;
        if (m_cancelled) {
            for (int index : std::as_const(unfinished))
                QFile::remove(m_slots.at(index).temporary);
        } else if (process->timedOut) {
            // Running it again would only wait as long once more.
            const QString message =
                tr("svgo took longer than %1 s")
                    .arg(QString::number(double(m_commandLineLimitMs) / 1000.0));
            for (int index : std::as_const(unfinished)) {
                QFile::remove(m_slots.at(index).temporary);
                failFile(index, message);
            }
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
        candidates.append(m_inputs.at(index));
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

void OptimizerRun::watchProcesses() {
    for (Process *process : std::as_const(m_running)) {
        if (!process->timedOut && process->lastProgress.elapsed() > m_commandLineLimitMs) {
            qCWarning(lcMirandel).noquote()
                << QStringLiteral("Optimizer: svgo at \"%1\" made no progress in %2 ms; ended")
                       .arg(process->program)
                       .arg(m_commandLineLimitMs);
            process->timedOut = true;
            killGroup(process); // its end comes through processEnded like any other
        }
    }
}

void OptimizerRun::killGroup(Process *process) {
#ifdef Q_OS_UNIX
    // Only while it is still ours: once reaped, its number may be given to another process.
    if (process->group > 0 && process->process->state() != QProcess::NotRunning)
        ::kill(-pid_t(process->group), SIGKILL);
#endif
    process->process->kill();
}
