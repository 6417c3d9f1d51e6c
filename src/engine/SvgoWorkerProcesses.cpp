// The worker processes of the pool: starting them, reading their answers, and ending them when
// they are stuck, broken or no longer needed.

#include "engine/SvgoWorkerPool.h"

#include "model/Diagnostics.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

namespace {

// A request is a few fields; building a JSON document for each would cost more than the rest.
void appendJsonString(QByteArray &line, const QString &text) {
    line += '"';
    for (const char byte : text.toUtf8()) {
        if (byte == '"' || byte == '\\') {
            line += '\\';
            line += byte;
        } else if (uchar(byte) < 0x20) {
            line += "\\u00" + QByteArray::number(uchar(byte), 16).rightJustified(2, '0');
        } else {
            line += byte;
        }
    }
    line += '"';
}

// Each worker leads a process group of its own, so ending it also ends anything it started.
void killGroup(QProcess *process) {
#ifdef Q_OS_UNIX
    if (const qint64 group = process->processId();
        group > 0 && process->state() != QProcess::NotRunning)
        ::kill(-pid_t(group), SIGKILL);
#endif
    process->kill();
}

} // namespace

void SvgoWorkerPool::watch() {
    for (Worker *worker : QList<Worker *>(m_workers)) {
        const qint64 limit = worker->ready ? m_timeLimitMs : std::max(startLimitMs, m_timeLimitMs);
        if (worker->busy() && !worker->leaving && worker->lastProgress.elapsed() > limit)
            timedOut(worker);
    }
}

void SvgoWorkerPool::startWorker() {
    auto *worker = new Worker;
    worker->process = new QProcess(this);
    QProcess *process = worker->process;
    QStringList arguments{m_installation.worker, m_installation.packageFolder};
    if (!m_configFile.isEmpty())
        arguments.append(m_configFile);
    process->setProgram(m_installation.node);
    process->setArguments(arguments);
    // An empty folder of our own: svgo finds nothing there that could change its results.
    // The root folder: nothing of the user's around it, and nothing to clean up when the
    // program ends (the pool lives until then).
    process->setWorkingDirectory(QDir::rootPath());
    process->setStandardErrorFile(QProcess::nullDevice());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("NO_COLOR"), QStringLiteral("1"));
    process->setProcessEnvironment(environment);
#ifdef Q_OS_UNIX
    process->setChildProcessModifier([] { ::setpgid(0, 0); });
#endif
    connect(process, &QProcess::readyReadStandardOutput, this,
            [this, worker] { readLines(worker); });
    connect(process, &QProcess::finished, this, [this, worker] { workerEnded(worker); });
    connect(process, &QProcess::errorOccurred, this, [this, worker](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            QMetaObject::invokeMethod(
                this, [this, worker] { workerEnded(worker); }, Qt::QueuedConnection);
    });
    m_workers.append(worker);
    worker->lastProgress.start();
    process->start();
}

void SvgoWorkerPool::send(Worker *worker, const std::shared_ptr<SvgoJob> &job,
                          const SvgoRequest &request) {
    const int id = m_nextId++;
    QByteArray line = "{\"id\":" + QByteArray::number(id) + ",\"input\":";
    appendJsonString(line, request.input);
    if (!request.output.isEmpty()) {
        line += ",\"output\":";
        appendJsonString(line, request.output);
    }
    if (job->passes > 1)
        line += ",\"passes\":" + QByteArray::number(job->passes);
    if (!request.without.isEmpty()) {
        line += ",\"without\":[";
        for (const QString &plugin : request.without) {
            if (!line.endsWith('['))
                line += ',';
            appendJsonString(line, plugin);
        }
        line += ']';
    }
    if (request.precision >= 0)
        line += ",\"precision\":" + QByteArray::number(request.precision);
    line += "}\n";
    if (!worker->busy())
        worker->lastProgress.start();
    worker->inFlight.push_back({job, request, id});
    worker->batchFull = worker->inFlight.size() >= inFlightPerWorker;
    worker->process->write(line);
}

void SvgoWorkerPool::readLines(Worker *worker) {
    // Only the new bytes are searched for line ends: a long answer arriving in many pieces is
    // then read in time proportional to its size.
    if (worker->pending.isEmpty())
        worker->pending = worker->process->readAllStandardOutput();
    else
        worker->pending.append(worker->process->readAllStandardOutput());
    Updates updates;
    qsizetype start = 0;
    while (!worker->leaving) {
        if (worker->documentBytes >= 0) {
            // A document follows its answer's line as it is, without a line end.
            if (worker->pending.size() - start < worker->documentBytes)
                break;
            QByteArray document = start == 0 && worker->pending.size() == worker->documentBytes
                                      ? std::exchange(worker->pending, {})
                                      : worker->pending.mid(start, worker->documentBytes);
            start += document.size();
            worker->documentBytes = -1;
            takeAnswer(worker, std::exchange(worker->documentHeader, {}), std::move(document),
                       updates);
            continue;
        }
        const qsizetype end = worker->pending.indexOf('\n', std::max(start, worker->scanned));
        if (end < 0)
            break;
        handleLine(worker, QByteArrayView(worker->pending).sliced(start, end - start), updates);
        start = end + 1;
    }
    worker->pending.remove(0, std::min(start, worker->pending.size()));
    worker->scanned = worker->documentBytes >= 0 ? 0 : worker->pending.size();
    if (worker->recycling && !worker->leaving && worker->inFlight.empty())
        retire(worker, false);
    flush(updates);
    dispatch();
}

