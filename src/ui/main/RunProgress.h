#pragma once

#include <QElapsedTimer>
#include <QFuture>
#include <QFutureWatcher>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QShortcut;

// How far a run (or a restore of originals) has got: files finished out of all, an estimate of the
// time left once enough of the run is done to judge, and a "Cancel" button (Escape works too).
// Hidden while no run is tracked; it hides itself again when the run ends.
class RunProgress : public QWidget {
    Q_OBJECT
public:
    explicit RunProgress(QWidget *parent = nullptr);

    // Follows any long job that reports files done out of all (a run, a restore); a job that
    // reports no range shows a busy bar.
    void track(const QFuture<void> &future);
    bool isRunning() const { return m_running; }

    QProgressBar *bar() const { return m_bar; }
    QPushButton *cancelButton() const { return m_cancel; }
    QString statusText() const;

    // "About 2 min left" and the like; empty while too little is done to estimate.
    static QString timeLeftText(qint64 elapsedMs, int done, int total);

public slots:
    void cancel();

signals:
    void cancelRequested();

private:
    void updateText();

    QProgressBar *m_bar;
    QLabel *m_status;
    QPushButton *m_cancel;
    QShortcut *m_escape;
    QFutureWatcher<void> m_watcher;
    QElapsedTimer m_clock;
    bool m_running = false;
};
