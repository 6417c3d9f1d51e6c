// A main window: its session, size, focus order, removing and dropping files, the open panel,
// the setup sheet that follows the login shell, and the layout kept when the program ends. Through
// whole runs with the real svgo: progress and cancel, per-row results and
// the summary, sorting that the next run follows, the preview, compressed sizes, restoring
// overwritten originals, and what each of svgo's plugins saved on a file. A text-mode run set up
// in the form opens the output window with the assembled markup and its sizes; a file-mode run
// asks before replacing files in the output folder. A fresh account optimizes with the shipped
// svgo at the first press, and quitting during a run stops it. The output window on its own:
// copying, automatic or not, its notice, and one window a text.

#include "engine/CompressedSize.h"
#include "engine/OriginalsBackup.h"
#include "engine/ShippedTools.h"
#include "engine/SvgoResolver.h"
#include "engine/tst_optimizer_support.h"
#include "model/FileResults.h"
#include "model/SVGFileList.h"
#include "model/SVGFileTableModel.h"
#include "model/Settings.h"
#include "ui/AppState.h"
#include "ui/Application.h"
#include "ui/UiTestSupport.h"
#include "ui/components/AsyncButton.h"
#include "ui/components/ListActions.h"
#include "ui/components/OverlayNotification.h"
#include "ui/components/TextView.h"
#include "ui/main/FileTable.h"
#include "ui/main/Inspector.h"
#include "ui/main/MainWindow.h"
#include "ui/main/PluginSavingsDialog.h"
#include "ui/main/RestoreOriginals.h"
#include "ui/main/ResultsSummary.h"
#include "ui/main/RunProgress.h"
#include "ui/main/SetupSheet.h"
#include "ui/main/SvgPreview.h"
#include "ui/main/WindowSession.h"
#include "ui/output/TextOutputWindow.h"
#include "ui/profiles/ProfileEditor.h"
#include "ui/profiles/SegmentedPicker.h"
#include "ui/settings/SettingsWindow.h"

using Status = FileResult::Status;

namespace {

// Writes and reports each output as svgo does, except that it hangs at an input whose name
// contains "slow".
const QByteArray slowSvgo = R"sh(
ins=(); outs=(); mode=
for a in "$@"; do
  case "$a" in -i) mode=i ;; -o) mode=o ;; --config) mode=c ;;
    *) if [ "$mode" = i ]; then ins+=("$a"); elif [ "$mode" = o ]; then outs+=("$a"); fi ;;
  esac
done
for n in "${!ins[@]}"; do
  case "${ins[$n]}" in *slow*) exec sleep 30 ;; esac
  printf '<svg/>' > "${outs[$n]}"
  printf '\n%s:\nDone in 1 ms!\n0.1 KiB - 1%% = 0.1 KiB\n' "$(basename "${ins[$n]}")"
done
)sh";

QStringList fileNames(const SVGFileList *files) {
    QStringList names;
    for (const SVGFile &file : files->files())
        names.append(file.fileName);
    return names;
}

} // namespace

using optimizer_test::contents, optimizer_test::copyInto, optimizer_test::dataFile,
    optimizer_test::iconFolder, optimizer_test::svgoAlone;

class tst_MainWindow : public QObject {
    Q_OBJECT
    QTemporaryDir m_home;
    QTemporaryDir m_inputs; // a.svg to d.svg, and a folder with subfolders and other files
    std::unique_ptr<QTemporaryDir> m_work;
    std::unique_ptr<Application> m_application;
    QPointer<MainWindow> m_window;
    QStringList m_icons;
    QList<QByteArray> m_optimized; // what svgo makes of each of m_icons on its own
    const QString m_markup = QStringLiteral("<ul>\r\n\t<li><svg/></li>\r\n</ul>");

