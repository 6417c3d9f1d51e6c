#include "ui/main/MainWindow.h"

// The window's toolbar and menu bar, and keeping their items' enabled state current.

#include "model/SVGFileList.h"
#include "platform/SymbolIcons.h"
#include "platform/Updater.h"
#include "ui/AppState.h"
#include "ui/main/AboutDialog.h"
#include "ui/main/ContactSheet.h"
#include "ui/main/FileTable.h"
#include "ui/main/Inspector.h"
#include "ui/main/PluginSavingsDialog.h"
#include "ui/main/WindowSession.h"
#include "ui/profiles/ProfileMenu.h"

#include <QFileInfo>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

void MainWindow::createToolBar() {
    QToolBar *toolBar = addToolBar(tr("Toolbar"));
    toolBar->setObjectName(QStringLiteral("mainToolBar"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar->toggleViewAction()->setVisible(false);

    m_openAction = toolBar->addAction(symbolIcon(QStringLiteral("plus")), tr("Open"));
    m_openAction->setToolTip(tr("Open"));
    connect(m_openAction, &QAction::triggered, this, &MainWindow::showOpenPanel);
    // The window's primary action carries its label next to the symbol.
    if (auto *button = qobject_cast<QToolButton *>(toolBar->widgetForAction(m_openAction)))
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    // The inspector's items sit at the far end, above the inspector itself.
    auto *spacer = new QWidget(toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolBar->addWidget(spacer);

    m_toggleInspectorAction =
        toolBar->addAction(symbolIcon(QStringLiteral("sidebar.right")), tr("Toggle Inspector"));
    m_toggleInspectorAction->setToolTip(tr("Toggle Inspector"));
    // Ctrl is the Command key on macOS, so this is the usual Option-Command-I there.
    m_toggleInspectorAction->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_I));
    connect(m_toggleInspectorAction, &QAction::triggered, this,
            [this] { setInspectorShown(!isInspectorShown()); });

    m_inspector->addToolbarItems(toolBar);
}

void MainWindow::createMenus() {
    QMenuBar *bar = menuBar();

    QMenu *file = bar->addMenu(tr("&File"));
    QAction *newWindow = file->addAction(tr("New Window"));
    newWindow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(newWindow, &QAction::triggered, m_application, &AppState::newMainWindow);
    file->addSeparator();
    QAction *open = file->addAction(tr("Open…"));
    open->setShortcut(QKeySequence::Open);
    connect(open, &QAction::triggered, m_application, &AppState::requestFileImport);
    file->addSeparator();
    QMenu *profile = new ProfileMenu(m_application, file);
    profile->setTitle(tr("Profile"));
    file->addMenu(profile);
#ifndef Q_OS_MACOS
    file->addSeparator();
    file->addAction(m_application->quitAction());
#endif

    QMenu *edit = bar->addMenu(tr("&Edit"));
    // The table handles the Delete key itself; a shortcut here would steal the key from text
    // fields in the inspector. The item only names the key.
    m_deleteAction = edit->addAction(tr("Delete"));
#ifndef Q_OS_MACOS
    // Shown in the menu but inert: no widget ever holds the action. The native macOS menu would
    // turn it into a key equivalent that fires everywhere, so it carries no shortcut there.
    m_deleteAction->setShortcut(QKeySequence::Delete);
    m_deleteAction->setShortcutContext(Qt::WidgetShortcut);
#endif
    connect(m_deleteAction, &QAction::triggered, this, [this] {
        if (focusWidget() == m_table)
            m_files->removeSelectedFiles();
    });
    connect(edit, &QMenu::aboutToShow, this, &MainWindow::updateDeleteAction);
    updateDeleteAction();
    // The selected rows, or every row when none is selected.
    m_restoreOriginalsAction = edit->addAction(tr("Restore Originals…"));
    connect(m_restoreOriginalsAction, &QAction::triggered, this, [this] {
        QStringList ids(m_files->selection().cbegin(), m_files->selection().cend());
        if (ids.isEmpty())
            for (const SVGFile &file : m_files->files())
                ids.append(file.id);
        restoreOriginals(ids);
    });
    edit->addSeparator();
    QAction *settings = edit->addAction(tr("Settings…"));
    settings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    settings->setMenuRole(QAction::PreferencesRole);
    connect(settings, &QAction::triggered, m_application, &AppState::openSettings);

    QMenu *view = bar->addMenu(tr("&View"));
    view->addAction(m_toggleInspectorAction);
    m_contactSheetAction = view->addAction(tr("Contact Sheet"));
    m_contactSheetAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K));
    connect(m_contactSheetAction, &QAction::triggered, this, [this] {
        // One sheet per window, kept while the window lives so its drawings are not lost.
        if (!m_contactSheet)
            m_contactSheet = new ContactSheet(m_files, m_session, this);
        m_contactSheet->show();
        m_contactSheet->raise();
        m_contactSheet->activateWindow();
    });
    // For the one selected file; the table's context menu offers it for the row clicked.
    QAction *whySmaller = view->addAction(tr("Why Smaller?"));
    whySmaller->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Y));
    const auto showWhySmaller = [this](const QString &id) {
        PluginSavingsDialog::showFor(id, m_application->profile(), this);
    };
    connect(whySmaller, &QAction::triggered, this, [this, showWhySmaller] {
        if (m_files->selection().size() == 1 && QFileInfo(*m_files->selection().cbegin()).isFile())
            showWhySmaller(*m_files->selection().cbegin());
    });
    const auto updateWhySmaller = [this, whySmaller] {
        whySmaller->setEnabled(m_files->selection().size() == 1);
    };
    connect(m_files, &SVGFileList::selectionChanged, whySmaller, updateWhySmaller);
    updateWhySmaller();
    connect(m_table, &FileTable::whySmallerRequested, this, showWhySmaller);

    QMenu *help = bar->addMenu(tr("&Help"));
    m_checkForUpdatesAction = help->addAction(tr("Check for Updates…"));
    // On macOS this moves into the application menu, next to Settings.
    m_checkForUpdatesAction->setMenuRole(QAction::ApplicationSpecificRole);
    Updater *updater = m_application->updater();
    m_checkForUpdatesAction->setEnabled(updater && updater->canCheckForUpdates());
    if (updater) {
        connect(updater, &Updater::canCheckForUpdatesChanged, m_checkForUpdatesAction,
                &QAction::setEnabled);
        connect(m_checkForUpdatesAction, &QAction::triggered, updater, &Updater::checkForUpdates);
    }
    m_aboutAction = help->addAction(tr("About Mirandel"));
    m_aboutAction->setMenuRole(QAction::AboutRole);
    connect(m_aboutAction, &QAction::triggered, this, [this] {
        auto *about = new AboutDialog(this);
        about->setAttribute(Qt::WA_DeleteOnClose);
        about->open();
    });
}

void MainWindow::updateRestoreAction() {
    const bool allowed = !m_session->isBusy();
    m_restoreOriginalsAction->setEnabled(allowed);
    m_table->setActionsAllowed(allowed);
}

void MainWindow::updateDeleteAction() {
    // focusWidget() is this window's own focus child, which stays put while a menu is open.
    m_deleteAction->setEnabled(focusWidget() == m_table && !m_files->selection().isEmpty());
}
