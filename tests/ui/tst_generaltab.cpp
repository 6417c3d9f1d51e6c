#include "model/Settings.h"
#include "platform/AppcastUpdater.h"
#include "ui/AppState.h"
#include "ui/Application.h"
#include "ui/UiTestSupport.h"
#include "ui/settings/GeneralSettingsTab.h"
#include "ui/settings/SettingsWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(SettingsTab)

// The General tab, and the settings window that opens on it.
class TestGeneralTab : public QObject {
    Q_OBJECT
private:
    QTemporaryDir settingsDir;
    std::unique_ptr<Application> application;

private slots:
    void initTestCase() {
        useSettingsIn(settingsDir.path(), "GeneralTab");
        AppcastUpdater::Options options;
        options.presentsDialogs = false;
        application = std::make_unique<Application>(new AppcastUpdater(options));
    }

    void cleanupTestCase() { application.reset(); }

    void copyAutomatically_data() {
        QTest::addColumn<bool>("stored");
        QTest::newRow("off") << false;
        QTest::newRow("on") << true;
    }
    void copyAutomatically() {
        QFETCH(bool, stored);
        Keys::copyTextOutputAutomatically().set(stored);
        GeneralSettingsTab tab;
        QCheckBox *box = tab.copyAutomaticallyBox();
        QCOMPARE(box->isChecked(), stored);
        box->click();
        QCOMPARE(Keys::copyTextOutputAutomatically().get(), !stored);
        // A change made elsewhere shows at once.
        Keys::copyTextOutputAutomatically().set(stored);
        QCOMPARE(box->isChecked(), stored);
    }

    void lineEnding() {
        Keys::lineEnding().remove();
        GeneralSettingsTab tab;
        QComboBox *picker = tab.lineEndingPicker();
        QCOMPARE(picker->currentData(), QVariant("crlf"));
        QTest::keyClick(picker, Qt::Key_Down);
        QCOMPARE(Keys::lineEnding().get(), "lf");
        // A change made elsewhere shows at once.
        Keys::lineEnding().set("crlf");
        QCOMPARE(picker->currentData(), QVariant("crlf"));
    }

    void windowOpensOnSelectedTab_data() {
        QTest::addColumn<SettingsTab>("tab");
        QTest::newRow("profiles") << SettingsTab::Profiles;
        QTest::newRow("advanced") << SettingsTab::Advanced;
    }
    void windowOpensOnSelectedTab() {
        QFETCH(SettingsTab, tab);
        application->state()->setSelectedSettingsTab(tab);
        application->openSettings();
        SettingsWindow *window = application->settingsWindow();
        QVERIFY(window->isVisible());
        QCOMPARE(window->currentTab(), tab);

        // The user's choice of tab goes back to the application, and a second open brings the
        // same window forward.
        window->tabWidget()->setCurrentIndex(int(SettingsTab::Updates));
        QCOMPARE(application->state()->selectedSettingsTab(), SettingsTab::Updates);
        window->hide();
        application->openSettings();
        QCOMPARE(application->settingsWindow(), window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->currentTab(), SettingsTab::Updates);
        window->hide();
    }
};

QTEST_MAIN(TestGeneralTab)
#include "tst_generaltab.moc"