void SvgoWorkerPool::handleLine(Worker *worker, QByteArrayView line, Updates &updates) {
    QJsonParseError error{};
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(line.data(), line.size()), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        // Something printed past the worker's guard (a native add-on writing to the descriptor,
        // say). It is no answer; the files it held up are answered by the lines that follow.
        qCWarning(lcMirandel).noquote()
            << QStringLiteral("Optimizer: the svgo worker wrote a line that is not an answer: %1")
                   .arg(QString::fromUtf8(line.first(std::min<qsizetype>(line.size(), 200))));
        return;
    }
    const QJsonObject message = document.object();
    if (message.contains(QLatin1String("ready"))) {
        if (!message.value(QLatin1String("ready")).toBool()) {
            workerUnusable(worker, message.value(QLatin1String("fallback")).toBool(),
                           message.value(QLatin1String("error")).toString());
            return;
        }
        worker->ready = true;
        worker->lastProgress.start();
        for (const QJsonValue plugin : message.value(QLatin1String("plugins")).toArray())
            worker->plugins.append(plugin.toString());
        return;
    }
    if (const QJsonValue bytes = message.value(QLatin1String("bytes")); bytes.isDouble()) {
        const double size = bytes.toDouble();
        if (size >= 0 && size <= double(maximumDocument)) {
            worker->documentBytes = qsizetype(size);
            worker->documentHeader = message;
            return;
        }
    }
    takeAnswer(worker, message, {}, updates);
}

void SvgoWorkerPool::takeAnswer(Worker *worker, const QJsonObject &message, QByteArray document,
                                Updates &updates) {
    const int id = message.value(QLatin1String("id")).toInt(-1);
    const auto found = std::find_if(worker->inFlight.begin(), worker->inFlight.end(),
                                    [id](const Worker::InFlight &entry) { return entry.id == id; });
    if (found == worker->inFlight.end())
        return;
    const Worker::InFlight entry = *found;
    worker->inFlight.erase(found);
    worker->lastProgress.start();
    if (worker->inFlight.size() <= inFlightPerWorker / 2)
        worker->batchFull = false;

    const qint64 memory = qint64(message.value(QLatin1String("rss")).toDouble());
    qint64 peak = m_peakMemory.load();
    while (memory > peak && !m_peakMemory.compare_exchange_weak(peak, memory)) {
    }
    if (m_memoryLimit > 0 && memory > m_memoryLimit)
        worker->recycling = true;

    SvgoAnswer result;
    result.index = entry.request.index;
    result.ok = message.value(QLatin1String("ok")).toBool();
    result.error = message.value(QLatin1String("error")).toString();
    result.code = message.value(QLatin1String("code")).toString().toUtf8();
    result.document = std::move(document);
    result.plugins = worker->plugins;
    answer(entry.job, std::move(result), updates);
}

void SvgoWorkerPool::workerEnded(Worker *worker) {
    if (!m_workers.contains(worker) && !m_leaving.contains(worker))
        return;
    if (!worker->leaving && !worker->ready) {
        workerUnusable(
            worker, true,
            worker->process->error() == QProcess::FailedToStart
                ? worker->process->errorString()
                : QStringLiteral("the worker ended with status %1 before svgo was loaded")
                      .arg(worker->process->exitCode()));
    } else if (!worker->leaving) {
        // Killed from outside, or crashed: its files go to another worker. The file it was on (the
        // oldest unanswered) is most likely the cause when that happens twice; it gets one more
        // chance.
        Updates updates;
        QSet<SvgoJob *> served;
        if (!worker->inFlight.empty())
            ++worker->inFlight.front().request.attempts;
        for (Worker::InFlight &entry : worker->inFlight) {
            if (!served.contains(entry.job.get())) {
                served.insert(entry.job.get());
                ++entry.job->deaths;
            }
        }
        for (auto entry = worker->inFlight.rbegin(); entry != worker->inFlight.rend(); ++entry) {
            if (entry->request.attempts >= 2 || entry->job->deaths > 2 * entry->job->workers + 4)
                answer(entry->job,
                       {entry->request.index,
                        false,
                        tr("svgo ended unexpectedly while optimizing this file."),
                        {},
                        {},
                        {}},
                       updates);
            else
                entry->job->queue.push_front(entry->request);
        }
        worker->inFlight.clear();
        retire(worker, false);
        flush(updates);
    }
    m_workers.removeOne(worker);
    m_leaving.removeOne(worker);
    worker->process->disconnect(this);
    worker->process->deleteLater();
    delete worker;
    dispatch();
}

void SvgoWorkerPool::timedOut(Worker *worker) {
    if (!worker->ready) {
        workerUnusable(worker, true, QStringLiteral("the worker did not load svgo in time"));
        return;
    }
    if (worker->inFlight.empty())
        return;
    // The worker answers in order: the oldest unanswered file is the one it is stuck on.
    const Worker::InFlight entry = worker->inFlight.front();
    worker->inFlight.pop_front();
    Updates updates;
    answer(entry.job,
           {entry.request.index,
            false,
            tr("svgo took longer than %1 s").arg(QString::number(double(m_timeLimitMs) / 1000.0)),
            {},
            {},
            {}},
           updates);
    retire(worker, true);
    flush(updates);
    dispatch();
}

void SvgoWorkerPool::retire(Worker *worker, bool kill) {
    worker->leaving = true;
    if (m_workers.removeOne(worker))
        m_leaving.append(worker);
    // Files it had not answered go back to the front of their queues, in their order.
    for (auto entry = worker->inFlight.rbegin(); entry != worker->inFlight.rend(); ++entry)
        entry->job->queue.push_front(entry->request);
    worker->inFlight.clear();
    if (kill)
        killGroup(worker->process);
    else
        worker->process->closeWriteChannel();
}

void SvgoWorkerPool::stopAll() {
    for (Worker *worker : QList<Worker *>(m_workers))
        retire(worker, !worker->inFlight.empty() || !worker->ready);
}
