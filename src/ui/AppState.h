#pragma once

#include "model/Profile.h"
#include "ui/CommandManager.h"
#include "ui/SettingsTab.h"

#include <QObject>

class QAction;
class QWidget;
class Updater;

// What every window shares: the profile being edited and whether it differs from its stored
// source, the command signals, the tab the settings window opens on, and the updater. Windows
// ask for other windows through its requests; the application answers them, so no window needs
// to know the application.
class AppState : public QObject {
    Q_OBJECT
public:
    explicit AppState(Updater *updater, QObject *parent = nullptr);

    const Profile &profile() const { return m_profile; }
    void setProfile(const Profile &profile);

    bool profileEdited() const { return m_profileEdited; }
    void setProfileEdited(bool edited);

    SettingsTab selectedSettingsTab() const { return m_selectedSettingsTab; }
    void setSelectedSettingsTab(SettingsTab tab);

    CommandManager *commandManager() { return &m_commandManager; }
    Updater *updater() const { return m_updater; }
    // File ▸ Quit (Ctrl+Q), shared by every main window and their setup sheets.
    QAction *quitAction() const { return m_quitAction; }

    // Requests the application answers.
    void openSettings() { emit settingsRequested(); }
    void openTextOutput(const QString &text) { emit textOutputRequested(text); }
    void newMainWindow() { emit newMainWindowRequested(); }
    // Asks the active main window (or the first one) to show its open panel.
    void requestFileImport() { emit fileImportRequested(); }

signals:
    void profileChanged(const Profile &profile);
    void profileEditedChanged(bool edited);
    void selectedSettingsTabChanged(SettingsTab tab);

    void settingsRequested();
    void textOutputRequested(const QString &text);
    void newMainWindowRequested();
    void fileImportRequested();
    // The application's answer to fileImportRequested: the window that should show the panel.
    void fileImportTargeted(QWidget *window);

private:
    CommandManager m_commandManager;
    Profile m_profile;
    bool m_profileEdited = false;
    SettingsTab m_selectedSettingsTab = SettingsTab::General;
    Updater *m_updater;
    QAction *m_quitAction;
};
