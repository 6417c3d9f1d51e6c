#include "ui/Application.h"

#include "model/DefaultsStore.h"
#include "model/Settings.h"
#include "platform/Updater.h"
#include "ui/AppState.h"
#include "ui/components/WhenFinished.h"
#include "ui/main/Inspector.h"
#include "ui/main/MainWindow.h"
#include "ui/main/WindowSession.h"
#include "ui/output/TextOutputWindow.h"
#include "ui/settings/SettingsWindow.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QtConcurrent>

#include <algorithm>
#include <utility>

namespace {
Application *s_instance = nullptr;

// A cancelled run ends within a moment; one that does not is not waited for longer than this.
constexpr int quitWaitMs = 5000;
} // namespace

Application::Application(Updater *updater, QObject *parent)
    : QObject(parent), m_state(new AppState(updater ? updater : Updater::create(this), this)) {
    connect(m_state->quitAction(), &QAction::triggered, this, &Application::requestQuit);
    connect(m_state, &AppState::newMainWindowRequested, this, &Application::newMainWindow);
    connect(m_state, &AppState::settingsRequested, this, &Application::openSettings);
    connect(m_state, &AppState::textOutputRequested, this, &Application::openTextOutput);
    connect(m_state, &AppState::fileImportRequested, this, &Application::requestFileImport);
    // However the program ends, no svgo of a run outlives it and no private folder is left.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        // Only runs still going: cancelling a finished one reaches continuations whose windows
        // may be gone already.
        // Waited for up to the same cap as a quit asked for from a window, whatever a run is
        // doing: a run stuck in svgo must not keep the program from ending.
        const QList<QFuture<OptimizationResult>> runs = runningRuns();
        for (QFuture<OptimizationResult> run : runs)
            run.cancel();
        const QDeadlineTimer deadline(quitWaitMs);
        auto ended = [&runs] {
            return std::all_of(
                runs.cbegin(), runs.cend(),
                [](const QFuture<OptimizationResult> &run) { return run.isFinished(); });
        };
        while (!ended() && !deadline.hasExpired())
            QThread::msleep(10);
        m_runs.clear();
    });
    // A setting that cannot be saved (a read-only or full ~/.config) still holds for this
    // session; the user hears once that it will not outlast it, from the window in front.
    connect(&Defaults::Store::instance(), &Defaults::Store::writeFailed, this,
            [this](const QString &fileName) {
                if (std::exchange(m_toldWriteFailed, true))
                    return;
                QWidget *parent = QApplication::activeWindow();
                auto *box = new QMessageBox(
                    QMessageBox::Warning, tr("Settings Not Saved"),
                    tr("Mirandel cannot save its settings to %1. Your changes and profiles hold "
                       "until you quit; check that the folder can be written and has free space.")
                        .arg(QDir::toNativeSeparators(fileName)),
                    QMessageBox::Ok, parent);
                box->setAttribute(Qt::WA_DeleteOnClose);
                box->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
                box->open();
            });
    // Creating the keys registers their defaults before any window reads them.
    Keys::profiles();
    if (!m_state->updater()->parent())
        m_state->updater()->setParent(this);
    s_instance = this;
    m_state->updater()->start();
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

MainWindow *Application::newMainWindow() {
    // Closed windows leave null pointers behind (a QWidget announces its destruction before its
    // subclass parts are gone, so the list is tidied here rather than from that notice).
    m_mainWindows.removeAll(nullptr);
    auto *window = new MainWindow(m_state);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // A second window steps down from the newest one instead of covering it exactly.
    if (!m_mainWindows.isEmpty())
        window->placeOnScreen(window->size(), m_mainWindows.constLast());
    connect(window->inspector(), &Inspector::runStarted, this, &Application::trackRun);
    // A run that ends while the user is asked whether to stop it leaves nothing to stop: the
    // question goes and the program quits, as the user asked.
    connect(window->session(), &WindowSession::busyChanged, this, [this](bool busy) {
        if (!busy && m_quitQuestion && !isRunning()) {
            m_quitQuestion->close();
            stopRunsAndQuit();
        }
    });
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
        m_settingsWindow = new SettingsWindow(m_state);
    return m_settingsWindow;
}

void Application::openSettings() {
    SettingsWindow *window = settingsWindow();
    window->selectTab(m_state->selectedSettingsTab());
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
        emit m_state->fileImportTargeted(target);
}

void Application::trackRun(const QFuture<OptimizationResult> &run) {
    m_runs = runningRuns();
    m_runs.append(run);
}

QList<QFuture<OptimizationResult>> Application::runningRuns() const {
    QList<QFuture<OptimizationResult>> running;
    for (const QFuture<OptimizationResult> &run : m_runs)
        if (!run.isFinished())
            running.append(run);
    return running;
}

bool Application::isRunning() const {
    const QList<MainWindow *> windows = mainWindows();
    return std::any_of(windows.cbegin(), windows.cend(),
                       [](const MainWindow *window) {
                           return window->session()->work() == WindowSession::Work::Optimizing;
                       }) ||
           !runningRuns().isEmpty();
}

void Application::requestQuit() {
    if (!isRunning()) {
        stopRunsAndQuit();
        return;
    }
    if (m_quitQuestion) {
        m_quitQuestion->raise();
        return;
    }
    QWidget *parent = QApplication::activeWindow();
    const QString question = tr("Stop the optimization and quit?");
    auto *box =
        new QMessageBox(QMessageBox::Question, question, question, QMessageBox::NoButton, parent);
    box->setInformativeText(tr("Files not optimized yet stay as they are."));
    QPushButton *stop = box->addButton(tr("Stop and Quit"), QMessageBox::DestructiveRole);
    box->addButton(tr("Cancel"), QMessageBox::RejectRole);
    box->setDefaultButton(stop);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [this, box, stop] {
        if (box->clickedButton() == stop)
            stopRunsAndQuit();
    });
    m_quitQuestion = box;
    box->open();
}

void Application::stopRunsAndQuit() {
    // Quitting closes no window one by one, so each keeps its size and columns here.
    for (MainWindow *window : mainWindows())
        window->saveLayout();
    const QList<QFuture<OptimizationResult>> runs = runningRuns();
    if (runs.isEmpty()) {
        QCoreApplication::exit(0);
        return;
    }
    for (QFuture<OptimizationResult> run : runs)
        run.cancel();
    // Waited for on a worker thread, so the windows keep drawing while the runs wind down.
    QFuture<void> ended = QtConcurrent::run([runs] {
        for (QFuture<OptimizationResult> run : runs)
            run.waitForFinished();
    });
    whenFinished(ended, this, [] { QCoreApplication::exit(0); });
    QTimer::singleShot(quitWaitMs, this, [] { QCoreApplication::exit(0); });
}
