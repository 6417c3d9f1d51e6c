#pragma once

#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>

#include "ui/main/ContactSheet.h"
#include "ui/main/RestoreOriginals.h"

class AppState;
class FileTable;
class Inspector;
class ListActions;
class QAction;
class ResultsSummary;
struct OptimizationResult;

class QSplitter;
class SVGFileList;
class SetupSheet;
class WindowSession;

// One window with its own list of SVG files: the table with its action bar on the left, the
// inspector on the right, and the menus. Everything else (the profile being edited, the command
// signals, the settings tab) it shares with the other main windows through the application.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(AppState *application, QWidget *parent = nullptr);
    ~MainWindow() override;

    SVGFileList *files() const { return m_files; }
    // What the window is doing with its files, and what its last run was.
    WindowSession *session() const { return m_session; }
    FileTable *fileTable() const { return m_table; }
    ListActions *listActions() const { return m_listActions; }
    Inspector *inspector() const { return m_inspector; }
    QSplitter *splitter() const { return m_splitter; }

    QAction *openAction() const { return m_openAction; }
    QAction *toggleInspectorAction() const { return m_toggleInspectorAction; }
    QAction *deleteAction() const { return m_deleteAction; }
    QAction *checkForUpdatesAction() const { return m_checkForUpdatesAction; }
    QAction *restoreOriginalsAction() const { return m_restoreOriginalsAction; }
    QAction *aboutAction() const { return m_aboutAction; }
    // View > Contact Sheet, and the window it opens (null until first opened).
    QAction *contactSheetAction() const { return m_contactSheetAction; }
    ContactSheet *contactSheet() const { return m_contactSheet; }
    // The restore of originals under way, else null.
    RestoreOriginals *restoreFlow() const { return m_restoreFlow; }
    ResultsSummary *resultsSummary() const { return m_summary; }
    // The question "Stop the optimization and close the window?" while it is shown, else null.
    QMessageBox *closeQuestion() const { return m_closeQuestion; }
    // Keeps the window's size and the table's columns for the next window.
    void saveLayout() const;

    // The open panel while it is shown, else null.
    QFileDialog *openPanel() const { return m_openPanel; }
    // The setup sheet while it is shown, else null.
    SetupSheet *setupSheet() const;

    // Sizes the window to `wanted` within the free area of the screen and places it there: a
    // little down and to the right of `after`, or centred when there is none.
    void placeOnScreen(QSize wanted, const QWidget *after);

    bool isInspectorShown() const;
    void setInspectorShown(bool shown);

public slots:
    // Shows the open panel for SVG files and folders; its choice is added to this window's list.
    void showOpenPanel();
    // Looks for a working svgo (stored, login shell, shipped) on a worker thread, stores the one
    // found when none is stored, and presents the setup sheet when none works. Runs by itself
    // every time the window is shown.
    void checkForSVGO();
    // Puts back the originals of the given files (after asking) in the background, then
    // refreshes their rows. Does nothing while a run or another restore is busy.
    void restoreOriginals(const QStringList &ids);
    void useOptimizedAnyway(const QStringList &ids);

signals:
    // A lookup of checkForSVGO() has ended.
    void svgoLookedUp(bool found);
    // A restore of originals has ended.
    void restoreFinished();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // A window-modal warning that does not block the caller.
    void warn(const QString &title, const QString &message);
    void createToolBar();
    void createMenus();
    void updateDeleteAction();
    void updateRestoreAction();
    void takeResults(const OptimizationResult &result);
    // Text mode's "Use Optimized Anyway": svgo's output takes the place of the originals and
    // the text is put together again and shown.
    void putIntoText(const QStringList &ids);
    void askToStopAndClose();

    AppState *m_application;
    WindowSession *m_session;
    SVGFileList *m_files;
    FileTable *m_table;
    ListActions *m_listActions;
    Inspector *m_inspector;
    QSplitter *m_splitter;
    QAction *m_openAction = nullptr;
    QAction *m_toggleInspectorAction = nullptr;
    QAction *m_deleteAction = nullptr;
    QAction *m_checkForUpdatesAction = nullptr;
    QAction *m_restoreOriginalsAction = nullptr;
    QAction *m_aboutAction = nullptr;
    QAction *m_contactSheetAction = nullptr;
    QPointer<ContactSheet> m_contactSheet;
    QPointer<RestoreOriginals> m_restoreFlow;
    QPointer<QMessageBox> m_closeQuestion;
    bool m_closeAgreed = false;
    ResultsSummary *m_summary = nullptr;
    QPointer<QFileDialog> m_openPanel;
    QPointer<SetupSheet> m_setupSheet;
};
