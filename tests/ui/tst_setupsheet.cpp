#include "engine/SvgoResolver.h"
#include "model/Settings.h"
#include "ui/UiTestSupport.h"
#include "ui/components/AsyncButton.h"
#include "ui/components/CircularIndicator.h"
#include "ui/main/SetupSheet.h"
#include "ui/settings/AdvancedSettingsTab.h"

// The setup sheet, and the settings' Advanced tab, which find svgo and say what they found.
// Every lookup goes through a real zsh login shell that sees only the test's bin folder, so the
// test decides whether svgo, brew and npm exist; the shipped svgo is the real one from tools/.
class TestSetupSheet : public QObject {
    Q_OBJECT
    QTemporaryDir home;
    QMainWindow window;
    std::unique_ptr<SetupSheet> sheet;
    std::unique_ptr<AdvancedSettingsTab> advanced;

    QString bin() const { return home.filePath(QStringLiteral("bin")); }
    QString svgoPath() const { return bin() + QStringLiteral("/svgo"); }

    // Shows the Advanced tab and waits until the dot describes the field's path.
    void showTab() {
        advanced = std::make_unique<AdvancedSettingsTab>();
        QSignalSpy shown(advanced.get(), &AdvancedSettingsTab::statusShown);
        advanced->show();
        QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty() && !advanced->isChecking(), 20000);
    }

    // Opens a new sheet, or the one put away before, and waits until it knows what it offers.
    void openSheet(bool again = false) {
        if (!again)
            sheet = std::make_unique<SetupSheet>(&window);
        QSignalSpy lookedUp(sheet.get(), &SetupSheet::installerLookedUp);
        sheet->open();
        QVERIFY(QTest::qWaitForWindowExposed(sheet.get()));
        QTRY_VERIFY_WITH_TIMEOUT(!lookedUp.isEmpty(), 20000);
    }

    // No row squeezed below its size hint, no wrapped paragraph shorter than its text at the
    // width it got, the quit button's row included.
    void verifyNothingIsCutOff() {
        QAction quit(QStringLiteral("Quit"));
        quit.setMenuRole(QAction::QuitRole);
        sheet->addAction(&quit);
        QVERIFY(sheet->installSection()->isVisible());
        int checked = 0;
        for (QWidget *child : sheet->findChildren<QWidget *>()) {
            // The clear button is sized by the line edit itself, not by the sheet's layout.
            if (!child->isVisible() || child->isWindow() || sheet->pathField()->isAncestorOf(child))
                continue;
            const QByteArray name = child->metaObject()->className();
            // A wrapped paragraph's size hint is for a width of its own choosing, not this one.
            const int needed = child->hasHeightForWidth() ? child->heightForWidth(child->width())
                                                          : child->sizeHint().height();
            QVERIFY2(child->height() >= needed, name + " " + QByteArray::number(child->height()));
            ++checked;
        }
        QVERIFY(checked > 10);
    }

    static void press(AsyncButton *button) {
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!button->isLoading(), 30000);
    }

