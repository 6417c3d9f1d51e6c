#pragma once

#include "engine/OptimizationResult.h"

#include <QFuture>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>

class AppState;
class MainWindow;
class QAction;
class SettingsWindow;
class Updater;

// Owns the state every window shares, opens and tracks the windows, answers the windows' requests
// for other windows and sees runs end before the program does. Exactly one exists while the
// program runs.
class Application : public QObject {
    Q_OBJECT
public:
    // `updater` may be null; then one is created from the build's feed settings. An updater
    // without a parent becomes the application's.
    explicit Application(Updater *updater = nullptr, QObject *parent = nullptr);
    ~Application() override;

    static Application *instance();

    // What the windows share; they know this, not the application.
    AppState *state() const { return m_state; }

    // Windows.
    MainWindow *newMainWindow();
    QList<MainWindow *> mainWindows() const;
    SettingsWindow *settingsWindow(); // created on first use
    void openSettings();              // shows the settings window on `selectedSettingsTab`
    void openTextOutput(const QString &text);

    // Asks the active main window (or the first one) to show its open panel.
    void requestFileImport();

    // Quits; while a run goes on, only after the user agreed to stop it.
    void requestQuit();
    // The question "Stop the optimization and quit?" while it is shown, else null.
    QMessageBox *quitQuestion() const { return m_quitQuestion; }
    // Runs that must end before the program does: quitting cancels them, which ends their svgo
    // processes and removes their private folders.
    void trackRun(const QFuture<OptimizationResult> &run);
    bool isRunning() const;

private:
    void mainWindowDestroyed();
    QList<QFuture<OptimizationResult>> runningRuns() const;
    void stopRunsAndQuit();

    AppState *m_state;
    QList<QPointer<MainWindow>> m_mainWindows;
    QPointer<SettingsWindow> m_settingsWindow;
    QList<QFuture<OptimizationResult>> m_runs;
    QPointer<QMessageBox> m_quitQuestion;
    bool m_toldWriteFailed = false;
};
