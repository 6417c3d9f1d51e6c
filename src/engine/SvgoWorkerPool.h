#pragma once

#include "engine/SvgoJob.h"

#include <QMutex>
#include <QObject>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>
#include <utility>
#include <vector>

class QProcess;

// Node workers that keep svgo's module loaded between runs.
//
// The pool and its processes live on a thread of their own. Runs hand it jobs; every file of a
// job is answered exactly once, then the job is reported over. Files go out in list order, a few
// at a time per worker, so reads and writes overlap the optimizing. Workers end after two idle
// minutes, and start afresh when the svgo installation or the configuration changes.
class SvgoWorkerPool : public QObject {
    Q_OBJECT
public:
    static constexpr int idleMinutes = 2;

    SvgoWorkerPool();
    ~SvgoWorkerPool() override;

    // All of these may be called from any thread.
    void submit(const std::shared_ptr<SvgoJob> &job);
    // Ends the job at once: its files still queued are dropped and the workers busy with it are
    // killed (and replaced). Its last update (`over`) comes once no worker can write for it.
    void cancel(const std::shared_ptr<SvgoJob> &job);
    // Starts `count` workers for the svgo and configuration unless they run already.
    void warmUp(const QString &svgoPath, const QString &configFile, int count);
    // Ends every worker and waits for them; the pool can be used again afterwards.
    void shutDown();
    // Packages whose module the worker could not load; their runs take the command line.
    bool failedToLoad(const QString &packageFolder) const;
    // The most memory one worker used so far, in bytes.
    qint64 peakMemory() const { return m_peakMemory.load(); }

private:
    struct Worker;
    // Updates gathered while handling one batch of lines, sent to the runs together.
    using Updates = std::vector<std::pair<std::shared_ptr<SvgoJob>, SvgoJobUpdate>>;
    static SvgoJobUpdate &updateOf(Updates &updates, const std::shared_ptr<SvgoJob> &job);

    void dispatch();
    void startWorker();
    void send(Worker *worker, const std::shared_ptr<SvgoJob> &job, const SvgoRequest &request);
    void readLines(Worker *worker);
    void handleLine(Worker *worker, const QByteArray &line, Updates &updates);
    void answer(const std::shared_ptr<SvgoJob> &job, SvgoAnswer answer, Updates &updates);
    void flush(Updates &updates);
    void workerUnusable(Worker *worker, bool fallback, const QString &error);
    void workerEnded(Worker *worker);
    void watch(); // ends workers stuck longer than the time limit
    void timedOut(Worker *worker);
    // Takes the worker out of service at once; its unanswered files go back to their queues.
    void retire(Worker *worker, bool kill);
    void stopAll();
    void switchTo(const std::shared_ptr<SvgoJob> &job);
    void finishJobIfDone(const std::shared_ptr<SvgoJob> &job, Updates &updates);

    QThread m_thread;
    QTemporaryDir m_emptyFolder; // the workers' working folder; nothing is ever put in it
    QList<Worker *> m_workers;
    QList<Worker *> m_leaving; // stopped, not ended yet
    QList<std::shared_ptr<SvgoJob>> m_jobs;
    QString m_key; // of the running workers
    SvgoInstallation m_installation;
    QString m_configFile;
    int m_size = 0; // workers wanted
    qint64 m_timeLimitMs = 60000;
    qint64 m_memoryLimit = 0;
    int m_nextId = 0;
    QTimer *m_idle = nullptr;
    QTimer *m_watch = nullptr;
    std::atomic<qint64> m_peakMemory = 0;
    mutable QMutex m_failedMutex;
    QSet<QString> m_failed;
};
