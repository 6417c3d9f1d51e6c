#include "model/Settings.h"
#include "ui/SetupSheet.h"
#include "ui/components/AsyncButton.h"

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

void writeScript(const QString &path, const QByteArray &body) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write("#!/bin/sh\n" + body);
    file.close();
    file.setPermissions(file.permissions() | QFile::ExeOwner);
}

} // namespace

// The sheet against the real login shell: a temporary home whose .zprofile puts a folder of the
// test's own scripts on PATH (a brew that installs an svgo there, or none at all).
class TestSetupSheet : public QObject {
    Q_OBJECT
private:
    QTemporaryDir home;
    QMainWindow window;
    std::unique_ptr<SetupSheet> sheet;

    QString bin() const { return home.filePath(QStringLiteral("bin")); }

    void resetBin() {
        QDir(bin()).removeRecursively();
        QVERIFY(QDir().mkpath(bin()));
    }

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
        QVERIFY(home.isValid());
        QCoreApplication::setOrganizationName(QStringLiteral("MirandelTest"));
        QCoreApplication::setApplicationName(QStringLiteral("tst_setupsheet"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
        qputenv("HOME", home.path().toUtf8());
        qputenv("ZDOTDIR", home.path().toUtf8());
        QFile profile(home.filePath(QStringLiteral(".zprofile")));
        QVERIFY(profile.open(QIODevice::WriteOnly));
        profile.write("export PATH='" + bin().toUtf8() + "'\n");
        profile.close();
        window.resize(800, 500);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    void init() {
        resetBin();
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
        if (!passes) {
            QMessageBox *alert = sheet->invalidInstallationAlert();
            QCOMPARE(alert->text(), QStringLiteral("SVGO could not be found"));
            QVERIFY(alert->informativeText().startsWith("The SVGO executable file could not be"));
            QCOMPARE(alert->buttons().size(), 1);
            alert->buttons().constFirst()->click();
            QTRY_VERIFY(!sheet->invalidInstallationAlert());
            QVERIFY(sheet->isVisible());
            QCOMPARE(Keys::svgoExecutablePath().get(), path);
        }
    }

    void fieldFollowsStoredPath() {
        openSheet();
        Keys::svgoExecutablePath().set(QStringLiteral("/usr/local/bin/svgo"));
        QTRY_COMPARE(sheet->pathField()->text(), QStringLiteral("/usr/local/bin/svgo"));
    }

    void installation_data() {
        QTest::addColumn<QByteArray>("brew"); // empty: no Homebrew at all
        QTest::addColumn<bool>("installs");
        QTest::newRow("brew installs svgo")
            << QByteArray("[ \"$1 $2\" = 'install svgo' ] || exit 2\n"
                          "printf '#!/bin/sh\\nexit 0\\n' > \"${0%/*}/svgo\"\n"
                          "/bin/chmod +x \"${0%/*}/svgo\"\n")
            << true;
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

        const bool hasBrew = !brew.isEmpty();
        QCOMPARE(sheet->homebrewStatus()->text(),
                 hasBrew ? QStringLiteral("Homebrew is installed")
                         : QStringLiteral("Homebrew was not installed"));
        QCOMPARE(sheet->installButton()->text(), hasBrew
                                                     ? QStringLiteral("Install SVGO using Homebrew")
                                                     : QStringLiteral("Install Homebrew and SVGO"));

        press(sheet->installButton());
        QCOMPARE(sheet->isVisible(), !installs);
        QCOMPARE(Keys::svgoExecutablePath().get(),
                 installs ? bin() + QStringLiteral("/svgo") : QStringLiteral("/typed/before"));
        QVERIFY(!sheet->invalidInstallationAlert());
    }
};

QTEST_MAIN(TestSetupSheet)
#include "tst_setupsheet.moc"
