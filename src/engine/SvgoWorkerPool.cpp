#include "engine/SvgoWorkerPool.h"

#include "model/Diagnostics.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <deque>

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

SvgoWorkerPool::SvgoWorkerPool() {
    // One clock for all workers rather than a timer each, restarted for every file.
    m_watch = new QTimer(this);
    m_outboxTimer = new QTimer(this);
    m_outboxTimer->setSingleShot(true);
    m_outboxTimer->setInterval(5);
    connect(m_outboxTimer, &QTimer::timeout, this, &SvgoWorkerPool::sendOutbox);
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
    QMetaObject::invokeMethod(this, [this] {
        connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
                &SvgoWorkerPool::pace, Qt::DirectConnection);
    });
}

void SvgoWorkerPool::pace() {
    // Each worker answers file by file, and waking this thread for every answer costs more than
    // handling the answer. While files are out, the thread lets a moment pass before it waits,
    // so that it finds the answers of several files, from all workers, in one wake-up. Runs see
    // answers only every few milliseconds anyway, and each worker has files enough in hand for
    // far longer than this.
    if (m_pacing && !m_jobs.isEmpty())
        QThread::usleep(paceMicroseconds);
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
        Updates updates;
        updateOf(updates, job).over = true;
        flush(updates);
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
        m_toStart = std::max(m_toStart, count);
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
    m_toStart = 0;
}

void SvgoWorkerPool::dispatch() {
    sendRequests();
    if (m_jobs.isEmpty())
        m_idle->start();
    const bool anyBusy = std::any_of(m_workers.cbegin(), m_workers.cend(),
                                     [](const Worker *worker) { return worker->busy(); });
    m_pacing = anyBusy && !m_jobs.isEmpty();
    if (!anyBusy)
        m_watch->stop();
    else if (!m_watch->isActive())
        m_watch->start(int(std::clamp<qint64>(m_timeLimitMs / 4, 20, 1000)));
}

void SvgoWorkerPool::sendRequests() {
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
        m_toStart = std::min(job->workers, job->workersToStart);
        // No limit at all, or a negative one, is no setting anyone means: the usual limit holds.
        m_timeLimitMs = job->timeLimitMs > 0 ? job->timeLimitMs : SvgoJob().timeLimitMs;
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
    while (m_workers.size() < m_toStart)
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
    // Answers go out every few milliseconds rather than one by one: waking a run's thread for
    // each file would cost more than placing the file. A job's last update goes out at once.
    bool over = false;
    for (auto &[job, update] : updates) {
        SvgoJobUpdate &waiting = updateOf(m_outbox, job);
        waiting.answers.append(std::move(update.answers));
        waiting.fallback.append(std::move(update.fallback));
        waiting.over = waiting.over || update.over;
        over = over || update.over;
    }
    updates.clear();
    if (over)
        sendOutbox();
    else if (!m_outbox.empty() && !m_outboxTimer->isActive())
        m_outboxTimer->start();
}

void SvgoWorkerPool::sendOutbox() {
    m_outboxTimer->stop();
    for (auto &[job, update] : m_outbox) {
        QMetaObject::invokeMethod(
            job->receiver, [job = job, update = std::move(update)] { job->deliver(update); });
    }
    m_outbox.clear();
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
                update.answers.append({request.index, false, message, {}, {}, {}});
        }
        job->outstanding -= int(job->queue.size());
        job->queue.clear();
        finishJobIfDone(job, updates);
    }
    flush(updates);
}
