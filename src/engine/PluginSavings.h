#pragma once

#include "model/Profile.h"

#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QTimer>

#include <chrono>

// What one plugin of an svgo configuration did to a file, applied after the plugins before it.
struct PluginStep {
    QString plugin; // empty: svgo reading and writing the document without any plugin
    qint64 before = 0;
    qint64 after = 0;
    bool changedText = false;
    // Its output looks different from its input; couldNotDraw when that could not be judged.
    bool changedDrawing = false;
    bool couldNotDraw = false;
    QString reason; // why it looks different or could not be judged

    qint64 saved() const { return before - after; }
};

struct PluginSavingsResult {
    QString error; // empty when every step ran and was judged
    QString version;
    qint64 original = 0;
    qint64 optimized = 0;
    QList<PluginStep> steps;
    // The last step's output against the file itself: small changes that each step's check
    // lets pass may add up.
    bool finalLooksDifferent = false;

    qint64 saved() const { return original - optimized; }
};

// Tells, for one file, what each plugin of svgo's configuration saved and which of them changed
// the drawing. svgo runs in a Node process of its own (the svgo-plugin-steps.mjs script shipped
// beside the worker) that applies the plugins one at a time; the drawings are then compared on
// the render pool. Nothing here blocks the calling thread.
class PluginSavings : public QObject {
    Q_OBJECT
public:
    enum class Stage { Idle, RunningSvgo, Drawing, Done };
    Q_ENUM(Stage)

    explicit PluginSavings(QObject *parent = nullptr);
    ~PluginSavings() override;

    // With the svgo a run would start now and the profile's configuration.
    void start(const QString &file, const Profile &profile);
    // With the given svgo and configuration file (svgo's defaults when empty).
    void start(const QString &file, const QString &svgoPath, const QString &configFile);

    // How long svgo may take before it is stopped and the result says so.
    void setTimeLimit(std::chrono::milliseconds limit) { m_timeLimit = limit; }

    Stage stage() const { return m_stage; }
    const PluginSavingsResult &result() const { return m_result; }

signals:
    void stageChanged(PluginSavings::Stage stage);
    void finished(const PluginSavingsResult &result);

private:
    // One comparison's outcome; step -1 stands for the whole run.
    struct Judged {
        int step = -1;
        bool looksDifferent = false;
        bool couldNotDraw = false;
        QString reason;
    };
    struct DrawingPair;
    static Judged judge(const DrawingPair &pair);

    void setStage(Stage stage);
    void fail(const QString &error);
    void svgoEnded();
    void takeAnswer(const QByteArray &answer);
    void drawingsJudged();

    std::chrono::milliseconds m_timeLimit{60000};
    Stage m_stage = Stage::Idle;
    PluginSavingsResult m_result;
    QPointer<QProcess> m_process;
    QTimer m_deadline;
    bool m_timedOut = false;
    QFutureWatcher<Judged> m_drawing;
};
