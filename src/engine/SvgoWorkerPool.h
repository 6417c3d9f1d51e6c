#pragma once

#include "engine/SvgoJob.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <deque>
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
    // Files sent ahead to one worker: enough that its next reads overlap the current optimizing.
    // More are sent only once half of them are answered, so requests go out in batches.
    static constexpr size_t inFlightPerWorker = 16;
    // While workers are busy, how long the pool's thread waits before it waits for them (see
    // pace()).
    static constexpr unsigned long paceMicroseconds = 1000;
    // A worker that has not loaded svgo by then never will.
    static constexpr qint64 startLimitMs = 30000;
    // A larger document in an answer is a broken answer: the inputs are far smaller.
    static constexpr qint64 maximumDocument = qint64(1) << 30;

    struct Worker {
        struct InFlight {
            std::shared_ptr<SvgoJob> job;
            SvgoRequest request;
            int id;
        };
        QProcess *process = nullptr;
        bool ready = false;
        bool leaving = false;   // taken out of service on purpose; its end is no surprise
        bool recycling = false; // grew too big: gets nothing new and ends once idle
        QByteArray pending;     // a line or document not complete yet
        qsizetype scanned = 0;  // bytes of `pending` known to hold no line end
        // The answer whose document is still arriving, and that document's size; -1 when none.
        QJsonObject documentHeader;
        qsizetype documentBytes = -1;
        std::deque<InFlight> inFlight;
        QElapsedTimer lastProgress; // since it started, or last said something while busy
        bool batchFull = false;     // had its fill of requests; gets more once half are answered
        QStringList plugins;        // what its configuration runs, as it said when ready

        bool busy() const { return !ready || !inFlight.empty(); }
    };

    // Updates gathered while handling one batch of lines, sent to the runs together.
    using Updates = std::vector<std::pair<std::shared_ptr<SvgoJob>, SvgoJobUpdate>>;
    static SvgoJobUpdate &updateOf(Updates &updates, const std::shared_ptr<SvgoJob> &job);

    // Starts and ends workers as the jobs need, hands out files, and keeps the clocks right.
    void dispatch();
    void sendRequests();
    void startWorker();
    void send(Worker *worker, const std::shared_ptr<SvgoJob> &job, const SvgoRequest &request);
    void readLines(Worker *worker);
    void handleLine(Worker *worker, QByteArrayView line, Updates &updates);
    void takeAnswer(Worker *worker, const QJsonObject &message, QByteArray document,
                    Updates &updates);
    void answer(const std::shared_ptr<SvgoJob> &job, SvgoAnswer answer, Updates &updates);
    void flush(Updates &updates);
    void sendOutbox();
    void workerUnusable(Worker *worker, bool fallback, const QString &error);
    void workerEnded(Worker *worker);
    void watch(); // ends workers stuck longer than the time limit
    void pace();
    void timedOut(Worker *worker);
    // Takes the worker out of service at once; its unanswered files go back to their queues.
    void retire(Worker *worker, bool kill);
    void stopAll();
    void switchTo(const std::shared_ptr<SvgoJob> &job);
    void finishJobIfDone(const std::shared_ptr<SvgoJob> &job, Updates &updates);

    QThread m_thread;
    QList<Worker *> m_workers;
    QList<Worker *> m_leaving; // stopped, not ended yet
    QList<std::shared_ptr<SvgoJob>> m_jobs;
    QString m_key; // of the running workers
    SvgoInstallation m_installation;
    QString m_configFile;
    int m_size = 0;    // workers that may run
    int m_toStart = 0; // workers started when fewer run
    qint64 m_timeLimitMs = 60000;
    qint64 m_memoryLimit = 0;
    int m_nextId = 0;
    QTimer *m_idle = nullptr;
    QTimer *m_watch = nullptr;
    QTimer *m_outboxTimer = nullptr;
    Updates m_outbox; // answers not sent to their runs yet
    bool m_pacing = false;
    std::atomic<qint64> m_peakMemory = 0;
    mutable QMutex m_failedMutex;
    QSet<QString> m_failed;
};
