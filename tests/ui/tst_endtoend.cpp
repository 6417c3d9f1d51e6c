// From the inspector to svgo and back: a text-mode run opens the output window with the
// assembled markup and its sizes, a file-mode run writes the optimized files into the chosen
// folder. A fresh
// account optimizes with the shipped svgo at the first press, and quitting during a run stops it.
// The output window on its own: copying, automatic or not, its notice, and one window a text.

#include "engine/CompressedSize.h"
#include "engine/ShippedTools.h"
#include "engine/tst_optimizer_support.h"
#include "model/FileResults.h"
#include "model/SVGFileList.h"
#include "model/SVGFileTableModel.h"
#include "model/Settings.h"
#include "ui/AppState.h"
#include "ui/Application.h"
#include "ui/UiTestSupport.h"
#include "ui/components/AsyncButton.h"
#include "ui/components/OverlayNotification.h"
#include "ui/components/TextView.h"
#include "ui/main/Inspector.h"
#include "ui/main/MainWindow.h"
#include "ui/main/WindowSession.h"
#include "ui/output/TextOutputWindow.h"
#include "ui/profiles/ProfileEditor.h"
#include "ui/profiles/SegmentedPicker.h"

using optimizer_test::contents, optimizer_test::copyInto, optimizer_test::iconFolder,
    optimizer_test::svgo, optimizer_test::svgoAlone;

class tst_EndToEnd : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        useSettingsIn(m_settings.path(), "tst_endtoend");
        Keys::svgoExecutablePath().set(svgo());
        m_paths =
            copyInto(m_folder.path(), {iconFolder() + "/alarm.svg", iconFolder() + "/bag.svg"});
        m_optimized = svgoAlone(m_paths);
    }

    void init() {
        Keys::defaultProfile().remove();
        Keys::profiles().remove();
        Keys::copyTextOutputAutomatically().remove();
        QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
        m_application = std::make_unique<Application>();
        m_window = std::make_unique<QMainWindow>();
        m_files = new SVGFileList(m_window.get());
        for (const QString &path : m_paths)
            m_files->addFile(QUrl::fromLocalFile(path));
        auto *central = new QWidget;
        auto *layout = new QHBoxLayout(central);
        m_table = new QTableView(central);
        m_table->setModel(new SVGFileTableModel(m_files, m_table));
        m_inspector = new Inspector(m_application->state(), m_files,
                                    new WindowSession(m_window.get()), central);
        layout->addWidget(m_table);
        layout->addWidget(m_inspector);
        m_window->setCentralWidget(central);
        m_window->resize(1000, 700);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    void cleanup() {
        qDeleteAll(TextOutputWindow::openWindows());
        m_window.reset();
        m_application.reset();
    }

    void textRunOpensOutputWindow() {
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
        QSignalSpy runs(m_inspector, &Inspector::runStarted);
        m_table->setFocus();
        QTest::keyClick(m_table, Qt::Key_Return);
        QCOMPARE(runs.size(), 1);
        QVERIFY(m_inspector->optimizeButton()->isLoading());
        QVERIFY(!m_inspector->optimizeButton()->isEnabled());
        QTest::keyClick(m_table, Qt::Key_Return); // ignored while busy
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
        QTRY_VERIFY(!m_inspector->optimizeButton()->isLoading());
        QVERIFY(m_inspector->optimizeButton()->isEnabled());
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
        QTemporaryDir outputs;
        const QString mine = outputs.filePath(QStringLiteral("alarm.svg"));
        writeFile(mine, "mine");
        Profile profile = m_application->state()->profile();
        profile.mode = OperationMode::File;
        profile.overwrite = false;
        profile.outputFolder = QUrl::fromLocalFile(outputs.path());
        m_application->state()->setProfile(profile);

        QSignalSpy runs(m_inspector, &Inspector::runStarted);
        QTest::mouseClick(m_inspector->optimizeButton(), Qt::LeftButton);
        QMessageBox *question = nullptr;
        QTRY_VERIFY((question = m_window->findChild<QMessageBox *>()));
        QVERIFY(question->text().contains(QDir::toNativeSeparators(outputs.path())));
        QCOMPARE(runs.size(), 0);
        QVERIFY(clickButtonOf(question, answer));
        QTRY_VERIFY_WITH_TIMEOUT(!m_inspector->optimizeButton()->isLoading(), 120000);
        QCOMPARE(runs.size(), replaced ? 1 : 0);
        QCOMPARE(contents(mine), replaced ? m_optimized.at(0) : QByteArray("mine"));
        QCOMPARE(QFileInfo::exists(outputs.filePath(QStringLiteral("bag.svg"))), replaced);
    }

    void freshAccountOptimizesWithShippedSvgo() {
        // Nothing stored and no svgo on the login shell's PATH: only the shipped one is there.
        QTemporaryDir home;
        useLoginShellHome(home.path(), home.filePath(QStringLiteral("bin")));
        Keys::svgoExecutablePath().remove();
        MainWindow *window = openMainWindow(home.path(), {"alarm.svg", "bag.svg", "cake.svg"});
        QVERIFY(window);
        QVERIFY(!window->setupSheet());
        QCOMPARE(Keys::svgoExecutablePath().get(), ShippedTools::svgoPath());

        QSignalSpy runs(window->inspector(), &Inspector::runStarted);
        QTest::mouseClick(window->inspector()->optimizeButton(), Qt::LeftButton);
        QCOMPARE(runs.size(), 1);
        auto future = runs.first().first().value<QFuture<OptimizationResult>>();
        QTRY_VERIFY_WITH_TIMEOUT(future.isFinished(), 120000);
        QCOMPARE(future.result().count(FileResult::Status::Optimized), 3);
        Keys::svgoExecutablePath().set(svgo());
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
        MainWindow *window = openMainWindow(home.path(), {"alarm.svg"});
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

private:
    template <typename T> T *control(const char *name, const char *section = nullptr) const {
        QObject *scope = m_inspector->profileEditor();
        if (section)
            scope = scope->findChild<QWidget *>(QLatin1String(section));
        return scope->findChild<T *>(QLatin1String(name));
    }
    void typeInto(const char *section, const char *field, const QString &text) const {
        QTest::keyClicks(control<QLineEdit>(field, section), text);
    }

    // A main window of the application listing copies of `icons` in `folder`, once its svgo
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

    QTemporaryDir m_settings;
    QTemporaryDir m_folder;
    const QString m_markup = QStringLiteral("<ul>\r\n\t<li><svg/></li>\r\n</ul>");
    QStringList m_paths;
    QList<QByteArray> m_optimized; // what svgo makes of each file on its own
    std::unique_ptr<Application> m_application;
    std::unique_ptr<QMainWindow> m_window;
    SVGFileList *m_files = nullptr;
    QTableView *m_table = nullptr;
    Inspector *m_inspector = nullptr;
};

QTEST_MAIN(tst_EndToEnd)
#include "tst_endtoend.moc"
