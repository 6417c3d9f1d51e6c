#include "model/Settings.h"
#include "ui/SetupSheet.h"
#include "ui/UiTestSupport.h"
#include "ui/components/AsyncButton.h"

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QTemporaryDir>

#include <memory>

// The sheet against the real login shell, which sees only the test's own scripts.
class TestSetupSheet : public QObject {
    Q_OBJECT
    QTemporaryDir home;
    QMainWindow window;
    std::unique_ptr<SetupSheet> sheet;

    QString bin() const { return home.filePath(QStringLiteral("bin")); }

    void openSheet() {
        sheet = std::make_unique<SetupSheet>(&window);
        sheet->open();
        QVERIFY(QTest::qWaitForWindowExposed(sheet.get()));
    }

    static void press(AsyncButton *button) {
        button->click();
        QTRY_VERIFY_WITH_TIMEOUT(!button->isLoading(), 30000);
    }

private slots:
    void initTestCase() {
        useSettingsIn(home.path(), "tst_setupsheet");
        useLoginShellHome(home.path(), bin());
        window.resize(800, 500);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    void init() {
        QDir(bin()).removeRecursively();
        QVERIFY(QDir().mkpath(bin()));
        Keys::svgoExecutablePath().remove();
    }

    void cleanup() { sheet.reset(); }

    void typedPathIsStoredAndChecked_data() {
        QTest::addColumn<QByteArray>("script"); // empty: type no path at all
        QTest::addColumn<bool>("passes");
        QTest::newRow("program exits 0") << QByteArray("exit 0\n") << true;
        QTest::newRow("program exits 1") << QByteArray("exit 1\n") << false;
        QTest::newRow("program killed") << QByteArray("kill -9 $$\n") << false;
        QTest::newRow("empty field") << QByteArray() << false;
    }
    void typedPathIsStoredAndChecked() {
        QFETCH(QByteArray, script);
        QFETCH(bool, passes);
        openSheet();
        QString path;
        if (!script.isEmpty()) {
            path = bin() + QStringLiteral("/my svgo");
            writeScript(path, script);
            QTest::keyClicks(sheet->pathField(), path);
        }
        // Stored on every keystroke, before any check.
        QCOMPARE(Keys::svgoExecutablePath().get(), path);

        press(sheet->checkButton());
        QCOMPARE(sheet->isVisible(), !passes);
        QCOMPARE(sheet->invalidInstallationAlert() != nullptr, !passes);
        if (passes)
            return;
        QMessageBox *alert = sheet->invalidInstallationAlert();
        QCOMPARE(alert->text(), QStringLiteral("SVGO could not be found"));
        alert->buttons().constFirst()->click();
        QTRY_VERIFY(!sheet->invalidInstallationAlert());
        QVERIFY(sheet->isVisible());
        QCOMPARE(Keys::svgoExecutablePath().get(), path);
    }

    void fieldFollowsStoredPath() {
        openSheet();
        Keys::svgoExecutablePath().set(QStringLiteral("/usr/local/bin/svgo"));
        QTRY_COMPARE(sheet->pathField()->text(), QStringLiteral("/usr/local/bin/svgo"));
    }

    void installation_data() {
        QTest::addColumn<QByteArray>("brew"); // empty: no Homebrew at all
        QTest::addColumn<bool>("installs");
        QTest::newRow("brew installs svgo") << installingBrew << true;
        QTest::newRow("brew fails") << QByteArray("echo 'Error: no bottle' >&2\nexit 1\n") << false;
        QTest::newRow("no Homebrew") << QByteArray() << false;
    }
    void installation() {
        QFETCH(QByteArray, brew);
        QFETCH(bool, installs);
        if (!brew.isEmpty())
            writeScript(bin() + QStringLiteral("/brew"), brew);
        Keys::svgoExecutablePath().set(QStringLiteral("/typed/before"));
        openSheet();
        QCOMPARE(sheet->installButton()->text(),
                 brew.isEmpty() ? QStringLiteral("Install Homebrew and SVGO")
                                : QStringLiteral("Install SVGO using Homebrew"));

        press(sheet->installButton());
        QCOMPARE(sheet->isVisible(), !installs);
        // The stored path is the shell's answer without its line feed.
        QCOMPARE(Keys::svgoExecutablePath().get(),
                 installs ? bin() + QStringLiteral("/svgo") : QStringLiteral("/typed/before"));
        QVERIFY(!sheet->invalidInstallationAlert());
    }
};

QTEST_MAIN(TestSetupSheet)
#include "tst_setupsheet.moc"
