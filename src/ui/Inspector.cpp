#include "ui/Inspector.h"

#include "engine/Optimizer.h"
#include "engine/OriginalsBackup.h"
#include "model/SVGFileList.h"
#include "model/Settings.h"
#include "ui/Application.h"
#include "ui/OptimizeBar.h"
#include "ui/ProfileEditor.h"
#include "ui/ProfileMenu.h"
#include "ui/RunProgress.h"
#include "ui/SvgPreview.h"
#include "ui/components/AsyncButton.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

Inspector::Inspector(Application *application, SVGFileList *files, QWidget *parent)
    : QWidget(parent), m_application(application), m_files(files),
      m_editor(new ProfileEditor(application, false, true, this)),
      m_menu(new ProfileMenu(application, this)), m_preview(new SvgPreview(this)),
      m_bar(new OptimizeBar(this)) {
    setObjectName(QStringLiteral("inspector"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_editor, 1);
    layout->addWidget(m_preview);
    layout->addWidget(m_bar);

    m_editor->setProfile(application->profile());
    connect(m_editor, &ProfileEditor::profileEdited, application, &Application::setProfile);
    connect(application, &Application::profileChanged, this, &Inspector::profileChanged);
    connect(application, &Application::profileEditedChanged, this, &Inspector::updateProfileTitle);

    AsyncButton *button = m_bar->button();
    button->setAction([this] { return optimize(); });
    // Disabling while busy is done here together with the rule, so neither undoes the other.
    connect(button, &AsyncButton::loadingChanged, this, &Inspector::updateOptimizeEnabled);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(files, signal, this, &Inspector::updateOptimizeEnabled);
    connect(files, &QAbstractItemModel::modelReset, this, &Inspector::updateOptimizeEnabled);
    updateOptimizeEnabled();

    connect(this, &Inspector::runStarted, m_bar->progress(), &RunProgress::track);
    connect(files, &SVGFileList::selectionChanged, this, &Inspector::updatePreview);
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
    QString original = id;
    QString optimized;
    QString message;
    const FileResult *result = m_files->result(id);
    if (result && result->status == FileResult::Status::Failed)
        message = result->message;
    // The optimized version exists as a file only in file mode: over the input, whose original
    // is then the kept copy, or in the output folder.
    if (result && result->status == FileResult::Status::Optimized && m_lastRunProfile &&
        m_lastRunProfile->mode == OperationMode::File) {
        if (m_lastRunProfile->overwrite || !m_lastRunProfile->outputFolder) {
            const QList<OriginalsBackup::Original> kept =
                OriginalsBackup::originals({id}, OriginalsBackup::root(), false);
            if (!kept.isEmpty()) {
                original = kept.first().copy;
                optimized = id;
            }
        } else {
            optimized = QDir(m_lastRunProfile->outputFolder->toLocalFile())
                            .filePath(QFileInfo(id).fileName());
        }
    }
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
    // Whether the profile still equals the stored one it came from. A profile whose source is
    // gone keeps the flag it had.
    if (profile.isDefault()) {
        m_application->setProfileEdited(profile != Keys::defaultProfile().get());
    } else {
        const QList<Profile> profiles = Keys::profiles().get();
        const auto source = std::find_if(profiles.begin(), profiles.end(),
                                         [&](const Profile &p) { return p.id == profile.id; });
        if (source != profiles.end())
            m_application->setProfileEdited(profile != *source);
    }
    updateProfileTitle();
    updateOptimizeEnabled();
}

void Inspector::updateOptimizeEnabled() {
    AsyncButton *button = m_bar->button();
    button->setEnabled(!button->isLoading() &&
                       canOptimize(m_files->files(), m_application->profile()));
}

void Inspector::updateProfileTitle() {
    if (m_profileButton)
        m_profileButton->setText(profileMenuTitle());
}

QFuture<void> Inspector::optimize() {
    const QList<SVGFile> files = m_files->files();
    const Profile profile = m_application->profile();
    Application *application = m_application;
    // The handler runs on the run's worker thread; the window must be opened on the UI thread.
    // The application object outlives every window, so a run whose window was closed meanwhile
    // still shows its output.
    auto onText = [application](const QString &text) {
        QMetaObject::invokeMethod(
            application, [application, text] { application->openTextOutput(text); },
            Qt::QueuedConnection);
    };
    // A cancelled future drops its result, so the outcomes come back through onFinished, which
    // covers both ends of a run. The window may be gone by then.
    OptimizerOptions options;
    QPointer<Inspector> self = this;
    options.onFinished = [self, profile](const OptimizationResult &result) {
        QMetaObject::invokeMethod(
            qApp,
            [self, profile, result] {
                if (!self)
                    return;
                self->m_lastRunProfile = profile;
                emit self->runFinished(result);
            },
            Qt::QueuedConnection);
    };
    QFuture<OptimizationResult> run = Optimizer::shared().optimize(files, profile, onText, options);
    emit runStarted(run);
    return run.then([](const OptimizationResult &) {});
}
