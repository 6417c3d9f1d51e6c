#pragma once

#include "engine/OptimizationResult.h"
#include "model/Profile.h"
#include "ui/SettingsTab.h"

#include <QFuture>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>

class CommandManager;
class MainWindow;
class QAction;
class SettingsWindow;
class Updater;

// The state every window shares: the profile being edited and whether it differs from its stored
// source, the command signals, the tab the settings window opens on, and the updater. It also
// opens and tracks the windows. Exactly one exists while the program runs.
class Application : public QObject {
    Q_OBJECT
public:
    // `updater` may be null; then one is created from the build's feed settings. An updater
    // without a parent becomes the application's.
    explicit Application(Updater *updater = nullptr, QObject *parent = nullptr);
    ~Application() override;

    static Application *instance();

    const Profile &profile() const { return m_profile; }
    void setProfile(const Profile &profile);

    bool profileEdited() const { return m_profileEdited; }
    void setProfileEdited(bool edited);

    SettingsTab selectedSettingsTab() const { return m_selectedSettingsTab; }
    void setSelectedSettingsTab(SettingsTab tab);

    CommandManager *commandManager() const { return m_commandManager; }
    Updater *updater() const { return m_updater; }

    // Windows.
    MainWindow *newMainWindow();
    QList<MainWindow *> mainWindows() const;
    SettingsWindow *settingsWindow(); // created on first use
    void openSettings();              // shows the settings window on `selectedSettingsTab`
    void openTextOutput(const QString &text);

    // Asks the active main window (or the first one) to show its open panel.
    void requestFileImport();

    // File ▸ Quit (Ctrl+Q), shared by every main window and their setup sheets.
    QAction *quitAction() const { return m_quitAction; }
    // Quits; while a run goes on, only after the user agreed to stop it.
    void requestQuit();
    // The question "Stop the optimization and quit?" while it is shown, else null.
    QMessageBox *quitQuestion() const { return m_quitQuestion; }
    // Runs that must end before the program does: quitting cancels them, which ends their svgo
    // processes and removes their private folders.
    void trackRun(const QFuture<OptimizationResult> &run);
    bool isRunning() const;

signals:
    void profileChanged(const Profile &profile);
    void profileEditedChanged(bool edited);
    void selectedSettingsTabChanged(SettingsTab tab);
    void fileImportRequested(MainWindow *window);

private:
    void mainWindowDestroyed();
    QList<QFuture<OptimizationResult>> runningRuns() const;
    void stopRunsAndQuit();

    CommandManager *m_commandManager;
    Profile m_profile;
    bool m_profileEdited = false;
    SettingsTab m_selectedSettingsTab = SettingsTab::General;
    Updater *m_updater;
    QList<QPointer<MainWindow>> m_mainWindows;
    QPointer<SettingsWindow> m_settingsWindow;
    QAction *m_quitAction;
    QList<QFuture<OptimizationResult>> m_runs;
    QPointer<QMessageBox> m_quitQuestion;
};
