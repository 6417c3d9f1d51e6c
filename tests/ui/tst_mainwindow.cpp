// Mouse clicks go through the window system, which follows a right press with a context menu.
#define QTEST_QPA_MOUSE_HANDLING

#include "engine/SvgoResolver.h"
#include "model/SVGFileList.h"
#include "model/SVGFileTableModel.h"
#include "model/Settings.h"
#include "ui/AppState.h"
#include "ui/Application.h"
#include "ui/UiTestSupport.h"
#include "ui/components/AsyncButton.h"
#include "ui/components/ListActions.h"
#include "ui/main/FileTable.h"
#include "ui/main/Inspector.h"
#include "ui/main/MainWindow.h"
#include "ui/main/SetupSheet.h"
#include "ui/main/WindowSession.h"
#include "ui/settings/SettingsWindow.h"

namespace {

QStringList fileNames(const SVGFileList *files) {
    QStringList names;
    for (const SVGFile &file : files->files())
        names.append(file.fileName);
    return names;
}

} // namespace

// The main window against the real login shell (a temporary home whose .zprofile sets PATH),
// real files and real settings in a temporary folder.
class TestMainWindow : public QObject {
    Q_OBJECT
    QTemporaryDir home;
    QTemporaryDir files;
    std::unique_ptr<Application> application;
    QPointer<MainWindow> window;

    QString binWith() const { return home.filePath(QStringLiteral("with-svgo")); }
    QString binWithout() const { return home.filePath(QStringLiteral("without-svgo")); }

    void setShellPath(const QString &bin) { useLoginShellHome(home.path(), bin); }

    QString svg(const QString &name) const { return files.filePath(name); }

    void addFiles(const QStringList &names) {
        for (const QString &name : names)
            window->files()->addFile(QUrl::fromLocalFile(svg(name)));
    }

