#pragma once

#include "engine/FileReplacement.h"
#include "engine/OptimizerOptions.h"
#include "engine/OriginalsBackup.h"
#include "engine/SvgoJob.h"
#include "engine/SvgoMessages.h"
#include "engine/SvgoOutputs.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFuture>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPromise>
#include <QSet>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

class QProcess;
class ResultsCache;
class QTemporaryDir;
class SvgoWorkerPool;
class VisualCheck;

// One run of the optimizer, from the first file handed to svgo to the last output placed. It
// lives on the thread that calls exec() and takes the workers' answers, or drives svgo's command
// line, from that thread's own event loop, so the UI thread never waits for svgo.
class OptimizerRun : public QObject {
    Q_OBJECT
public:
    OptimizerRun(const QList<SVGFile> &files, const Profile &profile,
                 const OptimizerOptions &options, QPromise<OptimizationResult> &promise,
                 SvgoWorkerPool &workers);
    ~OptimizerRun() override;

    // Runs everything and returns the outcome; blocks the calling thread until then.
    OptimizationResult exec();

private:
    // A run starts one worker for each this many files, up to the process limit: Node and svgo
    // take about as long to start as a warm worker takes for that many icons, so on a machine
    // with few cores a handful of files is done sooner by one worker than by several starting.
    static constexpr qsizetype filesPerStartedWorker = 40;

    // One svgo command-line process and the files it was given.
    struct Process {
        QProcess *process = nullptr;
        QList<int> files; // those not finished yet
        SvgoMessages::ReportReader reports;
        // svgo reports a file by its name alone, once its output is written: the file of each
        // name that is unique in the chunk, and -1 for the others and those finished already.
        QHash<QString, int> byName;
        int unmatchedReports = 0; // reported names that finished no file; counted as progress
        QString program;
        // The process leads a group of its own (0 until it started): ending the group ends a
        // wrapper script's node and whatever else it started with it.
        qint64 group = 0;
        QElapsedTimer lastProgress; // since it started or last reported a finished file
        bool timedOut = false;
    };

    QList<int> prepare(const SvgoInstallation &installation);
    // Opens the results cache when the run may use it: everything besides an input that decides
    // what becomes of it goes into its context.
    void openCache(const SvgoInstallation &installation);
    // Finishes a file from what an earlier run made of the same bytes; false when none is known.
    bool answerFromCache(int index);
    QByteArray cacheKeyInput(int index) const;
    void startWorkers(const SvgoInstallation &installation, const QList<int> &files);
    void takeUpdate(const SvgoJobUpdate &update);

    // svgo's command line, where the workers cannot run (OptimizerRunCommandLine.cpp).
    void planChunks(const QList<int> &files);
    void startMore();
    void start(const QList<int> &files);
    // Finishes the files svgo reported as written, while it goes on with the rest of the chunk.
    void takeReports(Process *process, const QStringList &names);
    void processEnded(Process *process, bool startFailed);
    void handleFailure(const QList<int> &unfinished, const QByteArray &standardError,
                       const QString &crashText);
    void watchProcesses(); // ends processes that made no progress within the time limit
    static void killGroup(Process *process);

    // The searches that follow a file's first output (OptimizerRunSearch.cpp): for the fewest
    // plugins to switch off when it looks different, and for the lowest precision that still
    // looks the same where the profile asks for it. Each try is one more optimization on the
    // warm workers, reviewed like the first output.
    struct Search {
        std::shared_ptr<VisualCheck> check;
        OriginalsBackup::Stamp written; // of the first output's temporary file
        bool forPlugins = false;        // else for the precision
        // Plugins: the culprits found so far, and the plugins that may hold more, likeliest
        // first. Leaving out `needed` and the first `high` of `candidates` looks the same; the
        // first `low` do not (-1: not known yet).
        QStringList needed;
        QStringList candidates;
        int low = 0, high = 0;
        int tryingCount = -1; // how many of `candidates` the optimization in flight leaves out
        QStringList trying;   // everything it leaves out
        int tryingPrecision = -1;
        int lowest = 0, highest = 0; // precision: the range still open
        int spent = 0;
        QByteArray firstOutput; // svgo's, with every plugin and its usual precision
        FileResult firstReview;
        QByteArray bestOutput; // the best output that looks the same; its review
        std::optional<FileResult> bestReview;
        QStringList bestWithout;
        int bestPrecision = -1;
    };
    // At most this many further optimizations per file, whatever it searches for.
    static constexpr int searchBound = 8;
    // svgo's plugins round to three digits after the point unless told otherwise.
    static constexpr int svgoDefaultPrecision = 3;
    // Starts a search for a file whose first output was reviewed on the render pool; false when
    // there is nothing to search for, and the review stands.
    bool startSearch(int index, const QByteArray &output, const OriginalsBackup::Stamp &written,
                     const FileResult &review, const std::shared_ptr<VisualCheck> &check);
    void tryNext(int index);
    void submitTry(int index, const QStringList &without, int precision);
    void takeTryUpdate(SvgoJob *job, const SvgoJobUpdate &update);
    void tried(int index, const QByteArray &output, const std::optional<FileResult> &review);
    void endSearch(int index);
    // Reviews `output` on the render pool and hands the verdict to `then` on this thread.
    void reviewOnPool(QFuture<FileResult> review, std::function<void(const FileResult &)> then);
    // svgo's output with the file's name in front of its ids, where the profile asks for that.
    QByteArray withFileIds(int index, const QByteArray &output) const;

