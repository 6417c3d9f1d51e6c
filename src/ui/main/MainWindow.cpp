#include "ui/main/MainWindow.h"

#include "engine/HeldBackOutput.h"
#include "engine/OriginalsBackup.h"

#include "engine/Optimizer.h"
#include "engine/SvgoResolver.h"
#include "engine/TextOutputAssembler.h"
#include "engine/Utilities.h"
#include "model/SVGFileList.h"
#include "ui/AppState.h"
#include "ui/components/ListActions.h"
#include "ui/components/WhenFinished.h"
#include "ui/main/FileTable.h"
#include "ui/main/Inspector.h"
#include "ui/main/RestoreOriginals.h"
#include "ui/main/ResultsSummary.h"
#include "ui/main/SetupSheet.h"
#include "ui/main/WindowSession.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent>


namespace {

const QString sizeKey = QStringLiteral("mainWindowSize");

} // namespace

MainWindow::MainWindow(AppState *application, QWidget *parent)
    : QMainWindow(parent), m_application(application), m_session(new WindowSession(this)),
      m_files(new SVGFileList(this)), m_table(new FileTable(m_files)),
      m_listActions(new ListActions(tr("Add Files"), tr("Remove"))),
      m_inspector(new Inspector(application, m_files, m_session)),
      m_splitter(new QSplitter(Qt::Horizontal)) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Mirandel"));
    setUnifiedTitleAndToolBarOnMac(true);

    auto *listArea = new QWidget;
    auto *listLayout = new QVBoxLayout(listArea);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(0);
    listLayout->addWidget(m_table, 1);
    listLayout->addWidget(m_listActions);
    listArea->setMinimumSize(300, 200);
    m_table->setFrameShape(QFrame::NoFrame);

    m_listActions->setAddAction([this] { showOpenPanel(); });
    m_listActions->setRemoveAction([this] { m_files->removeSelectedFiles(); });
    m_listActions->setRemoveButtonDisabled(true);
    connect(m_files, &SVGFileList::filesSkipped, this, [this](const QString &message) {
        auto *box =
            new QMessageBox(QMessageBox::Warning, tr("Add Files"), message, QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::WindowModal);
        box->open();
    });
    connect(m_files, &SVGFileList::selectionChanged, this, [this] {
        m_listActions->setRemoveButtonDisabled(m_files->selection().isEmpty());
        updateDeleteAction();
    });

    // The last run's outcome per row, with its totals in the bar's free area.
    m_summary = new ResultsSummary(m_files);
    m_listActions->setAccessoryWidget(m_summary);
    connect(m_session, &WindowSession::runFinished, this, &MainWindow::takeResults);
    // Rows fill in as their files finish; what the last run said no longer applies.
    connect(m_inspector, &Inspector::runStarted, m_files, &SVGFileList::clearResults);
    connect(m_session, &WindowSession::fileResultsArrived, m_files, &SVGFileList::addResults);
    // A window that holds files will likely be run: have svgo loaded by the time it is.
    connect(m_files, &SVGFileList::rowsAdded, this,
            [this] { Optimizer::shared().warmUp(m_application->profile()); });
    connect(m_table, &FileTable::restoreOriginalsRequested, this, &MainWindow::restoreOriginals);
    connect(m_table, &FileTable::useOptimizedRequested, this, &MainWindow::useOptimizedAnyway);
    connect(m_inspector, &Inspector::useOptimizedRequested, this, &MainWindow::useOptimizedAnyway);
    connect(m_session, &WindowSession::busyChanged, this, [this](bool busy) {
        updateRestoreAction();
        // The run ended by itself while the user was asked whether to stop it: what they asked
        // for, closing the window, needs no question any more.
        if (!busy && m_closeQuestion) {
            m_closeQuestion->close();
            close();
        }
    });

    m_inspector->setMinimumWidth(300);
    m_splitter->addWidget(listArea);
    m_splitter->addWidget(m_inspector);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    m_splitter->setSizes({600, 400});
    setCentralWidget(m_splitter);

    // Files and folders dropped anywhere on the window are added; the window draws no highlight.
    setAcceptDrops(true);

    createToolBar();
    createMenus();

    connect(application, &AppState::fileImportTargeted, this, [this](QWidget *window) {
        if (window == this)
            showOpenPanel();
    });
    connect(qApp, &QApplication::focusChanged, this, &MainWindow::updateDeleteAction);

    m_table->restoreColumns();
    placeOnScreen(QSettings().value(sizeKey, QSize(1000, 600)).toSize(), nullptr);
}