    // Enter, move and drop at `pos` of `widget`, delivered like the window system does: to the
    // deepest widget there, or the nearest ancestor of it that accepts drops.
    static bool drop(QWidget *widget, QPoint pos, const QMimeData *data, Qt::DropAction action) {
        QWidget *target = widget->childAt(pos) ? widget->childAt(pos) : widget;
        pos = target->mapFrom(widget, pos);
        while (!target->acceptDrops() && !target->isWindow()) {
            pos = target->mapToParent(pos);
            target = target->parentWidget();
        }
        QDragEnterEvent enter(pos, action, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDragMoveEvent move(pos, action, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        if (!move.isAccepted())
            return false;
        QDropEvent dropEvent(pos, action, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropEvent);
        return dropEvent.isAccepted();
    }

private slots:
    // One writer at a time on a window's files: whatever runs, nothing else starts until it ends.
    void sessionStartsOneWorkAtATime_data() {
        using Work = WindowSession::Work;
        QTest::addColumn<Work>("running");
        QTest::addColumn<Work>("asked");
        QTest::newRow("held-back write during a run") << Work::WritingHeldBack << Work::Optimizing;
        QTest::newRow("run during a restore") << Work::Restoring << Work::Optimizing;
        QTest::newRow("restore during a run") << Work::Optimizing << Work::Restoring;
        QTest::newRow("held-back write during a restore")
            << Work::Restoring << Work::WritingHeldBack;
        QTest::newRow("second run") << Work::Optimizing << Work::Optimizing;
    }
    void sessionStartsOneWorkAtATime() {
        QFETCH(WindowSession::Work, running);
        QFETCH(WindowSession::Work, asked);
        WindowSession session;
        QSignalSpy busy(&session, &WindowSession::busyChanged);
        QVERIFY(session.begin(running));
        QVERIFY(!session.begin(asked));
        QCOMPARE(session.work(), running);
        session.end();
        QVERIFY(session.begin(asked));
        QCOMPARE(busy.size(), 3); // busy, idle, busy: the refused start said nothing
    }

    // The last run is kept with whether it replaced inputs, which the summary and the preview
    // read; a run that ends frees the window for the next.
    void sessionKeepsTheLastRun_data() {
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<int>("optimized");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("over the inputs") << true << 1 << true;
        QTest::newRow("over the inputs, none smaller") << true << 0 << false;
        QTest::newRow("into a folder") << false << 1 << false;
    }
    void sessionKeepsTheLastRun() {
        QFETCH(bool, overwrite);
        QFETCH(int, optimized);
        QFETCH(bool, replaced);
        WindowSession session;
        QVERIFY(session.begin(WindowSession::Work::Optimizing));
        Profile profile = Profile::builtInDefault();
        profile.overwrite = overwrite;
        if (!overwrite)
            profile.outputFolder = QUrl::fromLocalFile(QDir::tempPath());
        OptimizationResult result;
        result.outcomes.append(FileResult());
        result.outcomes.first().status =
            optimized ? FileResult::Status::Optimized : FileResult::Status::Failed;
        session.finishRun(profile, 1234, result);
        QVERIFY(!session.isBusy());
        QVERIFY(session.lastRun());
        QCOMPARE(session.lastRun()->replacedInputs, replaced);
    }

    void initTestCase() {
        useSettingsIn(home.path(), "tst_mainwindow");
        setShellPath(binWith());
        writeScript(binWith() + QStringLiteral("/svgo"), fakeSvgo);
        // Only the login shell decides here: no shipped svgo to fall back on.
        SvgoResolver::setShippedSvgo(QString());

        for (const QString name :
             {"a.svg", "b.svg", "c.svg", "d.svg", "folder/b.svg", "folder/a.svg",
              "folder/notes.txt", "folder/.hidden.svg", "folder/sub/c.svg", "folder/.dot/e.svg"})
            writeFile(svg(name), name.endsWith(".txt")
                                     ? "plain words\n"
                                     : "<svg xmlns=\"http://www.w3.org/2000/svg\"/>");
        application = std::make_unique<Application>();
    }

    void init() {
        setShellPath(binWith());
        window = application->newMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }

    void cleanup() { delete window; }

    void cleanupTestCase() { application.reset(); }

    // The window fits the screen, and a second window steps aside. (What size a window comes
    // back at is the last test's.)
    void windowFitsTheScreen() {
        const QRect screen = window->screen()->availableGeometry();
        QVERIFY2(screen.contains(window->frameGeometry()), "window larger than the screen");
        std::unique_ptr<MainWindow> second(application->newMainWindow());
        QVERIFY(QTest::qWaitForWindowExposed(second.get()));
        QVERIFY(second->pos() != window->pos());
    }

    void tabLeavesTheTable() {
        addFiles({"a.svg"});
        QApplication::setActiveWindow(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
        window->fileTable()->setFocus();
        QWidget *optimize = window->inspector()->optimizeButton();
        bool reachedInspector = false;
        for (int press = 0; press < 20 && QApplication::focusWidget() != optimize; ++press) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reachedInspector |= window->inspector()->isAncestorOf(QApplication::focusWidget());
        }
        QVERIFY(reachedInspector);
        QCOMPARE(QApplication::focusWidget(), optimize);
    }

    // "bar" and "key" remove the selection; a row number is right-clicked and removed alone.
    void removeRows_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("remaining");
        QTest::addColumn<QStringList>("stillSelected");
        const QStringList bd{"b.svg", "d.svg"};
        QTest::newRow("action bar") << "bar" << bd << QStringList();
        QTest::newRow("delete key") << "key" << bd << QStringList();
        QTest::newRow("context menu, unselected row")
            << "1" << QStringList{"a.svg", "c.svg", "d.svg"} << QStringList{"a.svg", "c.svg"};
        QTest::newRow("context menu, selected row")
            << "2" << QStringList{"a.svg", "b.svg", "d.svg"} << QStringList{"a.svg"};
    }
    void removeRows() {
        QFETCH(QString, how);
        QFETCH(QStringList, remaining);
        QFETCH(QStringList, stillSelected);
        addFiles({"a.svg", "b.svg", "c.svg", "d.svg"});
        FileTable *table = window->fileTable();
        for (int row : {0, 2})
            table->selectionModel()->select(table->model()->index(row, 0),
                                            QItemSelectionModel::Select |
                                                QItemSelectionModel::Rows);
        auto *remove = window->listActions()->removeButton();
        QVERIFY(remove->isEnabled());
        if (how == "bar") {
            remove->click();
        } else if (how == "key") {
            table->setFocus();
            QTest::keyClick(table, Qt::Key_Delete);
        } else {
            const QPoint row = table->visualRect(table->model()->index(how.toInt(), 0)).center();
            QVERIFY(chooseFromContextMenu(table->viewport(), row, QStringLiteral("Remove")));
        }
        QCOMPARE(fileNames(window->files()), remaining);
        QStringList selectedNames;
        for (const QModelIndex &index : table->selectionModel()->selectedRows())
            selectedNames.append(window->files()->files().at(index.row()).fileName);
        selectedNames.sort();
        QCOMPARE(selectedNames, stillSelected);
        QCOMPARE(remove->isEnabled(), !stillSelected.isEmpty());
    }

    // From another program, onto the table or the inspector, the folder brings a.svg, b.svg and
    // sub/c.svg, but not its other files. Rows dragged within the table move.
    void drops_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QList<int>>("dragged"); // rows of a, b, c, d; none: the folder and d.svg
        QTest::addColumn<int>("targetRow");
        QTest::addColumn<bool>("lowerHalf");
        QTest::addColumn<QStringList>("order");
        const QStringList abcd{"a.svg", "b.svg", "c.svg", "d.svg"};
        QTest::newRow("on the table") << "table" << QList<int>() << -1 << false << abcd;
        QTest::newRow("on the inspector") << "inspector" << QList<int>() << -1 << false << abcd;
        QTest::newRow("first row below last") << "table" << QList<int>{0} << 3 << true
                                              << QStringList{"b.svg", "c.svg", "d.svg", "a.svg"};
        QTest::newRow("two rows into the middle")
            << "table" << QList<int>{0, 3} << 2 << false
            << QStringList{"b.svg", "a.svg", "d.svg", "c.svg"};
    }
    void drops() {
        QFETCH(QString, target);
        QFETCH(QList<int>, dragged);
        QFETCH(int, targetRow);
        QFETCH(bool, lowerHalf);
        QFETCH(QStringList, order);
        FileTable *table = window->fileTable();
        QWidget *widget =
            target == "inspector" ? static_cast<QWidget *>(window->inspector()) : table->viewport();
        QPoint pos(widget->width() - 20, widget->height() / 2);
        auto data = std::make_unique<QMimeData>();
        if (dragged.isEmpty()) {
            data->setUrls({QUrl::fromLocalFile(svg("folder")), QUrl::fromLocalFile(svg("d.svg"))});
        } else {
            addFiles({"a.svg", "b.svg", "c.svg", "d.svg"});
            QModelIndexList indexes;
            for (int row : dragged)
                indexes.append(table->model()->index(row, 0));
            data.reset(table->model()->mimeData(indexes));
            QVERIFY(data);
            const QRect rect = table->visualRect(table->model()->index(targetRow, 0));
            pos = QPoint(rect.center().x(), lowerHalf ? rect.bottom() - 2 : rect.top() + 2);
        }
        QVERIFY(drop(widget, pos, data.get(), dragged.isEmpty() ? Qt::CopyAction : Qt::MoveAction));
        QCOMPARE(fileNames(window->files()), order);
    }

