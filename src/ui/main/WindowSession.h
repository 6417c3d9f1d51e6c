#pragma once

#include "engine/OptimizationResult.h"
#include "model/Profile.h"

#include <QFuture>
#include <QObject>
#include <QTimer>

#include <optional>
#include <utility>

// What one main window is doing with its files: optimizing them, putting back their originals
// or writing outputs that were held back. Only one of these runs at a time, since two writers on
// one file would undo each other; the window's controls, its menus and the application ask this
// object whether something may start, and bind to its signals. It holds no widget.
class WindowSession : public QObject {
    Q_OBJECT
public:
    enum class Work { None, Optimizing, Restoring, WritingHeldBack };
    Q_ENUM(Work)

    // The run that ended last: its profile, how long it took and whether it replaced inputs.
    struct LastRun {
        Profile profile;
        qint64 milliseconds = 0;
        bool replacedInputs = false;
        // Text mode: the run's files, outcomes and documents (not the text), so that documents
        // kept as they were can be swapped for svgo's output and the text put together again.
        OptimizationResult textRun;
    };

    explicit WindowSession(QObject *parent = nullptr);

    Work work() const { return m_work; }
    bool isBusy() const { return m_work != Work::None; }
    // Starts `work` when nothing else runs; false (and nothing changes) while something does.
    bool begin(Work work);
    // The work begun last is over.
    void end();

    // The run under way (while optimizing), so that closing or quitting can stop it.
    void setRun(const QFuture<OptimizationResult> &run) { m_run = run; }
    // Asks the run to stop; its outcome still arrives through finishRun.
    void cancel();

    // Files of the current run that finished. They reach fileResultsArrived
    // gathered, a few times a second at most, so that a run of thousands of small files does not
    // redraw the table for each.
    void takeFileResults(const QList<std::pair<QString, FileResult>> &results);

    // Records a run's end and ends the work it began.
    void finishRun(const Profile &profile, qint64 milliseconds, const OptimizationResult &result);
    const std::optional<LastRun> &lastRun() const { return m_lastRun; }
    // The last text run after documents were swapped in.
    void keepTextRun(const OptimizationResult &run);
    // The files that show a row before and after the last run: the input alone, or its kept
    // original and the input it replaced, or the input and its copy in the output folder.
    std::pair<QString, QString> shownFiles(const QString &id, const FileResult *result) const;

signals:
    void busyChanged(bool busy);
    void runFinished(const OptimizationResult &result);
    void fileResultsArrived(const QList<std::pair<QString, FileResult>> &results);

private:
    Work m_work = Work::None;
    QFuture<OptimizationResult> m_run;
    std::optional<LastRun> m_lastRun;
    QList<std::pair<QString, FileResult>> m_arrived; // not yet passed on
    QTimer m_passOn;
};
