// "Why Smaller?" from a main window: the file table's context menu opens the window for the row
// clicked, which lists the real svgo's plugins and marks the one that changed the drawing.

#define QTEST_QPA_MOUSE_HANDLING
#include "model/SVGFileList.h"
#include "model/Settings.h"
#include "ui/AppState.h"
#include "ui/Application.h"
#include "ui/UiTestSupport.h"
#include "ui/main/FileTable.h"
#include "ui/main/MainWindow.h"
#include "ui/main/PluginSavingsDialog.h"

#include <QLabel>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

class tst_PluginSavingsDialog : public QObject {
    Q_OBJECT
    QTemporaryDir m_home;
    std::unique_ptr<Application> m_application;

    QPoint rowCentre(FileTable *table, int row) const {
        return table->visualRect(table->model()->index(row, 0)).center();
    }

private slots:
    void initTestCase() {
        useSettingsIn(m_home.path(), "tst_pluginsavingsdialog");
        const QString bin = m_home.filePath(QStringLiteral("bin"));
        useLoginShellHome(m_home.path(), bin);
        writeScript(bin + QStringLiteral("/svgo"), "exit 0\n");
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        m_application = std::make_unique<Application>();
        Keys::svgoExecutablePath().set(QStringLiteral(MIRANDEL_SVGO));
    }
    void cleanupTestCase() { m_application.reset(); }

    void contextMenuShowsThePlugins() {
        QPointer<MainWindow> window = m_application->newMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QString icon = m_home.filePath(QStringLiteral("icon.svg"));
        const QString other = m_home.filePath(QStringLiteral("other.svg"));
        for (const QString &copy : {icon, other})
            QVERIFY(QFile::copy(QStringLiteral(MIRANDEL_SOURCE_DIR "/tests/data/icon.svg"), copy));
        window->files()->addFile(QUrl::fromLocalFile(icon));
        window->files()->addFile(QUrl::fromLocalFile(other));
        QTRY_COMPARE(window->fileTable()->model()->rowCount(), 2);
        // Integers only: the icon's small circle vanishes when its numbers are rounded.
        Profile profile = Profile::builtInDefault();
        profile.svgoConfigFile = QUrl::fromLocalFile(
            QStringLiteral(MIRANDEL_SOURCE_DIR "/tests/data/precision0.config.mjs"));
        m_application->state()->setProfile(profile);

        FileTable *table = window->fileTable();
        const int row = window->files()->files().at(0).id == icon ? 0 : 1;
        // Two files selected: the question is about one file, so the menu does not offer it.
        table->selectAll();
        QTest::mouseClick(table->viewport(), Qt::RightButton, {}, rowCentre(table, row));
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QVERIFY(!findAction(menu, QStringLiteral("Why Smaller?")));
        menu->close();

        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rowCentre(table, row));
        QVERIFY(chooseFromContextMenu(table->viewport(), rowCentre(table, row),
                                      QStringLiteral("Why Smaller?")));
        PluginSavingsDialog *dialog = window->findChild<PluginSavingsDialog *>();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        QCOMPARE(dialog->file(), icon);
        QTRY_VERIFY_WITH_TIMEOUT(dialog->savings()->stage() == PluginSavings::Stage::Done, 120000);
        QVERIFY2(dialog->savings()->result().error.isEmpty(),
                 qPrintable(dialog->statusLabel()->text()));

        QTreeWidget *rows = dialog->table();
        QVERIFY(rows->topLevelItemCount() > 3);
        QStringList changers;
        for (int index = 0; index < rows->topLevelItemCount(); ++index) {
            const QTreeWidgetItem *item = rows->topLevelItem(index);
            QVERIFY(item->text(PluginSavingsDialog::Saved).contains(QLatin1String("byte")));
            if (!item->text(PluginSavingsDialog::ChangedDrawing).isEmpty())
                changers.append(item->text(PluginSavingsDialog::Plugin));
        }
        QVERIFY2(changers.contains(QStringLiteral("cleanupNumericValues")),
                 qPrintable(changers.join(u',')));
        QVERIFY(dialog->statusLabel()->text().contains(QLatin1String("in all")));

        // The View menu's command, for the one file selected, brings the same window forward.
        QPointer<PluginSavingsDialog> shown = dialog;
        QMenu *view = nullptr;
        for (QAction *action : window->menuBar()->actions())
            if (shownText(action->text()) == QLatin1String("View"))
                view = action->menu();
        QVERIFY(view);
        QAction *command = findAction(view, QStringLiteral("Why Smaller?"));
        QVERIFY(command && command->isEnabled());
        command->trigger();
        QCOMPARE(window->findChildren<PluginSavingsDialog *>().size(), 1);

        // Esc closes the window, which goes away with its run.
        dialog->activateWindow();
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(!shown);
        delete window;
    }
};

QTEST_MAIN(tst_PluginSavingsDialog)
#include "tst_pluginsavingsdialog.moc"