    // The open command reaches the active window, whose panel takes files and folders; a folder
    // brings the files of its visible subfolders along.
    void openPanelTakesFilesAndFolders() {
        std::unique_ptr<MainWindow> second(application->newMainWindow());
        QVERIFY(QTest::qWaitForWindowExposed(second.get()));
        for (const QString typed : {"folder", "d.svg"}) {
            QApplication::setActiveWindow(second.get());
            QTRY_VERIFY(second->isActiveWindow());
            application->requestFileImport();
            QVERIFY(second->openPanel() && !window->openPanel());
            second->openPanel()->setDirectory(files.path());
            QVERIFY(typeIntoFileDialog(typed));
            QTRY_VERIFY(!second->openPanel());
        }
        QCOMPARE(fileNames(second->files()), (QStringList{"a.svg", "b.svg", "c.svg", "d.svg"}));
    }

    void setupSheetFollowsLoginShell_data() {
        QTest::addColumn<bool>("svgoOnPath");
        QTest::newRow("svgo found") << true;
        QTest::newRow("svgo missing") << false;
    }
    void setupSheetFollowsLoginShell() {
        QFETCH(bool, svgoOnPath);
        setShellPath(svgoOnPath ? binWith() : binWithout());
        // A path that does not work, and that no lookup replaces.
        Keys::svgoExecutablePath().set(QStringLiteral("/nowhere/svgo"));
        auto *second = application->newMainWindow();
        QSignalSpy lookedUp(second, &MainWindow::svgoLookedUp);
        QVERIFY(lookedUp.wait(20000));
        QCOMPARE(lookedUp.constFirst().constFirst().toBool(), svgoOnPath);
        QCOMPARE(second->setupSheet() != nullptr, !svgoOnPath);
        // The sheet says why the stored path is of no use, naming it.
        if (!svgoOnPath)
            QVERIFY(second->setupSheet()->storedProblem()->isVisible() &&
                    second->setupSheet()->storedProblem()->text().contains("/nowhere/svgo"));
        delete second;
    }

    // Run last: the program ends with its last main window or with Ctrl+Q, the settings window
    // with it, and either way the window's size and column widths are there next time.
    void programEndsAndKeepsTheLayout_data() {
        QTest::addColumn<bool>("byQuitKey");
        QTest::newRow("last window closed") << false;
        QTest::newRow("Ctrl+Q") << true;
    }
    void programEndsAndKeepsTheLayout() {
        QFETCH(bool, byQuitKey);
        const QSize size(710 + int(byQuitKey), 470);
        window->resize(size);
        window->fileTable()->horizontalHeader()->resizeSection(SVGFileTableModel::FileName, 131);
        application->openSettings();
        SettingsWindow *settings = application->settingsWindow();
        settings->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(settings));
        // Ctrl+Q is pressed where Settings is in front: it quits from any window.
        QTimer::singleShot(0, window, [this, settings, byQuitKey] {
            if (byQuitKey)
                QTest::keyClick(settings, Qt::Key_Q, Qt::ControlModifier);
            else
                window->close();
        });
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        guard.start(20000);
        QCOMPARE(QCoreApplication::exec(), 0);
        // Quitting ends the process, which takes every window; only closing hides them here.
        QVERIFY(byQuitKey || !settings->isVisible());
        QCOMPARE(QSettings().value(QStringLiteral("mainWindowSize")).toSize(), size);
        std::unique_ptr<MainWindow> next(application->newMainWindow());
        QCOMPARE(next->size(), size);
        QCOMPARE(next->fileTable()->horizontalHeader()->sectionSize(SVGFileTableModel::FileName),
                 131);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
