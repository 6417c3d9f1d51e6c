#include "engine/SvgoResolver.h"
#include "model/Settings.h"
#include "ui/UiTestSupport.h"
#include "ui/components/CircularIndicator.h"
#include "ui/settings/AdvancedSettingsTab.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>

// Every lookup goes through a real zsh login shell that sees only the test's bin folder, so the
// test decides whether svgo and brew exist; the shipped svgo is the real one from tools/.
class TestAdvancedTab : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<AdvancedSettingsTab> tab;

    QString binPath() const { return home->filePath(QStringLiteral("bin")); }
    QString svgoPath() const { return binPath() + QStringLiteral("/svgo"); }

    // Shows the tab and waits until the dot describes the field's path.
    void showTab() {
        tab = std::make_unique<AdvancedSettingsTab>();
        QSignalSpy shown(tab.get(), &AdvancedSettingsTab::statusShown);
        tab->show();
        QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty() && !tab->isChecking(), 20000);
    }

private slots:
    void init() {
        home = std::make_unique<QTemporaryDir>();
        useSettingsIn(home->path(), "AdvancedTab");
        useLoginShellHome(home->path(), binPath());
        SvgoResolver::setShippedSvgo(QStringLiteral(MIRANDEL_SVGO));
    }

    void cleanup() { tab.reset(); }

    // The dot and its text describe the path in the field, not the search path.
    void status_data() {
        QTest::addColumn<QString>("stored"); // "%HOME%" stands for the case's home
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
        Keys::svgoExecutablePath().set(stored.replace("%HOME%", home->path()));
        showTab();

        fieldAfter.replace("%HOME%", home->path()).replace("%SHIPPED%", MIRANDEL_SVGO);
        QCOMPARE(tab->pathField()->text(), fieldAfter);
        QCOMPARE(Keys::svgoExecutablePath().get(), fieldAfter);
        QCOMPARE(tab->indicator()->color(), CircularIndicator::colorFor(works, true));
        QVERIFY2(tab->statusLabel()->text().contains(status.replace("%HOME%", home->path())),
                 qPrintable(tab->statusLabel()->text()));
    }

    void typingChecksAndUseInstalledVersion() {
        writeScript(svgoPath(), fakeSvgo);
        showTab();
        QVERIFY(!tab->useInstalledButton()->isEnabled());
        QSignalSpy shown(tab.get(), &AdvancedSettingsTab::statusShown);
        tab->pathField()->selectAll();
        QTest::keyClicks(tab->pathField(), QStringLiteral("~/bin"));
        // Orange while checking, then red: a folder is no program.
        QCOMPARE(tab->indicator()->color(), CircularIndicator::colorFor(false, false));
        QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty() && !tab->isChecking(), 20000);
        QVERIFY(tab->statusLabel()->text().contains(QStringLiteral("is a folder")));
        QCOMPARE(Keys::svgoExecutablePath().get(), binPath());

        QTest::mouseClick(tab->useInstalledButton(), Qt::LeftButton);
        QCOMPARE(tab->pathField()->text(), svgoPath());
        QVERIFY(!tab->useInstalledButton()->isEnabled());
    }
};

QTEST_MAIN(TestAdvancedTab)
#include "tst_advancedtab.moc"
