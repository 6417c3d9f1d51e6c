#include "model/Settings.h"
#include "ui/AdvancedSettingsTab.h"
#include "ui/components/AsyncButton.h"
#include "ui/components/CircularIndicator.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Every lookup goes through a real zsh login shell. Its home and ZDOTDIR are a temporary folder
// whose .zprofile puts only our own bin folder on the path, so the test decides whether svgo and
// brew exist.
class TestAdvancedTab : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<AdvancedSettingsTab> tab;

    QString binPath() const { return home->filePath(QStringLiteral("bin")); }
    QString svgoPath() const { return binPath() + QStringLiteral("/svgo"); }

    void writeScript(const QString &path, const QByteArray &body) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + body);
        file.close();
        QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
    }

    void installSvgo() { writeScript(svgoPath(), "exit 0\n"); }

    // A brew that "installs" svgo by writing it into the bin folder, or fails.
    void installBrew(bool succeeds) {
        QByteArray body = "[ \"$1 $2\" = \"install svgo\" ] || exit 2\n";
        if (succeeds)
            body += "printf '#!/bin/sh\\nexit 0\\n' > \"" + svgoPath().toUtf8() +
                    "\"\n/bin/chmod +x \"" + svgoPath().toUtf8() + "\"\n";
        else
            body += "exit 1\n";
        writeScript(binPath() + QStringLiteral("/brew"), body);
    }

    void showTab() {
        tab = std::make_unique<AdvancedSettingsTab>();
        tab->show();
    }

    bool shown(QWidget *widget) const { return widget->isVisibleTo(tab.get()); }

private slots:
    void initTestCase() {
        QVERIFY(QFile::exists(QStringLiteral("/bin/zsh")));
        QCoreApplication::setOrganizationName(QStringLiteral("MirandelTests"));
        QCoreApplication::setApplicationName(QStringLiteral("AdvancedTab"));
    }

    void init() {
        home = std::make_unique<QTemporaryDir>();
        QVERIFY(home->isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home->path());
        QVERIFY(QDir(home->path()).mkdir(QStringLiteral("bin")));
        QFile profile(home->filePath(QStringLiteral(".zprofile")));
        QVERIFY(profile.open(QIODevice::WriteOnly));
        profile.write("export PATH=\"" + binPath().toUtf8() + "\"\n");
        profile.close();
        qputenv("HOME", home->path().toUtf8());
        qputenv("ZDOTDIR", home->path().toUtf8());
        Keys::svgoExecutablePath().set(QStringLiteral("/custom/svgo"));
    }

    void cleanup() { tab.reset(); }

    void lookups_data() {
        QTest::addColumn<bool>("hasSvgo");
        QTest::addColumn<bool>("hasBrew");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("installOffered");
        QTest::newRow("svgo") << true << false << "Installed" << false;
        QTest::newRow("svgo and brew") << true << true << "Installed" << false;
        QTest::newRow("brew only") << false << true << "Not found" << true;
        QTest::newRow("neither") << false << false << "Not found" << false;
    }
    void lookups() {
        QFETCH(bool, hasSvgo);
        QFETCH(bool, hasBrew);
        QFETCH(QString, status);
        QFETCH(bool, installOffered);
        if (hasSvgo)
            installSvgo();
        if (hasBrew)
            installBrew(true);
        showTab();

        QCOMPARE(tab->statusLabel()->text(), status);
        QCOMPARE(tab->indicator()->color(), CircularIndicator::colorFor(hasSvgo, true));
        QCOMPARE(shown(tab->installButton()), installOffered);
        QCOMPARE(shown(tab->useInstalledButton()), hasSvgo);
        // A found svgo replaces the typed path, without the shell's line feed.
        const QString expected = hasSvgo ? svgoPath() : QStringLiteral("/custom/svgo");
        QCOMPARE(Keys::svgoExecutablePath().get(), expected);
        QCOMPARE(tab->pathField()->text(), expected);
        if (hasSvgo)
            QVERIFY(!tab->useInstalledButton()->isEnabled());
    }

    void useInstalledVersion() {
        showTab();
        QCOMPARE(tab->statusLabel()->text(), QStringLiteral("Not found"));
        // Installed while the tab was hidden: showing it again looks again.
        installSvgo();
        tab->hide();
        tab->show();
        QCOMPARE(tab->statusLabel()->text(), QStringLiteral("Installed"));
        tab->pathField()->selectAll();
        QTest::keyClicks(tab->pathField(), QStringLiteral("/opt/other/svgo"));
        QCOMPARE(Keys::svgoExecutablePath().get(), QStringLiteral("/opt/other/svgo"));
        QVERIFY(tab->useInstalledButton()->isEnabled());

        tab->useInstalledButton()->click();
        QCOMPARE(Keys::svgoExecutablePath().get(), svgoPath());
        QCOMPARE(tab->pathField()->text(), svgoPath());
        QVERIFY(!tab->useInstalledButton()->isEnabled());
    }

    void installWithHomebrew_data() {
        QTest::addColumn<bool>("succeeds");
        QTest::newRow("brew succeeds") << true;
        QTest::newRow("brew fails") << false;
    }
    void installWithHomebrew() {
        QFETCH(bool, succeeds);
        installBrew(succeeds);
        showTab();
        QVERIFY(shown(tab->installButton()));
        tab->installButton()->click();
        QVERIFY(tab->installButton()->isLoading());
        QTRY_VERIFY_WITH_TIMEOUT(!tab->installButton()->isLoading(), 20000);
        if (succeeds) {
            QTRY_COMPARE(tab->statusLabel()->text(), QStringLiteral("Installed"));
            QVERIFY(!shown(tab->installButton()));
            QVERIFY(shown(tab->useInstalledButton()));
            QVERIFY(!tab->useInstalledButton()->isEnabled());
            QCOMPARE(Keys::svgoExecutablePath().get(), svgoPath());
        } else {
            QTest::qWait(50);
            QCOMPARE(tab->statusLabel()->text(), QStringLiteral("Not found"));
            QVERIFY(shown(tab->installButton()));
            QCOMPARE(tab->installButton()->errorCount(), 0);
            QCOMPARE(Keys::svgoExecutablePath().get(), QStringLiteral("/custom/svgo"));
        }
    }
};

QTEST_MAIN(TestAdvancedTab)
#include "tst_advancedtab.moc"