MainWindow::~MainWindow() {
    // The base destructor moves the focus away while this part of the object is already gone.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void MainWindow::placeOnScreen(QSize wanted, const QWidget *after) {
    const QScreen *screen = after ? after->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return resize(wanted);
    // The frame (title bar, borders) comes on top of the size; at a large scale the whole
    // window must still fit the screen's free area, title bar included.
    const QRect available = screen->availableGeometry();
    const QMargins frame = isVisible() ? QMargins(frameGeometry().left() - geometry().left(),
                                                  geometry().top() - frameGeometry().top(),
                                                  frameGeometry().right() - geometry().right(),
                                                  frameGeometry().bottom() - geometry().bottom())
                                       : QMargins(8, 32, 8, 8);
    const QSize room = available.size().shrunkBy(frame);
    resize(wanted.boundedTo(room).expandedTo(minimumSizeHint().boundedTo(room)));
    QRect placed(QPoint(), size().grownBy(frame));
    if (after) {
        // A little down and to the right of the given window, back to the top left corner once
        // that would leave the screen.
        placed.moveTopLeft(after->frameGeometry().topLeft() + QPoint(32, 32));
        if (!available.contains(placed))
            placed.moveTopLeft(available.topLeft());
    } else {
        placed.moveCenter(available.center());
    }
    move(placed.topLeft());
}

void MainWindow::saveLayout() const {
    QSettings().setValue(sizeKey, size());
    m_table->saveColumns();
}

void MainWindow::closeEvent(QCloseEvent *event) {
    // Closing the window would leave its run going unseen; the user decides first, as when
    // quitting.
    if (m_session->work() == WindowSession::Work::Optimizing && !m_closeAgreed) {
        event->ignore();
        askToStopAndClose();
        return;
    }
    saveLayout();
    QMainWindow::closeEvent(event);
}

void MainWindow::askToStopAndClose() {
    if (m_closeQuestion) {
        m_closeQuestion->raise();
        return;
    }
    const QString question = tr("Stop the optimization and close the window?");
    auto *box =
        new QMessageBox(QMessageBox::Question, question, question, QMessageBox::NoButton, this);
    box->setInformativeText(tr("Files not optimized yet stay as they are."));
    QPushButton *stop = box->addButton(tr("Stop and Close"), QMessageBox::DestructiveRole);
    box->addButton(QMessageBox::Cancel);
    box->setDefaultButton(stop);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    connect(box, &QMessageBox::finished, this, [this, box, stop] {
        if (box->clickedButton() != stop)
            return;
        m_closeAgreed = true;
        m_session->cancel();
        close();
    });
    m_closeQuestion = box;
    box->open();
}

void MainWindow::takeResults(const OptimizationResult &result) {
    const std::optional<WindowSession::LastRun> &lastRun = m_session->lastRun();
    m_summary->setLastRun(lastRun ? lastRun->milliseconds : 0, lastRun && lastRun->replacedInputs);
    QList<std::pair<QString, FileResult>> results;
    results.reserve(result.files.size());
    for (qsizetype index = 0; index < result.files.size() && index < result.outcomes.size();
         ++index) {
        results.append({result.files.at(index).id, result.outcomes.at(index)});
    }
    m_files->setResults(results);
    // Said at once and in full: the rows alone would not tell why the rest was left alone.
    if (!result.stopped.isEmpty())
        warn(tr("Optimize"), result.stopped);
}

