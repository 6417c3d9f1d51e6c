#include "model/Settings.h"
#include "platform/AppcastUpdater.h"
#include "ui/AppState.h"
#include "ui/Application.h"
#include "ui/UiTestSupport.h"
#include "ui/settings/GeneralSettingsTab.h"
#include "ui/settings/SettingsWindow.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(SettingsTab)

// The settings window opens on the tab chosen last.
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

    // Escape on an open drop-down closes only the drop-down; the next one closes the window.
    void escapeClosesTheDropDownFirst() {
        application->state()->setSelectedSettingsTab(SettingsTab::General);
        application->openSettings();
        SettingsWindow *window = application->settingsWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QComboBox *picker = window->generalTab()->lineEndingPicker();
        QTest::mouseClick(picker, Qt::LeftButton);
        QTRY_VERIFY(picker->view()->isVisible());
        QTest::keyClick(picker->view(), Qt::Key_Escape);
        QTRY_VERIFY(!picker->view()->isVisible());
        QVERIFY(window->isVisible());
        QTest::keyClick(picker, Qt::Key_Escape);
        QTRY_VERIFY(!window->isVisible());
    }
};

QTEST_MAIN(TestGeneralTab)
#include "tst_generaltab.moc"
