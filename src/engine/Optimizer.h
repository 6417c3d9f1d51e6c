#pragma once

#include "engine/OptimizationResult.h"
#include "engine/OptimizerOptions.h"
#include "engine/SvgoInstallation.h"
#include "model/Profile.h"
#include "model/SVGFile.h"

#include <QFuture>
#include <QObject>
#include <QThreadPool>

#include <functional>
#include <memory>
#include <optional>

class SvgoWorkerPool;

// Runs svgo over a list of files with the options of one profile.
//
// A run never touches a file half-way: svgo writes to private places and a complete output
// replaces its destination in one rename. Where svgo is a Node package, warm workers that keep
// its module loaded take the files one by one from a queue in list order; otherwise svgo's
// command line runs over chunks of files. Either way a file svgo cannot optimize fails alone.
class Optimizer : public QObject {
    Q_OBJECT
public:
    static Optimizer &shared();

    // Starts a run and returns at once. The future reports progress as files finished out of all
    // and finishes with one outcome per file in list order; cancelling it starts no further svgo
    // process, kills the running ones, leaves every file untouched or completely optimized and
    // skips `onTextOutput`. In text mode `onTextOutput` gets the assembled documents of the
    // optimized files exactly once (on the worker thread), before the future finishes.
    // Never throws; a failure costs the files it concerns, never the run.
    QFuture<OptimizationResult> optimize(const QList<SVGFile> &files, const Profile &profile,
                                         std::function<void(const QString &)> onTextOutput);
    QFuture<OptimizationResult> optimize(const QList<SVGFile> &files, const Profile &profile,
                                         std::function<void(const QString &)> onTextOutput,
                                         const OptimizerOptions &options);

    // Starts the workers for the current svgo and `profile`'s configuration ahead of a run, so
    // that the first press of a window that holds files finds them warm; `workers` of them, or
    // as many as a run may use. Returns at once.
    void warmUp(const Profile &profile, std::optional<int> workers = std::nullopt);
    // Which way a run with this svgo takes.
    SvgoInstallation::Engine engineKind(const QString &svgoPath) const;
    // The most memory one worker has used so far, in bytes.
    qint64 peakWorkerMemory() const;
    // Ends the warm workers now; the next run or warm-up starts them again.
    void stopWorkers();

private:
    Optimizer();
    // Runs last for their whole length on a thread of their own, away from QtConcurrent's pool.
    QThreadPool m_pool;
    std::unique_ptr<SvgoWorkerPool> m_workers;
};
