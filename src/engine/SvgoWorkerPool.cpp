#include "engine/SvgoWorkerPool.h"

#include "model/Diagnostics.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <deque>

namespace {

// Files sent ahead to one worker: enough that its next reads overlap the current optimizing.
// More are sent only once half of them are answered, so requests go out in batches.
constexpr size_t inFlightPerWorker = 8;
// A worker that has not loaded svgo by then never will.
constexpr qint64 startLimitMs = 30000;

} // namespace

QString SvgoJob::keyFor(const SvgoInstallation &installation, const QString &configFile) {
    const QFileInfo config(configFile);
    return QStringList{installation.node,
                       installation.worker,
                       installation.packageFolder,
                       installation.version,
                       configFile,
                       configFile.isEmpty()
                           ? QString()
                           : QString::number(config.lastModified().toMSecsSinceEpoch()),
                       configFile.isEmpty() ? QString() : QString::number(config.size())}
        .join(QChar(0));
}

struct SvgoWorkerPool::Worker {
    struct InFlight {
        std::shared_ptr<SvgoJob> job;
        SvgoRequest request;
        int id;
    };
    QProcess *process = nullptr;
    bool ready = false;
    bool leaving = false;   // taken out of service on purpose; its end is no surprise
    bool recycling = false; // grew too big: gets nothing new and ends once idle
    QByteArray pending;     // a line not complete yet
    std::deque<InFlight> inFlight;
    QElapsedTimer lastProgress; // since it started, or last said something while busy
    bool batchFull = false;     // had its fill of requests; gets more once half are answered

    bool busy() const { return !ready || !inFlight.empty(); }
};

SvgoWorkerPool::SvgoWorkerPool() {
    // One clock for all workers rather than a timer each, restarted for every file.
    m_watch = new QTimer(this);
    connect(m_watch, &QTimer::timeout, this, &SvgoWorkerPool::watch);
    m_idle = new QTimer(this);
    m_idle->setSingleShot(true);
    m_idle->setInterval(idleMinutes * 60 * 1000);
    connect(m_idle, &QTimer::timeout, this, [this] {
        stopAll();
        m_key.clear();
    });
    m_thread.setObjectName(QStringLiteral("svgo workers"));
    m_thread.start();
    moveToThread(&m_thread);
}

SvgoWorkerPool::~SvgoWorkerPool() {
    shutDown();
    m_thread.quit();
    m_thread.wait();
}

void SvgoWorkerPool::submit(const std::shared_ptr<SvgoJob> &job) {
    QMetaObject::invokeMethod(this, [this, job] {
        job->outstanding = int(job->queue.size());
        if (failedToLoad(job->installation.packageFolder) || job->queue.empty()) {
            SvgoJobUpdate update;
            update.fallback = QList<SvgoRequest>(job->queue.begin(), job->queue.end());
            update.over = true;
            job->queue.clear();
            QMetaObject::invokeMethod(job->receiver, [job, update] { job->deliver(update); });
            return;
        }
        m_jobs.append(job);
        m_idle->stop();
        dispatch();
    });
}

void SvgoWorkerPool::cancel(const std::shared_ptr<SvgoJob> &job) {
    QMetaObject::invokeMethod(this, [this, job] {
        if (!m_jobs.contains(job))
            return; // over already
        job->queue.clear();
        QList<QProcess *> killed;
        for (Worker *worker : QList<Worker *>(m_workers)) {
            const auto before = worker->inFlight.size();
            std::erase_if(worker->inFlight,
                          [&](const Worker::InFlight &entry) { return entry.job == job; });
            if (worker->inFlight.size() != before) {
                killed.append(worker->process);
                retire(worker, true);
            }
        }
        // Only once they are gone can nothing more be written into the run's private folders.
        for (QProcess *process : std::as_const(killed))
            process->waitForFinished(5000);
        m_jobs.removeOne(job);
        SvgoJobUpdate update;
        update.over = true;
        QMetaObject::invokeMethod(job->receiver, [job, update] { job->deliver(update); });
        dispatch();
    });
}

