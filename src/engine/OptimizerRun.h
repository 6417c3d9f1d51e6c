#pragma once

#include "engine/Optimizer.h"
#include "engine/OriginalsBackup.h"
#include "engine/SvgoMessages.h"
#include "engine/SvgoOutputs.h"

#include <QEventLoop>
#include <QList>
#include <QObject>
#include <QPromise>
#include <QTimer>

#include <deque>
#include <memory>

class QProcess;

// One run of the optimizer, from the first process to the last output placed. It lives on the
// worker thread that calls exec() and drives its svgo processes from that thread's own event
// loop, so the UI thread never waits for svgo.
class OptimizerRun : public QObject {
    Q_OBJECT
public:
    OptimizerRun(const QList<SVGFile> &files, const Profile &profile,
                 const OptimizerOptions &options, QPromise<OptimizationResult> &promise);
    ~OptimizerRun() override;

    // Runs everything and returns the outcome; blocks the calling thread until then.
    OptimizationResult exec();

private:
    struct Process;

    void prepare();
    void startMore();
    void start(const QList<int> &files);
    void processEnded(Process *process, bool startFailed);
    void handleFailure(const QList<int> &unfinished, const QByteArray &standardError,
                       const QString &crashText);
    void finishFile(int index);
    void failFile(int index, const QString &message);
    void reportProgress();
    void checkCancel();
    QString assembledText() const;

    QList<SVGFile> m_files;
    Profile m_profile;
    OptimizerOptions m_options;
    QPromise<OptimizationResult> &m_promise;
    bool m_textMode;
    qint64 m_maxProcesses = 1;

    SvgoOutputs m_outputs;
    // File mode: copies of the inputs the run replaces, so the replacement can be undone.
    std::unique_ptr<OriginalsBackup> m_backup;
    QStringList m_paths;              // plain, absolute input paths in list order
    QList<SvgoOutputs::Slot> m_slots; // one per file
    QList<FileResult> m_outcomes;     // one per file
    QList<QByteArray> m_documents;    // text mode: the output of every optimized file
    QList<QList<int>> m_plan;         // the chunks as first planned, for the text assembly
    std::deque<QList<int>> m_queue;   // chunks waiting for a process
    QList<Process *> m_running;
    int m_finished = 0;
    int m_reportedInRunning = 0;
    int m_progress = 0;
    // Failures that name no file are narrowed down by halving; a failure that hits every file
    // (a broken configuration, say) would otherwise cost two processes per file.
    int m_splitBudget = 0;
    bool m_cancelled = false;

    QEventLoop m_loop;
    QTimer m_cancelPoll;
};