void MainWindow::warn(const QString &title, const QString &message) {
    auto *box = new QMessageBox(QMessageBox::Warning, title, message, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
}

void MainWindow::restoreOriginals(const QStringList &ids) {
    if (!m_session->begin(WindowSession::Work::Restoring))
        return;
    m_restoreFlow = RestoreOriginals::start(this, m_files, m_inspector->runProgress(), ids);
    connect(m_restoreFlow, &RestoreOriginals::finished, this, [this] {
        m_session->end();
        emit restoreFinished();
    });
}

void MainWindow::useOptimizedAnyway(const QStringList &ids) {
    // Never beside a run or a restore: two writers on one file would undo each other.
    if (!m_session->begin(WindowSession::Work::WritingHeldBack))
        return;
    const std::optional<WindowSession::LastRun> &lastRun = m_session->lastRun();
    if (lastRun && lastRun->profile.mode == OperationMode::Text) {
        putIntoText(ids);
        return;
    }
    QList<std::pair<QString, FileResult>> held;
    for (const QString &id : ids)
        if (const FileResult *result = m_files->result(id))
            held.append({id, *result});
    // Off the window's thread: writing keeps each original first, as any overwrite does.
    QFuture<QStringList> writing = QtConcurrent::run([held] {
        OriginalsBackup backup;
        QStringList errors;
        for (const auto &[id, result] : held)
            errors.append(
                HeldBackOutput::write(id, result.destination, result.differentOutput, backup));
        backup.save();
        return errors;
    });
    whenFinished(writing, this, [this, held](const QStringList &errors) {
        m_session->end();
        for (qsizetype index = 0; index < held.size(); ++index) {
            FileResult result = held.at(index).second;
            result.status = errors.at(index).isEmpty() ? FileResult::Status::Optimized
                                                       : FileResult::Status::Failed;
            result.message = errors.at(index);
            result.differentOutput.clear();
            m_files->setResult(held.at(index).first, result);
        }
    });
}

void MainWindow::putIntoText(const QStringList &ids) {
    const QSet<QString> chosen(ids.cbegin(), ids.cend());
    const Profile profile = m_session->lastRun()->profile;
    OptimizationResult run = m_session->lastRun()->textRun;
    QList<std::pair<QString, FileResult>> taken;
    for (qsizetype index = 0; index < run.outcomes.size() && index < run.documents.size();
         ++index) {
        FileResult &outcome = run.outcomes[index];
        if (!chosen.contains(run.files.at(index).id) ||
            outcome.status != FileResult::Status::LooksDifferent ||
            outcome.differentOutput.isEmpty())
            continue;
        run.documents[index] = outcome.differentOutput;
        outcome.status = FileResult::Status::Optimized;
        outcome.differentOutput.clear();
        taken.append({run.files.at(index).id, outcome});
    }
    // Off the window's thread: the ids of thousands of documents are made unique again.
    QFuture<QString> text =
        QtConcurrent::run([profile, run] { return TextOutputAssembler::assemble(profile, run); });
    whenFinished(text, this, [this, run, taken](const QString &text) {
        m_session->end();
        m_session->keepTextRun(run);
        for (const auto &[id, result] : taken)
            m_files->setResult(id, result);
        if (!taken.isEmpty())
            m_application->openTextOutput(text);
    });
}

SetupSheet *MainWindow::setupSheet() const {
    return m_setupSheet && m_setupSheet->isVisible() ? m_setupSheet.data() : nullptr;
}

bool MainWindow::isInspectorShown() const {
    return !m_inspector->isHidden();
}

void MainWindow::setInspectorShown(bool shown) {
    m_inspector->setVisible(shown);
}

void MainWindow::checkForSVGO() {
    // Off the UI thread: a slow shell profile must not hold up the window.
    SvgoResolver::prefill();
    whenFinished(SvgoResolver::start(), this, [this](const SvgoResolution &resolution) {
        SvgoResolver::remember(resolution);
        const bool found = resolution.works();
        if (!found && !setupSheet()) {
            if (!m_setupSheet) {
                m_setupSheet = new SetupSheet(this);
                // The sheet blocks this window's menus, but quitting must still work.
                m_setupSheet->addAction(m_application->quitAction());
            }
            // A path the user chose that stopped working is named, with why.
            m_setupSheet->setStoredProblem(resolution.storedCheck.verdict ==
                                                   SvgoCheck::Verdict::Empty
                                               ? QString()
                                               : resolution.storedCheck.problem());
            m_setupSheet->open();
        }
        emit svgoLookedUp(found);
    });
}

void MainWindow::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    // Spontaneous shows are the window system restoring a minimised window, not a new showing.
    // The lookup waits for the window to be drawn first.
    if (!event->spontaneous())
        QTimer::singleShot(0, this, &MainWindow::checkForSVGO);
}