void SvgoWorkerPool::warmUp(const QString &svgoPath, const QString &configFile, int count) {
    QMetaObject::invokeMethod(this, [this, svgoPath, configFile, count] {
        const SvgoInstallation installation = SvgoInstallation::inspect(svgoPath);
        if (installation.engine() != SvgoInstallation::Engine::Worker ||
            failedToLoad(installation.packageFolder))
            return;
        const QString key = SvgoJob::keyFor(installation, configFile);
        if (key != m_key) {
            if (!m_jobs.isEmpty())
                return; // a run decides which workers run now
            auto job = std::make_shared<SvgoJob>();
            job->installation = installation;
            job->configFile = configFile;
            job->key = key;
            switchTo(job);
        }
        m_size = std::max(m_size, count);
        dispatch();
    });
}

void SvgoWorkerPool::shutDown() {
    auto stop = [this] {
        stopAll();
        m_key.clear();
        // Runs still going finish on svgo's command line.
        Updates updates;
        for (const std::shared_ptr<SvgoJob> &job : QList(m_jobs)) {
            SvgoJobUpdate &update = updateOf(updates, job);
            update.fallback = QList<SvgoRequest>(job->queue.begin(), job->queue.end());
            job->outstanding -= int(job->queue.size());
            job->queue.clear();
            finishJobIfDone(job, updates);
        }
        flush(updates);
        const QList<QProcess *> processes = findChildren<QProcess *>();
        for (QProcess *process : processes)
            process->waitForFinished(5000);
    };
    if (QThread::currentThread() == &m_thread || !m_thread.isRunning())
        stop();
    else
        QMetaObject::invokeMethod(this, stop, Qt::BlockingQueuedConnection);
}

bool SvgoWorkerPool::failedToLoad(const QString &packageFolder) const {
    QMutexLocker lock(&m_failedMutex);
    return m_failed.contains(packageFolder);
}

void SvgoWorkerPool::switchTo(const std::shared_ptr<SvgoJob> &job) {
    stopAll();
    m_key = job->key;
    m_installation = job->installation;
    m_configFile = job->configFile;
    m_size = 0;
}

void SvgoWorkerPool::dispatch() {
    for (const std::shared_ptr<SvgoJob> &job : QList(m_jobs)) {
        if (job->queue.empty())
            continue;
        if (job->key != m_key) {
            for (const Worker *worker : std::as_const(m_workers))
                if (!worker->inFlight.empty())
                    return; // the other configuration's files finish first
            switchTo(job);
        }
        m_size = job->workers;
        m_timeLimitMs = job->timeLimitMs;
        m_memoryLimit = job->memoryLimit;
        break;
    }
    if (m_key.isEmpty())
        return;
    while (m_workers.size() > m_size) {
        const auto idle = std::find_if(m_workers.cbegin(), m_workers.cend(),
                                       [](const Worker *w) { return w->inFlight.empty(); });
        if (idle == m_workers.cend())
            break;
        retire(*idle, false);
    }
    while (m_workers.size() < m_size)
        startWorker();

    // Round after round over the workers, so consecutive files run side by side.
    for (const std::shared_ptr<SvgoJob> &job : QList(m_jobs)) {
        if (job->key != m_key)
            break;
        bool sent = true;
        while (sent && !job->queue.empty()) {
            sent = false;
            for (Worker *worker : std::as_const(m_workers)) {
                if (job->queue.empty())
                    break;
                if (worker->recycling || worker->inFlight.size() >= inFlightPerWorker ||
                    (worker->batchFull && worker->inFlight.size() > inFlightPerWorker / 2))
                    continue;
                send(worker, job, job->queue.front());
                job->queue.pop_front();
                sent = true;
            }
        }
        if (!job->queue.empty())
            return;
    }
    if (m_jobs.isEmpty())
        m_idle->start();
    const bool anyBusy = std::any_of(m_workers.cbegin(), m_workers.cend(),
                                     [](const Worker *worker) { return worker->busy(); });
    if (!anyBusy)
        m_watch->stop();
    else if (!m_watch->isActive())
        m_watch->start(int(std::clamp<qint64>(m_timeLimitMs / 4, 20, 1000)));
}

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
    process->setWorkingDirectory(m_emptyFolder.path());
    process->setStandardErrorFile(QProcess::nullDevice());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("NO_COLOR"), QStringLiteral("1"));
    process->setProcessEnvironment(environment);
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
    QJsonObject message{{QStringLiteral("id"), id}, {QStringLiteral("input"), request.input}};
    if (!request.output.isEmpty())
        message.insert(QStringLiteral("output"), request.output);
    if (!worker->busy())
        worker->lastProgress.start();
    worker->inFlight.push_back({job, request, id});
    worker->batchFull = worker->inFlight.size() >= inFlightPerWorker;
    worker->process->write(QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n');
}

