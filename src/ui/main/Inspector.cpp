#include "ui/main/Inspector.h"

#include "engine/Optimizer.h"
#include "engine/SvgoOutputs.h"
#include "model/FileResults.h"
#include "model/ProfileStore.h"
#include "model/SVGFileList.h"
#include "model/Settings.h"
#include "ui/AppState.h"
#include "ui/components/AsyncButton.h"
#include "ui/components/WhenFinished.h"
#include "ui/main/AuditPanel.h"
#include "ui/main/OptimizeBar.h"
#include "ui/main/RunProgress.h"
#include "ui/main/SvgPreview.h"
#include "ui/main/WindowSession.h"
#include "ui/profiles/ProfileEditor.h"
#include "ui/profiles/ProfileMenu.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMessageBox>
#include <QPromise>
#include <QPushButton>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

Inspector::Inspector(AppState *application, SVGFileList *files, WindowSession *session,
                     QWidget *parent)
    : QWidget(parent), m_application(application), m_files(files), m_session(session),
      m_editor(new ProfileEditor(application, false, true, this)),
      m_menu(new ProfileMenu(application, this)), m_preview(new SvgPreview(this)),
      m_audit(new AuditPanel(files, session, this)), m_bar(new OptimizeBar(this)) {
    setObjectName(QStringLiteral("inspector"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_editor, 1);
    layout->addWidget(m_preview);
    layout->addWidget(m_audit);
    layout->addWidget(m_bar);

    m_editor->setProfile(application->profile());
    m_audit->setProfile(application->profile());
    // A fix of the audit is an edit of the current profile, as if made in the editor.
    connect(m_audit, &AuditPanel::fixRequested, this,
            [application](const std::function<void(Profile &)> &change) {
                Profile profile = application->profile();
                change(profile);
                application->setProfile(profile);
            });
    connect(m_editor, &ProfileEditor::profileEdited, application, &AppState::setProfile);
    connect(application, &AppState::profileChanged, this, &Inspector::profileChanged);
    connect(application, &AppState::profileEditedChanged, this, &Inspector::updateProfileTitle);

    AsyncButton *button = m_bar->button();
    button->setAction([this] { return optimize(); });
    // Disabling while busy is done here together with the rule, so neither undoes the other.
    connect(button, &AsyncButton::loadingChanged, this, &Inspector::updateOptimizeEnabled);
    connect(session, &WindowSession::busyChanged, this, &Inspector::busyChanged);
    for (auto signal :
         {&SVGFileList::rowsAdded, &SVGFileList::rowsRemoved, &SVGFileList::resetDone})
        connect(files, signal, this, &Inspector::updateOptimizeEnabled);
    updateOptimizeEnabled();

    connect(this, &Inspector::runStarted, m_bar->progress(),
            [this](const QFuture<OptimizationResult> &run) {
                m_bar->progress()->track(QFuture<void>(run));
            });
    connect(files, &SVGFileList::selectionChanged, this, &Inspector::updatePreview);
    // The preview's button acts on the file it shows, the one selected row.
    connect(m_preview, &SvgPreview::useOptimizedAnywayRequested, this, [this] {
        if (m_files->selection().size() == 1 && !m_session->isBusy())
            emit useOptimizedRequested({*m_files->selection().cbegin()});
    });
    m_preview->setActionsAllowed(!session->isBusy());
    connect(files, &SVGFileList::resultsChanged, this, &Inspector::updatePreview);

    // Return is the window's default action wherever the focus is (the file table included),
    // as long as this pane is on screen.
    for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, button, &QAbstractButton::click);
    }
}

AsyncButton *Inspector::optimizeButton() const {
    return m_bar->button();
}

RunProgress *Inspector::runProgress() const {
    return m_bar->progress();
}

void Inspector::updatePreview() {
    const QSet<QString> &selection = m_files->selection();
    if (selection.size() != 1) {
        m_preview->clear();
        return;
    }
    const QString id = *selection.cbegin();
    // What the row's tooltip says, visible: why a file failed or was kept, and for one the
    // searches changed, both savings and the precision it got.
    const FileResult *result = m_files->result(id);
    const QString message = result ? FileResults::toolTip(*result) : QString();
    if (result && !result->differentOutput.isEmpty()) {
        m_preview->showLooksDifferent(id, *result);
        return;
    }
    const auto [original, optimized] = m_session->shownFiles(id, result);
    m_preview->showFiles(original, optimized, message);
}

void Inspector::addToolbarItems(QToolBar *toolBar) {
    auto *button = new QToolButton(toolBar);
    button->setObjectName(QStringLiteral("profileMenuButton"));
    button->setMenu(m_menu);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_profileButton = button;
    toolBar->addWidget(button);
    updateProfileTitle();
}

QString Inspector::profileMenuTitle() const {
    const QString name = m_application->profile().name;
    return m_application->profileEdited() ? name + QLatin1Char('*') : name;
}

bool Inspector::canOptimize(const QList<SVGFile> &files, const Profile &profile) {
    if (files.isEmpty())
        return false;
    return profile.mode == OperationMode::Text || profile.overwrite ||
           profile.outputFolder.has_value();
}