    // `document` is svgo's output in text mode when it did not go through a file.
    void finishFile(int index, const QByteArray *document = nullptr);
    // Checks one input before svgo gets it: fails it, or hands svgo a UTF-8 copy where needed.
    bool guardInput(int index);
    void startCheck(int index); // draws the original while svgo works on it
    // Looks at one file's output before it is used (`output`: svgo's bytes) and decides whether
    // it is optimized, already optimal or looks different; leaves the outcome in m_outcomes.
    // `review`: the verdict when it was made on the render pool.
    FileResult::Status reviewOutput(int index, const QByteArray &output,
                                    const std::optional<FileResult> &review);
    // What follows a file's review: its outcome, the text's document, the file put in place.
    void placeReviewed(int index, const QByteArray &output, const OriginalsBackup::Stamp &written,
                       const std::optional<FileResult> &review);
    // Puts the reviewed outputs that wait in m_toPlace in place, flushed to disk together.
    void placePending();
    // Replaces the inputs of the flushed outputs `ready[inputs]` once their originals are on
    // record, and leaves an error text in `errors[at]` for each that may not or cannot be.
    struct Placement {
        int index;
        OriginalsBackup::Stamp written; // what the temporary is, as the destination will show
    };
    void replaceInputs(const QList<Placement> &ready, const QList<qsizetype> &inputs,
                       QStringList &errors);
    void stopReplacing(const QString &error); // the run replaces no more inputs
    // A file the run does not replace: copied as it is where the run writes into a folder.
    void leaveAsItWas(int index);
    void failFile(int index, const QString &message);
    // Writes `bytes` to the file's private temporary name; the system's reason when it cannot
    // (and nothing is left there).
    QString writeTemporary(int index, const QByteArray &bytes);
    void reportProgress();
    void checkCancel();

    QList<SVGFile> m_files;
    Profile m_profile;
    OptimizerOptions m_options;
    QPromise<OptimizationResult> &m_promise;
    SvgoWorkerPool &m_workers;
    bool m_textMode;
    bool m_inMemory; // text mode or a dry run: svgo's outputs come back instead of being written
    qint64 m_maxProcesses = 1;
    QString m_configFile; // empty: svgo's defaults

    QStringList m_paths;  // plain, absolute input paths in list order
    QStringList m_inputs; // what svgo reads: the input, or its UTF-8 copy in m_convertedInputs
    QList<QByteArray> m_originals; // the inputs as read, for comparing svgo's outputs with
    QList<FileReplacement::Identity> m_read; // which file each input was when it was read
    bool m_intoFolder = false;               // file mode into an output folder
    QString m_stopped; // why the run replaces no more files (its originals cannot be recorded)
    QList<QFuture<std::shared_ptr<VisualCheck>>> m_checks; // drawn while svgo works
    std::unique_ptr<ResultsCache> m_cache;                 // none when the run may not use it
    bool m_cacheByPath = false;         // the user's own configuration may look at the file's name
    QHash<int, FileResult> m_fromCache; // reviews known from the cache, until the file is finished
    QSet<int> m_alreadyThere;   // answered from the cache with an output the folder holds already
    QList<Placement> m_toPlace; // reviewed outputs waiting to be put in place
    // Outputs are put in place a few at a time (one flush of the disk for all of them): those
    // reviewed within this long of the first, or as many as this, or the last of the run.
    static constexpr int placeEveryMs = 20;
    static constexpr qsizetype placeAtOnce = 64;
    QTimer m_placeTimer;
    std::unique_ptr<QTemporaryDir> m_convertedInputs;
    SvgoOutputs m_outputs;
    // File mode: the originals of the inputs the run replaces, so the replacement can be undone.
    std::unique_ptr<OriginalsBackup> m_backup;
    QList<SvgoOutputs::Slot> m_slots;     // one per file
    QList<FileResult> m_outcomes;         // one per file
    QList<QByteArray> m_documents;        // text mode: what each file puts into the text
    QList<int> m_settled;                 // files finished since the last report of finished files
    std::shared_ptr<SvgoJob> m_job;       // the files with the workers; reset once they are done
    std::optional<SvgoJob> m_tryTemplate; // how searches ask the workers; none without
    QList<std::shared_ptr<SvgoJob>> m_tryJobs; // their optimizations still with the workers
    QHash<int, Search> m_searches;
    QStringList m_plugins; // what the workers' configuration runs, in svgo's order
    // svgo's command line runs in an empty folder of its own and is given an explicit
    // configuration, so that nothing around it can change its results.
    std::unique_ptr<QTemporaryDir> m_commandLineFolder;
    std::deque<QList<int>> m_queue; // chunks waiting for a process
    QList<Process *> m_running;
    qint64 m_commandLineLimitMs = 0; // per file, restarted by each file a process reports
    QTimer m_commandLineWatch;
    int m_finished = 0;
    int m_reviewing = 0; // files whose verdict is being drawn on the render pool
    int m_reportedInRunning = 0;
    int m_progress = 0;
    // Failures that name no file are narrowed down by halving; a failure that hits every file
    // (a broken configuration, say) would otherwise cost two processes per file.
    int m_splitBudget = 0;
    bool m_cancelled = false;

    QEventLoop m_loop;
    QTimer m_cancelPoll;
};
