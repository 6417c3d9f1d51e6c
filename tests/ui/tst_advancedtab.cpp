#include "model/Settings.h"
#include "ui/AdvancedSettingsTab.h"
#include "ui/UiTestSupport.h"
#include "ui/components/AsyncButton.h"
#include "ui/components/CircularIndicator.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <memory>

// Every lookup goes through a real zsh login shell that sees only the test's bin folder, so the
// test decides whether svgo and brew exist.
class TestAdvancedTab : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<AdvancedSettingsTab> tab;

    QString binPath() const { return home->filePath(QStringLiteral("bin")); }
    QString svgoPath() const { return binPath() + QStringLiteral("/svgo"); }
    void installSvgo() { writeScript(svgoPath(), "exit 0\n"); }
    void installBrew(bool succeeds) {
        writeScript(binPath() + QStringLiteral("/brew"), succeeds ? installingBrew : "exit 1\n");
    }
    void showTab() {
        tab = std::make_unique<AdvancedSettingsTab>();
        tab->show();
    }
    bool shown(QWidget *widget) const { return widget->isVisibleTo(tab.get()); }

private slots:
    void init() {
        home = std::make_unique<QTemporaryDir>();
        useSettingsIn(home->path(), "AdvancedTab");
        useLoginShellHome(home->path(), binPath());
        Keys::svgoExecutablePath().set(QStringLiteral("/custom/svgo"));
    }

    void cleanup() { tab.reset(); }

    void lookups_data() {
        QTest::addColumn<bool>("hasSvgo");
        QTest::addColumn<bool>("hasBrew");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("installOffered");
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
        tab->installButton()->click();
        QVERIFY(tab->installButton()->isLoading());
        QTRY_VERIFY_WITH_TIMEOUT(!tab->installButton()->isLoading(), 20000);
        QTRY_COMPARE(tab->statusLabel()->text(), QString(succeeds ? "Installed" : "Not found"));
        QCOMPARE(shown(tab->installButton()), !succeeds);
        QCOMPARE(Keys::svgoExecutablePath().get(),
                 succeeds ? svgoPath() : QStringLiteral("/custom/svgo"));
        QCOMPARE(tab->installButton()->errorCount(), 0);
    }
};

QTEST_MAIN(TestAdvancedTab)
#include "tst_advancedtab.moc"