void Inspector::profileChanged(const Profile &profile) {
    m_editor->setProfile(profile);
    m_audit->setProfile(profile);
    // Whether the profile still equals the stored one it came from. A profile whose source is
    // gone keeps the flag it had.
    if (const std::optional<Profile> source = ProfileStore::find(profile.id))
        m_application->setProfileEdited(profile != *source);
    updateProfileTitle();
    updateOptimizeEnabled();
}

void Inspector::busyChanged(bool busy) {
    // The form shows what the run uses; changing it meanwhile would only mislead.
    m_editor->setEnabled(!busy);
    if (m_profileButton)
        m_profileButton->setEnabled(!busy);
    m_preview->setActionsAllowed(!busy);
    updateOptimizeEnabled();
}

void Inspector::updateOptimizeEnabled() {
    AsyncButton *button = m_bar->button();
    button->setEnabled(!button->isLoading() && !m_session->isBusy() &&
                       canOptimize(m_files->files(), m_application->profile()));
}

void Inspector::updateProfileTitle() {
    if (m_profileButton)
        m_profileButton->setText(ProfileMenu::menuText(profileMenuTitle()));
}

QFuture<void> Inspector::optimize() {
    if (m_session->isBusy())
        return QtFuture::makeReadyFuture();
    const Profile profile = m_application->profile();
    // Files already in the output folder are the user's own until this run replaces them, so
    // the run asks first; once a run of this window wrote into that folder, its files are
    // expected there and the next run goes ahead.
    const std::optional<WindowSession::LastRun> &last = m_session->lastRun();
    if (profile.mode != OperationMode::File || !profile.outputFolder ||
        (last && last->profile.outputFolder == profile.outputFolder))
        return startRun(profile);
    const QString folder = profile.outputFolder->toLocalFile();
    QStringList inputs;
    for (const SVGFile &file : m_files->files())
        inputs.append(file.id);
    const QStringList taken = SvgoOutputs::takenInFolder(folder, inputs);
    if (taken.isEmpty())
        return startRun(profile);

    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    auto *box = new QMessageBox(
        QMessageBox::Question, tr("Replace Files?"),
        tr("%n file(s) in “%1” will be replaced by the optimized ones.", nullptr, int(taken.size()))
            .arg(QDir::toNativeSeparators(folder)),
        QMessageBox::Cancel, window());
    QStringList shown = taken.mid(0, 10);
    for (QString &path : shown)
        path = QDir::toNativeSeparators(path);
    box->setInformativeText(shown.join(QLatin1Char('\n')) +
                            (taken.size() > shown.size() ? QStringLiteral("\n…") : QString()));
    QPushButton *replace = box->addButton(tr("Replace"), QMessageBox::DestructiveRole);
    box->setDefaultButton(QMessageBox::Cancel);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    connect(box, &QMessageBox::finished, this, [this, box, replace, promise, profile] {
        if (box->clickedButton() != replace) {
            promise->finish();
            return;
        }
        whenFinished(startRun(profile), this, [promise] { promise->finish(); });
    });
    box->open();
    return promise->future();
}

QFuture<void> Inspector::startRun(const Profile &profile) {
    if (!m_session->begin(WindowSession::Work::Optimizing))
        return QtFuture::makeReadyFuture();
    const QList<SVGFile> files = m_files->files();
    // The outcomes and the text come back on the run's worker thread, through onFinished, which
    // covers both ends of a run (a cancelled future drops its result). The application object
    // outlives every window, so a run whose window was closed meanwhile still shows its output;
    // a text run in which every file failed opens no empty window, its failures are in the table
    // (documents kept as they were because svgo damaged them are in the text).
    QPointer<AppState> application = m_application;
    QPointer<WindowSession> session = m_session;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    OptimizerOptions options;
    // Compressed sizes cost time (brotli's best quality most): measured only while the table
    // has a column to show them in.
    options.compressedSizes = !Keys::shownCompressedColumns().get().isEmpty();
    options.onFinished = [application, session, profile, clock](const OptimizationResult &result) {
        const qint64 elapsed = clock->elapsed();
        QMetaObject::invokeMethod(
            qApp,
            [application, session, profile, result, elapsed] {
                if (application && profile.mode == OperationMode::Text && !result.cancelled &&
                    result.count(FileResult::Status::Optimized) +
                            result.count(FileResult::Status::LooksDifferent) >
                        0)
                    application->openTextOutput(result.text);
                if (session)
                    session->finishRun(profile, elapsed, result);
            },
            Qt::QueuedConnection);
    };
    options.onFilesFinished = [session,
                               files](const QList<std::pair<qsizetype, FileResult>> &done) {
        QList<std::pair<QString, FileResult>> results;
        results.reserve(done.size());
        for (const auto &[index, result] : done)
            results.append({files.at(index).id, result});
        QMetaObject::invokeMethod(
            qApp,
            [session, results] {
                if (session)
                    session->takeFileResults(results);
            },
            Qt::QueuedConnection);
    };
    QFuture<OptimizationResult> run = Optimizer::shared().optimize(files, profile, {}, options);
    m_session->setRun(run);
    emit runStarted(run);
    return run.then([](const OptimizationResult &) {});
}