private slots:
    void initTestCase() {
        useSettingsIn(home.path(), "tst_setupsheet");
        useLoginShellHome(home.path(), bin());
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
        SvgoResolver::setShippedSvgo(QStringLiteral(MIRANDEL_SVGO));
        window.resize(800, 500);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    void init() {
        // What an install put there last time is gone too.
        QDir(home.filePath(QStringLiteral("data"))).removeRecursively();
        QDir(bin()).removeRecursively();
        QVERIFY(QDir().mkpath(bin()));
        Keys::svgoExecutablePath().set(QStringLiteral("/typed/before"));
    }

    void cleanup() {
        sheet.reset();
        advanced.reset();
    }

    // Homebrew where it exists, else npm, else the packages that bring npm; either install
    // closes the sheet with the installed svgo stored, a failure says why and changes nothing.
    // Whatever is offered fits the sheet.
    void installs_data() {
        QTest::addColumn<QByteArray>("brew"); // empty: none
        QTest::addColumn<QByteArray>("npm");  // empty: none
        QTest::addColumn<QString>("button");  // empty: no install offered
        QTest::addColumn<QString>("installed");
        QTest::newRow("brew installs svgo")
            << installingBrew << QByteArray("exit 1\n") << QString("Install SVGO using Homebrew")
            << home.filePath("bin/svgo");
        QTest::newRow("brew fails")
            << QByteArray("echo 'Error: no bottle' >&2\nexit 1\n") << QByteArray()
            << QString("Install SVGO using Homebrew") << QString();
        // npm installs into a folder of its own that replaces the installation once complete.
        QTest::newRow("npm installs svgo")
            << QByteArray()
            << QByteArray("case \"$7 $8\" in \"$HOME\"/data/mirandel/.svgo-installing-*' svgo@4') "
                          ";; *) exit 2;; esac\nmkdir -p \"$7/bin\" && printf '#!/bin/sh\\necho "
                          "4.1.0\\n' > "
                          "\"$7/bin/svgo\" && /bin/chmod +x \"$7/bin/svgo\"\n")
            << QString("Install SVGO with npm") << home.filePath("data/mirandel/svgo/bin/svgo");
        QTest::newRow("npm fails mid-install")
            << QByteArray()
            << QByteArray("mkdir -p \"$7/lib\"; echo 'npm ERR! code E404' >&2; exit 1\n")
            << QString("Install SVGO with npm") << QString();
        QTest::newRow("neither") << QByteArray() << QByteArray() << QString() << QString();
    }
    void installs() {
        QFETCH(QByteArray, brew);
        QFETCH(QByteArray, npm);
        QFETCH(QString, button);
        QFETCH(QString, installed);
        if (!brew.isEmpty())
            writeScript(bin() + QStringLiteral("/brew"), brew);
        if (!npm.isEmpty())
            writeScript(bin() + QStringLiteral("/npm"), "PATH=/usr/bin:/bin\n" + npm);
        openSheet();
        verifyNothingIsCutOff();
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(sheet->installButton()->isVisibleTo(sheet.get()), !button.isEmpty());
        QCOMPARE(sheet->packagesHint()->isVisibleTo(sheet.get()), button.isEmpty());
        if (button.isEmpty())
            return;
        QCOMPARE(sheet->installButton()->text(), button);

        press(sheet->installButton());
        QCOMPARE(sheet->isVisible(), installed.isEmpty());
        QCOMPARE(Keys::svgoExecutablePath().get(),
                 installed.isEmpty() ? QStringLiteral("/typed/before") : installed);
        QCOMPARE(sheet->alert() != nullptr, installed.isEmpty());
        if (sheet->alert())
            QVERIFY(sheet->alert()->informativeText().contains(QRegularExpression("ERR!|Error")));
        // Nothing half-installed beside the installations.
        QCOMPARE(QDir(home.filePath("data/mirandel"))
                     .entryList({".svgo-*"}, QDir::AllEntries | QDir::Hidden),
                 QStringList());
    }

    // The typed path is stored on every keystroke (`~/` expanded, nothing else changed) and
    // checked with --version; a failed check says why and keeps the sheet.
    void typedPathIsStoredAndChecked_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("problem"); // empty: passes
        QTest::newRow("svgo, path with spaces and %") << fakeSvgo << QString();
        QTest::newRow("too old") << QByteArray("echo 3.2.0\n") << QString("3.2.0 is too old");
    }
    void typedPathIsStoredAndChecked() {
        QFETCH(QByteArray, script);
        QFETCH(QString, problem);
        openSheet();
        sheet->pathField()->selectAll();
        QTest::keyClick(sheet->pathField(), Qt::Key_Backspace);
        writeScript(bin() + QStringLiteral("/my svgo%20"), script);
        QTest::keyClicks(sheet->pathField(), QStringLiteral("~/bin/my svgo%20"));
        QCOMPARE(Keys::svgoExecutablePath().get(), bin() + "/my svgo%20");
        QCOMPARE(sheet->pathField()->text(), QStringLiteral("~/bin/my svgo%20"));

        press(sheet->checkButton());
        QCOMPARE(sheet->isVisible(), !problem.isEmpty());
        QCOMPARE(sheet->alert() != nullptr, !problem.isEmpty());
        if (problem.isEmpty())
            return;
        QVERIFY2(sheet->alert()->informativeText().contains(problem),
                 qPrintable(sheet->alert()->informativeText()));
        sheet->alert()->buttons().constFirst()->click();
        QTRY_VERIFY(!sheet->alert());
        QVERIFY(sheet->isVisible());
    }

    // Without svgo the sheet can still be put away, and shown again later.
    void dismisses_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Esc") << QString("Esc");
        QTest::newRow("window close") << QString("close");
        QTest::newRow("Not Now") << QString("Not Now");
    }
    void dismisses() {
        QFETCH(QString, how);
        openSheet();
        QSignalSpy rejected(sheet.get(), &QDialog::rejected);
        if (how == "Esc")
            QTest::keyClick(sheet->pathField(), Qt::Key_Escape);
        else if (how == "close")
            QVERIFY(sheet->close());
        else
            QTest::mouseClick(sheet->notNowButton(), Qt::LeftButton);
        QVERIFY(!sheet->isVisible());
        QCOMPARE(rejected.count(), 1);
        QCOMPARE(Keys::svgoExecutablePath().get(), QStringLiteral("/typed/before"));

        openSheet(true);
        QVERIFY(sheet->isVisible());
    }

    // The quit button appears only with a quit action, and quits through it.
    void quitButtonTriggersTheQuitAction() {
        openSheet();
        QVERIFY(!sheet->quitButton()->isVisible());
        QAction other(QStringLiteral("Other"));
        other.setMenuRole(QAction::NoRole);
        sheet->addAction(&other);
        QVERIFY(!sheet->quitButton()->isVisible());

        QAction quit(QStringLiteral("Quit"));
        quit.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
        quit.setMenuRole(QAction::QuitRole);
        sheet->addAction(&quit);
        QVERIFY(sheet->quitButton()->isVisible());
        QCOMPARE(sheet->quitButton()->toolTip(),
                 quit.shortcut().toString(QKeySequence::NativeText));
        QSignalSpy triggered(&quit, &QAction::triggered);
        QSignalSpy otherTriggered(&other, &QAction::triggered);
        QTest::mouseClick(sheet->quitButton(), Qt::LeftButton);
        QCOMPARE(triggered.count(), 1);
        QCOMPARE(otherTriggered.count(), 0);
        // The shortcut works while the sheet has the focus.
        QTest::keyClick(sheet->pathField(), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(triggered.count(), 2);
    }

    // The dot and its text describe the path in the field, not the search path.
    void status_data() {
        QTest::addColumn<QString>("stored"); // "%HOME%" stands for the test's home
        QTest::addColumn<QByteArray>("svgoOnPath");
        QTest::addColumn<QString>("fieldAfter"); // "%SHIPPED%": the shipped svgo
        QTest::addColumn<bool>("works");
        QTest::addColumn<QString>("status");
        QTest::newRow("nothing stored, none on PATH: the shipped one is taken")
            << "" << QByteArray() << "%SHIPPED%" << true << "SVGO 4.1.0, shipped with Mirandel";
        QTest::newRow("nothing stored: the login shell's is taken")
            << "" << fakeSvgo << "%HOME%/bin/svgo" << true
            << "SVGO 4.1.0, found on the login shell's PATH\nRuns svgo's command line (not an svgo "
               "Node package).";
        // It stays for the user to mend, but runs take the svgo found instead, and say so.
        QTest::newRow("a missing custom path stays, red")
            << "%HOME%/gone" << fakeSvgo << "%HOME%/gone" << false
            << "There is no file at %HOME%/gone.\nOptimizing uses the svgo found on the login "
               "shell's PATH instead: %HOME%/bin/svgo";
    }
    void status() {
        QFETCH(QString, stored);
        QFETCH(QByteArray, svgoOnPath);
        QFETCH(QString, fieldAfter);
        QFETCH(bool, works);
        QFETCH(QString, status);
        if (!svgoOnPath.isEmpty())
            writeScript(svgoPath(), svgoOnPath);
        Keys::svgoExecutablePath().set(stored.replace("%HOME%", home.path()));
        showTab();

        fieldAfter.replace("%HOME%", home.path()).replace("%SHIPPED%", MIRANDEL_SVGO);
        QCOMPARE(advanced->pathField()->text(), fieldAfter);
        QCOMPARE(Keys::svgoExecutablePath().get(), fieldAfter);
        QCOMPARE(advanced->indicator()->color(), CircularIndicator::colorFor(works, true));
        QVERIFY2(advanced->statusLabel()->text().contains(status.replace("%HOME%", home.path())),
                 qPrintable(advanced->statusLabel()->text()));
    }

    void typingChecksAndUseInstalledVersion() {
        Keys::svgoExecutablePath().remove();
        writeScript(svgoPath(), fakeSvgo);
        showTab();
        QVERIFY(!advanced->useInstalledButton()->isEnabled());
        QSignalSpy shown(advanced.get(), &AdvancedSettingsTab::statusShown);
        advanced->pathField()->selectAll();
        QTest::keyClicks(advanced->pathField(), QStringLiteral("~/bin"));
        // Orange while checking, then red: a folder is no program.
        QCOMPARE(advanced->indicator()->color(), CircularIndicator::colorFor(false, false));
        QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty() && !advanced->isChecking(), 20000);
        QVERIFY(advanced->statusLabel()->text().contains(QStringLiteral("is a folder")));
        QCOMPARE(Keys::svgoExecutablePath().get(), bin());

        QTest::mouseClick(advanced->useInstalledButton(), Qt::LeftButton);
        QCOMPARE(advanced->pathField()->text(), svgoPath());
        QVERIFY(!advanced->useInstalledButton()->isEnabled());
    }
};

QTEST_MAIN(TestSetupSheet)
#include "tst_setupsheet.moc"
