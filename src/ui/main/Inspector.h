#pragma once

#include "engine/OptimizationResult.h"
#include "model/Profile.h"

#include <QFuture>
#include <QPointer>
#include <QToolButton>
#include <QWidget>

class AppState;
class AsyncButton;
class AuditPanel;
class OptimizeBar;
class ProfileEditor;
class ProfileMenu;
class QToolBar;
class SVGFileList;
class RunProgress;
class SvgPreview;
class WindowSession;
struct SVGFile;

// The right-hand pane of a main window: the editor of the current profile (shared by every main
// window through the application object) and, at its foot, the button that optimizes the
// window's files with it. It also keeps the application's "edited" flag up to date.
class Inspector : public QWidget {
    Q_OBJECT
public:
    Inspector(AppState *application, SVGFileList *files, WindowSession *session,
              QWidget *parent = nullptr);

    // Adds the menu button that picks and saves profiles; its title is the current profile's
    // name, with an asterisk while that profile has unsaved changes.
    void addToolbarItems(QToolBar *toolBar);

    ProfileEditor *profileEditor() const { return m_editor; }
    ProfileMenu *profileMenu() const { return m_menu; }
    AsyncButton *optimizeButton() const;
    RunProgress *runProgress() const;
    SvgPreview *preview() const { return m_preview; }
    AuditPanel *auditPanel() const { return m_audit; }
    QToolButton *profileButton() const { return m_profileButton; }
    QString profileMenuTitle() const;

    // Whether a run may start: there must be files, and in file mode they need somewhere to go.
    static bool canOptimize(const QList<SVGFile> &files, const Profile &profile);

signals:
    // A run began; the future reports per-file progress and outcomes.
    void runStarted(const QFuture<OptimizationResult> &future);
    // The preview's "Use Optimized Anyway" was pressed for these files (the one shown).
    void useOptimizedRequested(const QStringList &ids);

public slots:
    // Shows the selected file in the preview when exactly one row is selected.
    void updatePreview();

private:
    QFuture<void> optimize();
    QFuture<void> startRun(const Profile &profile);
    void profileChanged(const Profile &profile);
    void updateOptimizeEnabled();
    void updateProfileTitle();
    void busyChanged(bool busy);

    AppState *m_application;
    SVGFileList *m_files;
    WindowSession *m_session;
    ProfileEditor *m_editor;
    ProfileMenu *m_menu;
    SvgPreview *m_preview;
    AuditPanel *m_audit;
    OptimizeBar *m_bar;
    QPointer<QToolButton> m_profileButton;
};
