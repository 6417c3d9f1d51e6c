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
    // A second window steps down from the newest one instead of covering it exactly.
    if (!m_mainWindows.isEmpty())
        window->placeOnScreen(window->size(), m_mainWindows.constLast());
    m_mainWindows.append(window);
    connect(window, &QObject::destroyed, this, &Application::mainWindowDestroyed);
    window->show();
    return window;
}

void Application::mainWindowDestroyed() {
    // Every other window is reached from a main window; with none left the program ends, as
    // desktop programs on Linux do, instead of running on with only the settings window. The
    // window going away is still counted here (its pointer clears only later).
    const auto open = std::count_if(m_mainWindows.cbegin(), m_mainWindows.cend(),
                                    [](const QPointer<MainWindow> &w) { return !w.isNull(); });
    if (open > 1)
        return;
    if (m_settingsWindow)
        m_settingsWindow->close();
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
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