    SVGFileList *files() const { return m_window->files(); }
    QString svg(const QString &name) const { return m_inputs.filePath(name); }
    void addFiles(const QStringList &names) {
        for (const QString &name : names)
            files()->addFile(QUrl::fromLocalFile(svg(name)));
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

    AsyncButton *button() const { return m_window->inspector()->optimizeButton(); }

    // Copies of the first icons of the set, plus extra files, in a folder of their own.
    QString folderWith(int icons, const QStringList &extra = {}) {
        const QString folder = m_work->filePath(QStringLiteral("in"));
        QDir().mkpath(folder);
        optimizer_test::copyInto(folder, optimizer_test::icons(icons));
        optimizer_test::copyInto(folder, QStringList(extra.size(), dataFile("broken.svg")), extra);
        return folder;
    }
    // Without `overwrite`, outputs go into `folder`, by default the test's own "out".
    void useProfile(bool overwrite, OperationMode mode = OperationMode::File, QString folder = {}) {
        Profile profile = Profile::builtInDefault();
        profile.mode = mode;
        profile.overwrite = overwrite;
        profile.keepOriginalWhenNotSmaller = false; // runs again over files already optimized
        if (!overwrite)
            profile.outputFolder = QUrl::fromLocalFile(
                folder.isEmpty() ? m_work->filePath(QStringLiteral("out")) : folder);
        m_application->state()->setProfile(profile);
    }
    // Presses "Optimize" and waits for the run's results.
    OptimizationResult optimize() {
        QSignalSpy finished(m_window->session(), &WindowSession::runFinished);
        button()->click();
        [&] { QVERIFY(finished.wait(120000)); }();
        [&] { QTRY_VERIFY(!button()->isLoading()); }();
        return finished.isEmpty() ? OptimizationResult()
                                  : finished.first().first().value<OptimizationResult>();
    }
    // Right-clicks `pos` of `viewport` through the window system, as only such a click is
    // followed by a context menu event.
    static void rightClick(QWidget *viewport, QPoint pos) {
        QWidget *window = viewport->window();
        QTest::mouseClick(window->windowHandle(), Qt::RightButton, {},
                          viewport->mapTo(window, pos));
    }
    static QPoint onSection(QHeaderView *header, int section) {
        return QPoint(header->sectionViewportPosition(section) + 5, 5);
    }
    // Picks `item` from the menu of the header above `section`.
    static bool chooseFromHeaderMenu(QHeaderView *header, int section, const QString &item) {
        rightClick(header->viewport(), onSection(header, section));
        return chooseFromOpenMenu(item);
    }
    QList<QVariant> column(int section, int role = Qt::DisplayRole) const {
        QList<QVariant> values;
        const QAbstractItemModel *table = m_window->fileTable()->model();
        for (int row = 0; row < table->rowCount(); ++row)
            values.append(table->index(row, section).data(role));
        return values;
    }

    template <typename T> T *control(const char *name, const char *section = nullptr) const {
        QObject *scope = m_window->inspector()->profileEditor();
        if (section)
            scope = scope->findChild<QWidget *>(QLatin1String(section));
        return scope->findChild<T *>(QLatin1String(name));
    }
    void typeInto(const char *section, const char *field, const QString &text) const {
        QTest::keyClicks(control<QLineEdit>(field, section), text);
    }

    // Lists the copies of alarm.svg and bag.svg that svgo optimized on its own beforehand.
    void listIcons() {
        for (const QString &path : m_icons)
            files()->addFile(QUrl::fromLocalFile(path));
    }
    // Another main window of the application listing copies of `icons` in `folder`, once its svgo
    // lookup has ended.
    MainWindow *openMainWindow(const QString &folder, const QStringList &icons) const {
        MainWindow *window = m_application->newMainWindow();
        QSignalSpy lookedUp(window, &MainWindow::svgoLookedUp);
        for (const QString &name : icons)
            window->files()->addFile(
                QUrl::fromLocalFile(copyInto(folder, {iconFolder() + u'/' + name}).first()));
        window->activateWindow();
        const bool ready = QTest::qWaitForWindowActive(window) &&
                           QTest::qWaitFor([&] { return !lookedUp.isEmpty(); }, 30000);
        return ready ? window : nullptr;
    }

private slots:
    void initTestCase() {
        useSettingsIn(m_home.path(), "tst_mainwindow");
        const QString bin = m_home.filePath(QStringLiteral("bin"));
        useLoginShellHome(m_home.path(), bin);
        writeScript(bin + QStringLiteral("/svgo"), "exit 0\n");
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        m_application = std::make_unique<Application>();
        const QString icons = m_home.filePath(QStringLiteral("icons"));
        QVERIFY(QDir().mkpath(icons));
        m_icons = copyInto(icons, {iconFolder() + "/alarm.svg", iconFolder() + "/bag.svg"});
        m_optimized = svgoAlone(m_icons);
        for (const QString name :
             {"a.svg", "b.svg", "c.svg", "d.svg", "folder/b.svg", "folder/a.svg",
              "folder/notes.txt", "folder/.hidden.svg", "folder/sub/c.svg", "folder/.dot/e.svg"})
            writeFile(svg(name), name.endsWith(".txt")
                                     ? "plain words\n"
                                     : "<svg xmlns=\"http://www.w3.org/2000/svg\"/>");
    }
    void init() {
        m_work = std::make_unique<QTemporaryDir>();
        OriginalsBackup::setRoot(m_work->filePath(QStringLiteral("originals")));
        Keys::svgoExecutablePath().set(QStringLiteral(MIRANDEL_SVGO));
        Keys::chunkSize().set(2);
        Keys::maxConcurrentProcesses().set(2);
        Keys::shownCompressedColumns().remove();
        Keys::defaultProfile().remove();
        Keys::profiles().remove();
        Keys::copyTextOutputAutomatically().remove();
        m_application->state()->setProfile(Profile::builtInDefault());
        QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
        m_window = m_application->newMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }
    void cleanup() {
        qDeleteAll(TextOutputWindow::openWindows());
        delete m_window;
    }
    void cleanupTestCase() { m_application.reset(); }

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

    void realRunShowsResultsAndSummary() {
        QVERIFY(files()->addFolder(QUrl::fromLocalFile(folderWith(5, {"zz-broken.svg"}))));
        useProfile(false);
        RunProgress *progress = m_window->inspector()->runProgress();
        optimize();
        QCOMPARE(progress->bar()->value(), 6);
        QVERIFY(progress->isHidden());
        const QString message = column(0, Qt::ToolTipRole).at(5).toString();
        QVERIFY2(message.contains(QLatin1String("zz-broken.svg")) ||
                     message.contains(QLatin1String("rror")),
                 qPrintable(message));
        // The sizes and their format are the engine's and the summary model's tests'.
        QVERIFY(m_window->resultsSummary()->fullText().startsWith(
            QStringLiteral("5 files optimized, 1 failed · ")));

        // The summary picks out the failed file, whose preview shows the message.
        QTest::mouseClick(m_window->resultsSummary(), Qt::LeftButton);
        QCOMPARE(files()->selection(), QSet<QString>{files()->files().at(5).id});
        QCOMPARE(m_window->inspector()->preview()->message(), message);
        files()->setSelection({files()->files().at(0).id});
        SvgPreview *preview = m_window->inspector()->preview();
        // Drawn on the render pool; renderable once the drawings have arrived.
        QTRY_VERIFY(!preview->originalPane()->isDrawing() &&
                    !preview->optimizedPane()->isDrawing());
        QVERIFY(preview->originalPane()->isRenderable());
        QVERIFY(preview->optimizedPane()->isRenderable());

        // Sorting by "Saved" reorders the list, and the next run takes that order.
        QHeaderView *header = m_window->fileTable()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          onSection(header, SVGFileTableModel::Saved));
        const QList<QVariant> saved = column(SVGFileTableModel::Saved, SVGFileTableModel::SortRole);
        for (int row = 1; row < 5; ++row)
            QVERIFY(saved.at(row - 1).toDouble() <= saved.at(row).toDouble());
        const QList<SVGFile> shown = files()->files();
        QCOMPARE(optimize().files, shown);

        // Sorted by name, a file added later takes its place in that order.
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          onSection(header, SVGFileTableModel::FileName));
        const QString early = m_work->filePath(QStringLiteral("0.svg"));
        QVERIFY(QFile::copy(dataFile("icon.svg"), early));
        files()->addFile(QUrl::fromLocalFile(early));
        QTRY_COMPARE(files()->files().first().id, early);
    }

    // Output that looks different is held back and the file left as it was. In file mode its
    // row tells why, what it would weigh and how to use it, and the preview's button writes it.
    // In text mode the original goes into the text, whose window opens with no document passed,
    // and the row's menu puts svgo's output into a new text.
    void looksDifferentIsUsedOnRequest_data() {
        QTest::addColumn<OperationMode>("mode");
        QTest::newRow("file mode") << OperationMode::File;
        QTest::newRow("text mode") << OperationMode::Text;
    }
    void looksDifferentIsUsedOnRequest() {
        QFETCH(OperationMode, mode);
        const QString icon = m_work->filePath(QStringLiteral("icon.svg"));
        QVERIFY(QFile::copy(dataFile("icon.svg"), icon));
        files()->addFile(QUrl::fromLocalFile(icon));
        useProfile(true, mode);
        Profile profile = m_application->state()->profile();
        profile.svgoConfigFile = QUrl::fromLocalFile(dataFile("precision0.config.mjs"));
        // Held back, not made again without the plugins that round.
        profile.findBreakingPlugins = false;
        m_application->state()->setProfile(profile);
        const QByteArray original = contents(icon);
        optimize();
        const FileResult held = *files()->result(icon);
        QCOMPARE(held.status, Status::LooksDifferent);
        QCOMPARE(contents(icon), original);
        if (mode == OperationMode::Text) {
            const QString circle = QStringLiteral("r=\"0.400\""); // svgo rounds it away
            QTRY_COMPARE(TextOutputWindow::openWindows().size(), 1);
            QVERIFY(TextOutputWindow::openWindows().first()->textOutput()->contains(circle));
            QVERIFY2(m_window->resultsSummary()->toolTip().contains("1 kept as they were"),
                     qPrintable(m_window->resultsSummary()->toolTip()));
            FileTable *table = m_window->fileTable();
            rightClick(table->viewport(), table->visualRect(table->model()->index(0, 0)).center());
            QVERIFY(chooseFromOpenMenu(QStringLiteral("Use Optimized Anyway")));
            QTRY_COMPARE(TextOutputWindow::openWindows().size(), 2);
            const QString text = *TextOutputWindow::openWindows().last()->textOutput();
            QVERIFY(!text.contains(circle));
            QVERIFY(text.contains(QString::fromUtf8(held.differentOutput)));
        } else {
            QCOMPARE(column(SVGFileTableModel::Optimized).at(0).toString(),
                     FileResults::sizeText(held.differentOutput.size()));
            const QString tip = column(0, Qt::ToolTipRole).at(0).toString();
            for (const char *part : {"changed at", "left as it was", "Use Optimized Anyway"})
                QVERIFY2(tip.contains(QLatin1String(part)), qPrintable(tip));
            std::unique_ptr<QMenu> menu(m_window->fileTable()->createContextMenu(0));
            QVERIFY(findAction(menu.get(), QStringLiteral("Use Optimized Anyway")));
            files()->setSelection({icon});
            QPushButton *use = m_window->inspector()->preview()->useOptimizedButton();
            QTRY_VERIFY(use->isVisible());
            QTest::mouseClick(use, Qt::LeftButton);
            QTRY_COMPARE(contents(icon), held.differentOutput);
        }
        QTRY_COMPARE(files()->result(icon)->status, Status::Optimized);
    }

    // Rows show each file's outcome once svgo reports it, while the run goes on: with one svgo,
    // stuck on the next file of its chunk; with two, while the other is stuck.
    void cancelMarksTheRestNotRun_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("processes");
        QTest::addColumn<QString>("outcomes"); // of a, b-slow and c: 'o' optimized, 'n' not run
        QTest::newRow("Cancel button") << "cancel" << 1 << "onn";
        QTest::newRow("Escape key") << "escape" << 1 << "onn";
        QTest::newRow("closing the window, then Stop and Close") << "close" << 1 << "onn";
        QTest::newRow("two processes, Cancel button") << "cancel" << 2 << "ono";
    }
    void cancelMarksTheRestNotRun() {
        QFETCH(QString, how);
        QFETCH(int, processes);
        QFETCH(QString, outcomes);
        const QString svgo = m_work->filePath(QStringLiteral("svgo"));
        writeScript(svgo, slowSvgo, "/bin/bash");
        Keys::svgoExecutablePath().set(svgo);
        Keys::chunkSize().set(1);
        Keys::maxConcurrentProcesses().set(processes);
        QVERIFY(files()->addFolder(
            QUrl::fromLocalFile(folderWith(0, {"a.svg", "b-slow.svg", "c.svg"}))));
        useProfile(false);
        QList<QVariant> statuses;
        for (QChar outcome : outcomes)
            statuses.append(int(outcome == u'o' ? Status::Optimized : Status::NotRun));
        const int optimized = int(outcomes.count(u'o'));

        QSignalSpy finished(m_window->session(), &WindowSession::runFinished);
        button()->click();
        RunProgress *progress = m_window->inspector()->runProgress();
        QTRY_COMPARE(progress->bar()->value(), optimized);
        for (int row = 0; row < 3; row += 2)
            if (outcomes.at(row) == u'o')
                QTRY_COMPARE(column(0, SVGFileTableModel::StatusRole).at(row), statuses.at(row));
        QVERIFY(!files()->result(files()->files().at(1).id));
        QVERIFY(progress->isVisible());
        QVERIFY(!m_window->restoreOriginalsAction()->isEnabled());
        // The form shows what the run uses; it cannot be changed under it.
        QVERIFY(!m_window->inspector()->profileEditor()->isEnabled());
        if (how == "close") {
            // Closing asks first, as quitting does; the window and its run stay meanwhile.
            QVERIFY(!m_window->close());
            QVERIFY(m_window->closeQuestion());
            QVERIFY(m_window->isVisible());
            answerMessageBox("Stop and Close", "Stop the optimization and close the window?");
            QTRY_VERIFY(!m_window);
            QTRY_VERIFY_WITH_TIMEOUT(!m_application->isRunning(), 10000);
            return;
        }
        if (how == "escape")
            QTest::keyClick(m_window->fileTable(), Qt::Key_Escape);
        else
            QTest::mouseClick(progress->cancelButton(), Qt::LeftButton);
        QVERIFY(finished.wait(10000));
        QTRY_VERIFY(!button()->isLoading());
        QCOMPARE(column(0, SVGFileTableModel::StatusRole), statuses);
        QVERIFY(m_window->resultsSummary()->fullText().startsWith(
            QStringLiteral("%1 files optimized, 0 failed, %2 not run")
                .arg(optimized)
                .arg(3 - optimized)));
    }

    void restoreRunsInTheBackground() {
        const QString folder = folderWith(3);
        QVERIFY(files()->addFolder(QUrl::fromLocalFile(folder)));
        // A link to the first file, listed as well: the file goes back once, without an error.
        const QString first = files()->files().at(0).id;
        QVERIFY(QFile::link(first, m_work->filePath(QStringLiteral("link.svg"))));
        files()->addFile(QUrl::fromLocalFile(m_work->filePath(QStringLiteral("link.svg"))));
        const QList<QByteArray> before{contents(first), contents(files()->files().at(1).id)};
        useProfile(true);
        // The link names a file the run optimizes already: once is enough.
        QCOMPARE(optimize().count(FileResult::Status::Optimized), 3);
        QVERIFY(m_window->resultsSummary()->fullText().contains(
            QLatin1String("Originals kept for 7 days")));
        const QString edited = files()->files().at(2).id;
        {
            QFile file(edited);
            QVERIFY(file.open(QIODevice::Append));
            file.write("<!-- kept -->");
        }

        QSignalSpy finished(m_window, &MainWindow::restoreFinished);
        m_window->restoreOriginalsAction()->trigger(); // no selection: every row
        answerMessageBox(QStringLiteral("Restore"),
                         QStringLiteral("Restore the originals of 3 files?"));
        answerMessageBox(QStringLiteral("Skip"), QFileInfo(edited).fileName());
        // The end is said, naming the files in the list's order.
        QTRY_VERIFY(qobject_cast<QMessageBox *>(QApplication::activeModalWidget()));
        QCOMPARE(qobject_cast<QMessageBox *>(QApplication::activeModalWidget())->informativeText(),
                 files()->files().at(0).fileName + ", " + files()->files().at(1).fileName);
        answerMessageBox(QStringLiteral("OK"), QStringLiteral("2 originals restored."));
        QCOMPARE(finished.size(), 1);
        QVERIFY(!QApplication::activeModalWidget()); // no error report
        QCOMPARE(contents(first), before.at(0));
        QCOMPARE(contents(files()->files().at(1).id), before.at(1));
        QVERIFY(contents(edited).endsWith("<!-- kept -->"));
        // The rows of the files put back (the link's too) drop their results, and so does the
        // skipped one, which no longer is what its run left; it keeps its way back.
        QCOMPARE(files()->result(first), nullptr);
        QCOMPARE(files()->result(files()->files().at(3).id), nullptr);
        QCOMPARE(files()->result(edited), nullptr);
        QCOMPARE(m_window->resultsSummary()->fullText(), QStringLiteral("4 files listed"));
        QVERIFY(RestoreOriginals::hasOriginals({edited}));
        QVERIFY(m_window->restoreOriginalsAction()->isEnabled());
    }

    // The compressed columns stay hidden, and unmeasured, until the header's menu shows them;
    // the choice holds for the next window too.
    void compressedSizesFromTheHeaderMenu() {
        QHeaderView *header = m_window->fileTable()->horizontalHeader();
        QVERIFY(header->isSectionHidden(SVGFileTableModel::Gzip));
        QVERIFY(header->isSectionHidden(SVGFileTableModel::Brotli));
        QVERIFY(files()->addFolder(QUrl::fromLocalFile(folderWith(3))));
        useProfile(false);
        QVERIFY(chooseFromHeaderMenu(header, SVGFileTableModel::Size, QStringLiteral("Gzip")));
        QVERIFY(!header->isSectionHidden(SVGFileTableModel::Gzip));
        QVERIFY(header->isSectionHidden(SVGFileTableModel::Brotli));
        optimize();
        const QList<QVariant> shown = column(SVGFileTableModel::Gzip);
        const QList<QVariant> sizes = column(SVGFileTableModel::Gzip, SVGFileTableModel::SortRole);
        for (int row = 0; row < 3; ++row) {
            const QString name = files()->files().at(row).fileName;
            const qint64 before = gzipSize(contents(m_work->filePath("in/" + name)));
            const qint64 after = gzipSize(contents(m_work->filePath("out/" + name)));
            QCOMPARE(sizes.at(row).toLongLong(), after);
            QCOMPARE(shown.at(row).toString(),
                     SVGFileTableModel::compressedText(after, 100.0 * double(before - after) /
                                                                  double(before)));
        }
        const QString summary = m_window->resultsSummary()->fullText();
        QVERIFY2(QRegularExpression(QStringLiteral("\\(saved [0-9.]+ %\\) · [0-9.]+ % gzip · "
                                                   "[0-9.]+ % brotli · "))
                     .match(summary)
                     .hasMatch(),
                 qPrintable(summary));

        std::unique_ptr<MainWindow> second(m_application->newMainWindow());
        QVERIFY(QTest::qWaitForWindowExposed(second.get()));
        QHeaderView *secondHeader = second->fileTable()->horizontalHeader();
        QVERIFY(!secondHeader->isSectionHidden(SVGFileTableModel::Gzip));
        // Hidden again from the other window: both follow, and runs measure nothing.
        QVERIFY(
            chooseFromHeaderMenu(secondHeader, SVGFileTableModel::Size, QStringLiteral("Gzip")));
        QVERIFY(secondHeader->isSectionHidden(SVGFileTableModel::Gzip));
        QVERIFY(header->isSectionHidden(SVGFileTableModel::Gzip));
        second.reset();
        optimize();
        QCOMPARE(column(SVGFileTableModel::Gzip), QList<QVariant>(3));
        QVERIFY(!m_window->resultsSummary()->fullText().contains(QLatin1String("gzip")));
    }

    void textRunOfOnlyFailuresOpensNoWindow() {
        QVERIFY(files()->addFolder(QUrl::fromLocalFile(folderWith(0, {"broken.svg"}))));
        useProfile(false, OperationMode::Text);
        optimize();
        QCOMPARE(column(0, SVGFileTableModel::StatusRole), QList<QVariant>{int(Status::Failed)});
        QVERIFY(TextOutputWindow::openWindows().isEmpty());
    }

    // "Why Smaller?" in a row's menu, for one file only, opens a window that lists the real
    // svgo's plugins and marks the one that changed the drawing. The View menu's command brings
    // the same window forward; Esc closes it, and it goes away with its run.
    void whySmallerListsThePlugins() {
        const QString icon = m_work->filePath(QStringLiteral("icon.svg"));
        for (const QString &copy : {icon, m_work->filePath(QStringLiteral("other.svg"))}) {
            QVERIFY(QFile::copy(dataFile("icon.svg"), copy));
            files()->addFile(QUrl::fromLocalFile(copy));
        }
        // Integers only: the icon's small circle vanishes when its numbers are rounded.
        Profile profile = Profile::builtInDefault();
        profile.svgoConfigFile = QUrl::fromLocalFile(dataFile("precision0.config.mjs"));
        m_application->state()->setProfile(profile);

        FileTable *table = m_window->fileTable();
        const QPoint row =
            table->visualRect(table->model()->index(files()->rowOf(icon), 0)).center();
        // Two files selected: the question is about one file, so the menu does not offer it.
        table->selectAll();
        rightClick(table->viewport(), row);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QVERIFY(!findAction(menu, QStringLiteral("Why Smaller?")));
        menu->close();

        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, row);
        rightClick(table->viewport(), row);
        QVERIFY(chooseFromOpenMenu(QStringLiteral("Why Smaller?")));
        QPointer<PluginSavingsDialog> dialog = m_window->findChild<PluginSavingsDialog *>();
        QVERIFY(dialog && dialog->isVisible() && !dialog->isModal());
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

        QMenu *view = nullptr;
        for (QAction *action : m_window->menuBar()->actions())
            if (shownText(action->text()) == QLatin1String("View"))
                view = action->menu();
        QAction *command = view ? findAction(view, QStringLiteral("Why Smaller?")) : nullptr;
        QVERIFY(command && command->isEnabled());
        command->trigger();
        QCOMPARE(m_window->findChildren<PluginSavingsDialog *>().size(), 1);
        dialog->activateWindow();
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(!dialog);
    }

    void textRunOpensOutputWindow() {
        listIcons();
        // Copying when automatic copying is off is the output window's own test.
        Keys::copyTextOutputAutomatically().set(true);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));

        // The way a person sets it up: text mode, list wrappers, pretty printing with tabs.
        control<SegmentedPicker>("modePicker")->segment(int(OperationMode::Text))->click();
        control<QAbstractButton>("wrapOutputSectionToggle")->click();
        typeInto("wrapOutputSection", "prefix", "<ul>");
        typeInto("wrapOutputSection", "suffix", "</ul>");
        control<QAbstractButton>("wrapIndividualSectionToggle")->click();
        typeInto("wrapIndividualSection", "prefix", "<li>");
        typeInto("wrapIndividualSection", "suffix", "</li>");
        control<QAbstractButton>("prettyPrint")->click();
        QCOMPARE(m_application->state()->profile().indentationStyle, IndentationStyle::Tabs);

        // Return starts the run from the file table too.
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        QSignalSpy runs(m_window->inspector(), &Inspector::runStarted);
        m_window->fileTable()->setFocus();
        QTest::keyClick(m_window->fileTable(), Qt::Key_Return);
        QCOMPARE(runs.size(), 1);
        QVERIFY(m_window->inspector()->optimizeButton()->isLoading());
        QVERIFY(!m_window->inspector()->optimizeButton()->isEnabled());
        QTest::keyClick(m_window->fileTable(), Qt::Key_Return); // ignored while busy
        QCOMPARE(runs.size(), 1);

        QTRY_COMPARE_WITH_TIMEOUT(TextOutputWindow::openWindows().size(), 1, 120000);
        const QString expected =
            QString("<ul>\r\n\t<li>\r\n\t\t%1\r\n\t</li>\r\n\t<li>\r\n\t\t%2\r\n\t</li>\r\n</ul>")
                .arg(QString::fromUtf8(m_optimized.at(0)), QString::fromUtf8(m_optimized.at(1)));
        TextOutputWindow *output = TextOutputWindow::openWindows().first();
        QCOMPARE(output->textOutput(), std::optional<QString>(expected));
        QTRY_VERIFY(output->isVisible());
        const QByteArray bytes = expected.toUtf8();
        QTRY_COMPARE(output->sizesLabel()->text(),
                     FileResults::sizeText(bytes.size()) + " · " +
                         FileResults::sizeText(gzipSize(bytes)) + " gzip · " +
                         FileResults::sizeText(brotliSize(bytes)) + " brotli");
        QTRY_COMPARE(QGuiApplication::clipboard()->text(), expected);
        QTRY_VERIFY(!m_window->inspector()->optimizeButton()->isLoading());
        QVERIFY(m_window->inspector()->optimizeButton()->isEnabled());
    }

    // A file of the same name in the output folder is the user's until they agree to replace
    // it: Cancel starts no run and leaves it, Replace writes svgo's output over it.
    void outputFolderAsksBeforeReplacing_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("cancel") << "Cancel" << false;
        QTest::newRow("replace") << "Replace" << true;
    }
    void outputFolderAsksBeforeReplacing() {
        QFETCH(QString, answer);
        QFETCH(bool, replaced);
        listIcons();
        QTemporaryDir outputs;
        const QString mine = outputs.filePath(QStringLiteral("alarm.svg"));
        writeFile(mine, "mine");
        useProfile(false, OperationMode::File, outputs.path());

        QSignalSpy runs(m_window->inspector(), &Inspector::runStarted);
        QTest::mouseClick(m_window->inspector()->optimizeButton(), Qt::LeftButton);
        QMessageBox *question = nullptr;
        QTRY_VERIFY((question = m_window->findChild<QMessageBox *>()));
        QVERIFY(question->text().contains(QDir::toNativeSeparators(outputs.path())));
        QCOMPARE(runs.size(), 0);
        QVERIFY(clickButtonOf(question, answer));
        QTRY_VERIFY_WITH_TIMEOUT(!m_window->inspector()->optimizeButton()->isLoading(), 120000);
        QCOMPARE(runs.size(), replaced ? 1 : 0);
        QCOMPARE(contents(mine), replaced ? m_optimized.at(0) : QByteArray("mine"));
        QCOMPARE(QFileInfo::exists(outputs.filePath(QStringLiteral("bag.svg"))), replaced);
    }

    // Copying on the window's first appearance when asked to; Ctrl+Shift+C copies the text as
    // edited.
    void copies_data() {
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<bool>("hasText");
        QTest::addColumn<bool>("copied");
        QTest::addColumn<QString>("typed"); // then copied by hand; empty: nothing
        QTest::newRow("on") << true << true << true << QString();
        QTest::newRow("off") << false << true << false << QString();
        QTest::newRow("on without a text") << true << false << false << QString();
        QTest::newRow("off, edited and copied by hand") << false << true << false << "<!-- x -->";
    }

    void copies() {
        QFETCH(bool, automatic);
        QFETCH(bool, hasText);
        QFETCH(bool, copied);
        QFETCH(QString, typed);
        Keys::copyTextOutputAutomatically().set(automatic);
        TextOutputWindow window(hasText ? std::optional(m_markup) : std::nullopt);
        QVERIFY(showOnScreen(&window));

        QCOMPARE(QGuiApplication::clipboard()->text(),
                 copied ? m_markup : QStringLiteral("untouched"));
        QCOMPARE(window.notification()->isTriggered(), copied);
        QCOMPARE(window.text(), hasText ? m_markup : QString());

        // Only the first appearance copies.
        QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
        window.hide();
        window.show();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("untouched"));
        if (typed.isEmpty())
            return;
        window.textView()->setFocus();
        window.textView()->moveCursor(QTextCursor::End);
        QTest::keyClicks(window.textView(), typed);
        QTest::keySequence(&window, QKeySequence(QStringLiteral("Ctrl+Shift+C")));
        QCOMPARE(QGuiApplication::clipboard()->text(), m_markup + typed);
        QVERIFY(window.notification()->isTriggered());
    }

    // Each run's window: brought forward for the same text, else a new one beside the others,
    // told apart by its title, and closed with the usual shortcut.
    void openingSameTextBringsWindowForward() {
        TextOutputWindow *first = TextOutputWindow::open(m_markup);
        QCOMPARE(TextOutputWindow::open(m_markup), first);
        TextOutputWindow *other = TextOutputWindow::open(QStringLiteral("other"));
        QVERIFY(other != first);
        QCOMPARE(TextOutputWindow::openWindows().size(), 2);
        QVERIFY(other->geometry().topLeft() != first->geometry().topLeft());
        QVERIFY(other->windowTitle() != first->windowTitle());

        QPointer<TextOutputWindow> closed = first;
        first->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(first));
        QTest::keySequence(first, QKeySequence::Close);
        QTRY_VERIFY(closed.isNull());
        TextOutputWindow *reopened = TextOutputWindow::open(m_markup);
        QCOMPARE(TextOutputWindow::openWindows().size(), 2);
        delete reopened;
        delete other;
    }

    void noticeHidesOnceAfterFirstPress() {
        TextOutputWindow window(m_markup);
        QVERIFY(showOnScreen(&window));
        OverlayNotification *notice = window.notification();
        notice->setDismissAfter(50);
        QSignalSpy changes(notice, &OverlayNotification::triggeredChanged);

        window.copyAction()->trigger();
        QVERIFY(notice->isVisible());
        window.copyAction()->trigger(); // while showing: no second change, no second hide
        QCOMPARE(changes.count(), 1);
        QTRY_VERIFY(!notice->isTriggered());
        QTRY_VERIFY(!notice->isVisible());

        window.copyAction()->trigger();
        QVERIFY(notice->isTriggered());
        QTRY_VERIFY(!notice->isTriggered());
        QCOMPARE(changes.count(), 4); // on, off, on, off
    }

    // The window fits the screen, and a second window steps aside. (What size a window comes
    // back at is programEndsAndKeepsTheLayout's.)
    void windowFitsTheScreen() {
        const QRect screen = m_window->screen()->availableGeometry();
        QVERIFY2(screen.contains(m_window->frameGeometry()), "window larger than the screen");
        std::unique_ptr<MainWindow> second(m_application->newMainWindow());
        QVERIFY(QTest::qWaitForWindowExposed(second.get()));
        QVERIFY(second->pos() != m_window->pos());
    }

    void tabLeavesTheTable() {
        addFiles({"a.svg"});
        QApplication::setActiveWindow(m_window);
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        m_window->fileTable()->setFocus();
        QWidget *optimize = m_window->inspector()->optimizeButton();
        bool reachedInspector = false;
        for (int press = 0; press < 20 && QApplication::focusWidget() != optimize; ++press) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reachedInspector |= m_window->inspector()->isAncestorOf(QApplication::focusWidget());
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
        FileTable *table = m_window->fileTable();
        for (int row : {0, 2})
            table->selectionModel()->select(table->model()->index(row, 0),
                                            QItemSelectionModel::Select |
                                                QItemSelectionModel::Rows);
        auto *remove = m_window->listActions()->removeButton();
        QVERIFY(remove->isEnabled());
        if (how == "bar") {
            remove->click();
        } else if (how == "key") {
            table->setFocus();
            QTest::keyClick(table, Qt::Key_Delete);
        } else {
            const QPoint row = table->visualRect(table->model()->index(how.toInt(), 0)).center();
            rightClick(table->viewport(), row);
            QVERIFY(chooseFromOpenMenu(QStringLiteral("Remove")));
        }
        QCOMPARE(fileNames(m_window->files()), remaining);
        QStringList selectedNames;
        for (const QModelIndex &index : table->selectionModel()->selectedRows())
            selectedNames.append(m_window->files()->files().at(index.row()).fileName);
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
        FileTable *table = m_window->fileTable();
        QWidget *widget = target == "inspector" ? static_cast<QWidget *>(m_window->inspector())
                                                : table->viewport();
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
        QCOMPARE(fileNames(m_window->files()), order);
    }

    // The open command reaches the active window, whose panel takes files and folders; a folder
    // brings the files of its visible subfolders along.
    void openPanelTakesFilesAndFolders() {
        std::unique_ptr<MainWindow> second(m_application->newMainWindow());
        QVERIFY(QTest::qWaitForWindowExposed(second.get()));
        for (const QString typed : {"folder", "d.svg"}) {
            QApplication::setActiveWindow(second.get());
            QTRY_VERIFY(second->isActiveWindow());
            m_application->requestFileImport();
            QVERIFY(second->openPanel() && !m_window->openPanel());
            second->openPanel()->setDirectory(m_inputs.path());
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
        // Only the login shell decides here: no shipped svgo to fall back on.
        const QString shipped = SvgoResolver::shippedSvgo();
        SvgoResolver::setShippedSvgo(QString());
        const auto restore = qScopeGuard([this, shipped] {
            SvgoResolver::setShippedSvgo(shipped);
            useLoginShellHome(m_home.path(), m_home.filePath(QStringLiteral("bin")));
        });
        const QString bin = m_home.filePath(svgoOnPath ? "with-svgo" : "without-svgo");
        useLoginShellHome(m_home.path(), bin);
        if (svgoOnPath)
            writeScript(bin + QStringLiteral("/svgo"), fakeSvgo);
        // A path that does not work, and that no lookup replaces.
        Keys::svgoExecutablePath().set(QStringLiteral("/nowhere/svgo"));
        auto *second = m_application->newMainWindow();
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

    // Run after every test that needs the window's first size: the program ends with its last
    // main window or with Ctrl+Q, the settings window
    // with it, and either way the window's size and column widths are there next time.
    void programEndsAndKeepsTheLayout_data() {
        QTest::addColumn<bool>("byQuitKey");
        QTest::newRow("last window closed") << false;
        QTest::newRow("Ctrl+Q") << true;
    }
    void programEndsAndKeepsTheLayout() {
        QFETCH(bool, byQuitKey);
        const QSize size(710 + int(byQuitKey), 470);
        m_window->resize(size);
        m_window->fileTable()->horizontalHeader()->resizeSection(SVGFileTableModel::FileName, 131);
        m_application->openSettings();
        SettingsWindow *settings = m_application->settingsWindow();
        settings->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(settings));
        // Ctrl+Q is pressed where Settings is in front: it quits from any window.
        QTimer::singleShot(0, m_window, [this, settings, byQuitKey] {
            if (byQuitKey)
                QTest::keyClick(settings, Qt::Key_Q, Qt::ControlModifier);
            else
                m_window->close();
        });
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        guard.start(20000);
        QCOMPARE(QCoreApplication::exec(), 0);
        // Quitting ends the process, which takes every window; only closing hides them here.
        QVERIFY(byQuitKey || !settings->isVisible());
        QCOMPARE(QSettings().value(QStringLiteral("mainWindowSize")).toSize(), size);
        std::unique_ptr<MainWindow> next(m_application->newMainWindow());
        QCOMPARE(next->size(), size);
        QCOMPARE(next->fileTable()->horizontalHeader()->sectionSize(SVGFileTableModel::FileName),
                 131);
    }

    // These two log in with homes of their own, which the login shell keeps using afterwards.
    void freshAccountOptimizesWithShippedSvgo() {
        // Nothing stored and no svgo on the login shell's PATH: only the shipped one is there.
        QTemporaryDir home;
        useLoginShellHome(home.path(), home.filePath(QStringLiteral("bin")));
        Keys::svgoExecutablePath().remove();
        QPointer<MainWindow> window =
            openMainWindow(home.path(), {"alarm.svg", "bag.svg", "cake.svg"});
        QVERIFY(window);
        QVERIFY(!window->setupSheet());
        QCOMPARE(Keys::svgoExecutablePath().get(), ShippedTools::svgoPath());

        QSignalSpy runs(window->inspector(), &Inspector::runStarted);
        QTest::mouseClick(window->inspector()->optimizeButton(), Qt::LeftButton);
        QCOMPARE(runs.size(), 1);
        auto future = runs.first().first().value<QFuture<OptimizationResult>>();
        QTRY_VERIFY_WITH_TIMEOUT(future.isFinished(), 120000);
        QCOMPARE(future.result().count(FileResult::Status::Optimized), 3);
        delete window;
    }

    void quittingStopsTheRun() {
        // An svgo that never finishes, so the run is still going when the user quits.
        QTemporaryDir home;
        useLoginShellHome(home.path(), home.filePath(QStringLiteral("bin")));
        const QString pidFile = home.filePath(QStringLiteral("svgo.pid"));
        writeScript(home.filePath(QStringLiteral("svgo")),
                    "[ \"$1\" = --version ] && echo 4.1.0 && exit 0\necho $$ > '" +
                        pidFile.toUtf8() + "'\nexec sleep 60\n");
        Keys::svgoExecutablePath().set(home.filePath(QStringLiteral("svgo")));
        QPointer<MainWindow> window = openMainWindow(home.path(), {"alarm.svg"});
        QVERIFY(window);
        QTest::mouseClick(window->inspector()->optimizeButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(pidFile), 30000);
        const QStringList privateFolders{QStringLiteral(".mirandel-*")};
        QCOMPARE(QDir(home.path()).entryList(privateFolders, QDir::Dirs | QDir::Hidden).size(), 1);

        QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(clickButtonOf(m_application->quitQuestion(), QStringLiteral("Stop and Quit")));
        const QString process = "/proc/" + QString::fromUtf8(contents(pidFile)).trimmed();
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(process), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(
            QDir(home.path()).entryList(privateFolders, QDir::Dirs | QDir::Hidden).isEmpty(),
            30000);
        // The run reports its end just after its private folders are gone.
        QTRY_VERIFY_WITH_TIMEOUT(!m_application->isRunning(), 10000);
        delete window;
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
