#include "ui/Application.h"

#include "model/Settings.h"
#include "platform/Updater.h"
#include "ui/CommandManager.h"
#include "ui/MainWindow.h"
#include "ui/SettingsWindow.h"
#include "ui/TextOutputWindow.h"

#include <QApplication>

namespace {
Application *s_instance = nullptr;
}

Application::Application(Updater *updater, QObject *parent)
    : QObject(parent), m_commandManager(new CommandManager(this)),
      m_profile(Keys::defaultProfile().get()),
      m_updater(updater ? updater : Updater::create(this)) {
    // Creating the keys registers their defaults before any window reads them.
    Keys::profiles();
    s_instance = this;
    m_updater->start();
}

Application::~Application() {
    for (const auto &window : std::as_const(m_mainWindows))
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
    auto *window = new MainWindow(this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    m_mainWindows.append(window);
    // A widget announces its destruction before its guards are cleared, so match it by address.
    connect(window, &QObject::destroyed, this, [this](QObject *gone) {
        m_mainWindows.removeIf([gone](const QPointer<MainWindow> &entry) {
            return !entry || static_cast<QObject *>(entry.data()) == gone;
        });
    });
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
