#include "ui/Application.h"

#include "model/Settings.h"
#include "platform/Updater.h"
#include "ui/CommandManager.h"
#include "ui/MainWindow.h"
#include "ui/SettingsWindow.h"
#include "ui/TextOutputWindow.h"

#include <QApplication>

#include <utility>

namespace {
Application *s_instance = nullptr;
}

Application::Application(Updater *updater, QObject *parent)
    : QObject(parent), m_commandManager(new CommandManager(this)),
      m_profile(Keys::defaultProfile().get()),
      m_updater(updater ? updater : Updater::create(this)) {
    // Creating the keys registers their defaults before any window reads them.
    Keys::profiles();
    if (!m_updater->parent())
        m_updater->setParent(this);
    s_instance = this;
    m_updater->start();
}

Application::~Application() {
    // Taken out first: deleting a window must not change the list being walked.
    const auto windows = std::exchange(m_mainWindows, {});
    for (const auto &window : windows)
        delete window.data();
    delete m_settingsWindow.data();
    if (s_instance == this)
        s_instance = nullptr;
}

Application *Application::instance() {
    return s_instance;
}

void Application::setProfile(const Profile &profile) {
    if (profile == m_profile)
        return;
    m_profile = profile;
    emit profileChanged(m_profile);
}

void Application::setProfileEdited(bool edited) {
    if (edited == m_profileEdited)
        return;
    m_profileEdited = edited;
    emit profileEditedChanged(edited);
}

void Application::setSelectedSettingsTab(SettingsTab tab) {
    if (tab == m_selectedSettingsTab)
        return;
    m_selectedSettingsTab = tab;
    emit selectedSettingsTabChanged(tab);
}

MainWindow *Application::newMainWindow() {
    // Closed windows leave null pointers behind (a QWidget announces its destruction before its
    // subclass parts are gone, so the list is tidied here rather than from that notice).
    m_mainWindows.removeAll(nullptr);
    auto *window = new MainWindow(this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    m_mainWindows.append(window);
    window->show();
    return window;
}

QList<MainWindow *> Application::mainWindows() const {
    QList<MainWindow *> windows;
    for (const auto &window : m_mainWindows)
        if (window)
            windows.append(window);
    return windows;
}

SettingsWindow *Application::settingsWindow() {
    if (!m_settingsWindow)
        m_settingsWindow = new SettingsWindow(this);
    return m_settingsWindow;
}

void Application::openSettings() {
    SettingsWindow *window = settingsWindow();
    window->selectTab(m_selectedSettingsTab);
    window->show();
    window->raise();
    window->activateWindow();
}

void Application::openTextOutput(const QString &text) {
    TextOutputWindow::open(text);
}

void Application::requestFileImport() {
    MainWindow *target = nullptr;
    for (MainWindow *window : mainWindows())
        if (window->isActiveWindow())
            target = window;
    if (!target && !mainWindows().isEmpty())
        target = mainWindows().constFirst();
    if (target)
        emit fileImportRequested(target);
}
