#pragma once

#include "engine/OptimizationResult.h"
#include "model/Profile.h"

#include <QFuture>
#include <QPointer>
#include <QToolButton>
#include <QWidget>

class AppState;
class AsyncButton;
class OptimizeBar;
class ProfileEditor;
class ProfileMenu;
class QToolBar;
class SVGFileList;
class RunProgress;
class SvgPreview;
struct SVGFile;

// The right-hand pane of a main window: the editor of the current profile (shared by every main
// window through the application object) and, at its foot, the button that optimizes the
// window's files with it. It also keeps the application's "edited" flag up to date.
class Inspector : public QWidget {
    Q_OBJECT
public:
    Inspector(AppState *application, SVGFileList *files, QWidget *parent = nullptr);

    // Adds the menu button that picks and saves profiles; its title is the current profile's
    // name, with an asterisk while that profile has unsaved changes.
    void addToolbarItems(QToolBar *toolBar);

    ProfileEditor *profileEditor() const { return m_editor; }
    ProfileMenu *profileMenu() const { return m_menu; }
    AsyncButton *optimizeButton() const;
    RunProgress *runProgress() const;
    SvgPreview *preview() const { return m_preview; }
    QToolButton *profileButton() const { return m_profileButton; }
    QString profileMenuTitle() const;

    // The profile of the last run that ended, and how long that run took.
    const std::optional<Profile> &lastRunProfile() const { return m_lastRunProfile; }
    qint64 lastRunMilliseconds() const { return m_lastRunMs; }
    // While originals are being restored no run may start.
    void setRestoring(bool restoring);
    bool isRunning() const;

    // Whether a run may start: there must be files, and in file mode they need somewhere to go.
    static bool canOptimize(const QList<SVGFile> &files, const Profile &profile);

signals:
    // A run began; the future reports per-file progress and outcomes.
    void runStarted(const QFuture<OptimizationResult> &future);
    // Optimize became available or unavailable as busy (running or restoring).
    void busyChanged(bool busy);
    // A run ended, completely or cancelled, with an outcome for every file it was given.
    void runFinished(const OptimizationResult &result);

public slots:
    // Shows the selected file in the preview when exactly one row is selected.
    void updatePreview();

private:
    QFuture<void> optimize();
    void profileChanged(const Profile &profile);
    void updateOptimizeEnabled();
    void updateProfileTitle();

    AppState *m_application;
    SVGFileList *m_files;
    ProfileEditor *m_editor;
    ProfileMenu *m_menu;
    SvgPreview *m_preview;
    OptimizeBar *m_bar;
    std::optional<Profile> m_lastRunProfile; // where the last run put its outputs
    qint64 m_lastRunMs = 0;
    bool m_restoring = false;
    QPointer<QToolButton> m_profileButton;
};
