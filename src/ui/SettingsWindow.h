#pragma once

#include "ui/SettingsTab.h"

#include <QWidget>

class Application;
class QTabWidget;

// One settings window for the whole application, with a tab per area.
class SettingsWindow : public QWidget {
    Q_OBJECT
public:
    explicit SettingsWindow(Application *application, QWidget *parent = nullptr);

    void selectTab(SettingsTab tab);
    SettingsTab currentTab() const;

private:
    Application *m_application;
    QTabWidget *m_tabs;
};
