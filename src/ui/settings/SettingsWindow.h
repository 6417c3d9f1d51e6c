#pragma once

#include "ui/SettingsTab.h"

#include <QWidget>

class AdvancedSettingsTab;
class AppState;
class GeneralSettingsTab;
class ProfilesSettingsTab;
class QTabWidget;
class UpdatesSettingsTab;

// One settings window for the whole application, with a tab per area. The application keeps
// the single instance; the tab it shows follows the application's selected settings tab both
// ways, so "Edit Profiles" can pick the tab before opening the window. It never grows past the
// free area of its screen; tabs whose content needs more room scroll.
class SettingsWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int minimumWindowWidth = 500;
    static constexpr int minimumTabWidth = 400;
    static constexpr int maximumTabWidth = 800;

    explicit SettingsWindow(AppState *application, QWidget *parent = nullptr);

    void selectTab(SettingsTab tab);
    SettingsTab currentTab() const;

    QTabWidget *tabWidget() const { return m_tabs; }
    GeneralSettingsTab *generalTab() const { return m_general; }
    ProfilesSettingsTab *profilesTab() const { return m_profiles; }
    UpdatesSettingsTab *updatesTab() const { return m_updates; }
    AdvancedSettingsTab *advancedTab() const { return m_advanced; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Bounds the window to the free area of the screen it is on, and moves it into that area.
    void fitToScreen();

    AppState *m_application;
    QTabWidget *m_tabs;
    GeneralSettingsTab *m_general;
    ProfilesSettingsTab *m_profiles;
    UpdatesSettingsTab *m_updates;
    AdvancedSettingsTab *m_advanced;
    bool m_followsScreen = false;
};