void SvgoWorkerPool::readLines(Worker *worker) {
    worker->pending.append(worker->process->readAllStandardOutput());
    Updates updates;
    qsizetype start = 0;
    for (qsizetype end = worker->pending.indexOf('\n'); end >= 0 && !worker->leaving;
         start = end + 1, end = worker->pending.indexOf('\n', start))
        handleLine(worker, worker->pending.mid(start, end - start), updates);
    worker->pending.remove(0, start);
    if (worker->recycling && !worker->leaving && worker->inFlight.empty())
        retire(worker, false);
    flush(updates);
    dispatch();
}

void SvgoWorkerPool::handleLine(Worker *worker, const QByteArray &line, Updates &updates) {
    const QJsonObject message = QJsonDocument::fromJson(line).object();
    if (message.contains(QLatin1String("ready"))) {
        if (!message.value(QLatin1String("ready")).toBool()) {
            workerUnusable(worker, message.value(QLatin1String("fallback")).toBool(),
                           message.value(QLatin1String("error")).toString());
            return;
        }
        worker->ready = true;
        worker->lastProgress.start();
        return;
    }
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
    result.document = message.value(QLatin1String("data")).toString().toUtf8();
    answer(entry.job, std::move(result), updates);
}

SvgoJobUpdate &SvgoWorkerPool::updateOf(Updates &updates, const std::shared_ptr<SvgoJob> &job) {
    for (auto &[owner, update] : updates)
        if (owner == job)
            return update;
    updates.push_back({job, SvgoJobUpdate{}});
    return updates.back().second;
}

void SvgoWorkerPool::answer(const std::shared_ptr<SvgoJob> &job, SvgoAnswer answer,
                            Updates &updates) {
    updateOf(updates, job).answers.append(std::move(answer));
    --job->outstanding;
    finishJobIfDone(job, updates);
}

void SvgoWorkerPool::finishJobIfDone(const std::shared_ptr<SvgoJob> &job, Updates &updates) {
    if (job->outstanding > 0 || !m_jobs.contains(job))
        return;
    updateOf(updates, job).over = true;
    m_jobs.removeOne(job);
}

void SvgoWorkerPool::flush(Updates &updates) {
    for (auto &[job, update] : updates) {
        QMetaObject::invokeMethod(
            job->receiver, [job = job, update = std::move(update)] { job->deliver(update); });
    }
    updates.clear();
}

void SvgoWorkerPool::workerUnusable(Worker *worker, bool fallback, const QString &error) {
    Q_UNUSED(worker);
    const QString key = m_key;
    if (fallback) {
        qCWarning(lcMirandel).noquote()
            << QStringLiteral(
                   "Optimizer: the svgo worker cannot load %1, using svgo's command line: %2")
                   .arg(m_installation.packageFolder, error);
        QMutexLocker lock(&m_failedMutex);
        m_failed.insert(m_installation.packageFolder);
    }
    stopAll(); // every worker would say the same; their files go back to the queues
    m_key.clear();
    Updates updates;
    const QString message = tr("The svgo configuration cannot be used: %1").arg(error);
    for (const std::shared_ptr<SvgoJob> &job : QList(m_jobs)) {
        if (job->key != key)
            continue;
        SvgoJobUpdate &update = updateOf(updates, job);
        for (const SvgoRequest &request : job->queue) {
            if (fallback)
                update.fallback.append(request);
            else
                update.answers.append({request.index, false, message, {}, {}});
        }
        job->outstanding -= int(job->queue.size());
        job->queue.clear();
        finishJobIfDone(job, updates);
    }
    flush(updates);
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
        worker->process->kill();
    else
        worker->process->closeWriteChannel();
}

void SvgoWorkerPool::stopAll() {
    for (Worker *worker : QList<Worker *>(m_workers))
        retire(worker, !worker->inFlight.empty() || !worker->ready);
}
