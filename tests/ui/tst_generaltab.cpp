#include "model/Settings.h"
#include "platform/AppcastUpdater.h"
#include "ui/AppState.h"
#include "ui/Application.h"
#include "ui/UiTestSupport.h"
#include "ui/settings/GeneralSettingsTab.h"
#include "ui/settings/SettingsWindow.h"
#include "ui/settings/UpdatesSettingsTab.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(SettingsTab)

// The settings window, which opens on the tab chosen last and fits its screen, and what the
// General and Updates tabs store.
class TestGeneralTab : public QObject {
    Q_OBJECT
private:
    QTemporaryDir settingsDir;
    std::unique_ptr<Application> application;
    // An updater of the Updates tab's own, apart from the application's.
    std::unique_ptr<AppcastUpdater> updater;
    std::unique_ptr<UpdatesSettingsTab> tab;

    void makeTab() {
        tab = std::make_unique<UpdatesSettingsTab>(updater.get());
        tab->show();
    }

private slots:
    void initTestCase() {
        useSettingsIn(settingsDir.path(), "GeneralTab");
        AppcastUpdater::Options options;
        options.presentsDialogs = false;
        application = std::make_unique<Application>(new AppcastUpdater(options));
    }

    void init() {
        QSettings().clear();
        AppcastUpdater::Options options;
        options.presentsDialogs = false;
        updater = std::make_unique<AppcastUpdater>(options);
    }

    void cleanup() {
        tab.reset();
        updater.reset();
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

    // Settings fits the free area of its screen on every tab, and every button in a tab can be
    // scrolled into full view (the Profiles list's bar included). Twice the scale on a screen
    // of 1600 × 1000 pixels, which is 800 × 500 then, is fixed when the application starts, so
    // a child process of this test checks that.
    void everyTabFitsTheScreen_data() {
        QTest::addColumn<bool>("doubleScale");
        QTest::newRow("as started") << false;
        QTest::newRow("double scale") << true;
    }
    void everyTabFitsTheScreen() {
        QFETCH(bool, doubleScale);
        if (doubleScale) {
            QTemporaryDir dir;
            QFile config(dir.filePath("screen.json"));
            QVERIFY(config.open(QIODevice::WriteOnly));
            config.write(R"({"screens": [{"width": 1600, "height": 1000}]})");
            config.close();
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName());
            environment.insert("QT_SCALE_FACTOR", "2");
            child.setProcessEnvironment(environment);
            child.setProcessChannelMode(QProcess::MergedChannels);
            child.start(QCoreApplication::applicationFilePath(),
                        {"everyTabFitsTheScreen:as started"});
            QVERIFY(child.waitForFinished(-1));
            const QByteArray output = child.readAll();
            QVERIFY2(output.contains("Totals: 3 passed, 0 failed"), output.constData());
            return;
        }
        SettingsWindow *window = application->settingsWindow();
        for (int tab = 0; tab < window->tabWidget()->count(); ++tab) {
            application->state()->setSelectedSettingsTab(SettingsTab(tab));
            application->openSettings();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            const QRect available = window->screen()->availableGeometry();
            if (qEnvironmentVariable("QT_SCALE_FACTOR") == "2")
                QCOMPARE(available.size(), QSize(800, 500));
            QVERIFY(available.contains(window->frameGeometry()));
            const auto buttons =
                window->tabWidget()->currentWidget()->findChildren<QAbstractButton *>();
            QVERIFY(!buttons.isEmpty());
            for (QAbstractButton *button : buttons) {
                for (QWidget *in = button->parentWidget(); button->isVisible() && in != window;
                     in = in->parentWidget())
                    if (auto *area = qobject_cast<QScrollArea *>(in))
                        area->ensureWidgetVisible(button, 0, 0);
                QVERIFY(!button->isVisible() ||
                        button->visibleRegion().boundingRect() == button->rect());
            }
        }
        window->hide();
    }

    // The results cache is turned off and on by its box, and the box follows the store.
    void cacheResultsBox() {
        GeneralSettingsTab tab;
        tab.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tab));
        QCheckBox *box = tab.cacheResultsBox();
        QVERIFY(box->isChecked());
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        QCOMPARE(Keys::cacheResults().get(), false);
        Keys::cacheResults().set(true);
        QVERIFY(box->isChecked());
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

    // The download choice only applies with checks on; turning checks off keeps it, greyed out.
    void downloadBoxFollowsChecks() {
        updater->setAutomaticallyDownloadsUpdates(true);
        makeTab();
        QCheckBox *checks = tab->automaticChecksBox();
        QCheckBox *download = tab->automaticDownloadsBox();
        QVERIFY(!download->isEnabled());
        QVERIFY(download->isChecked());
        checks->click();
        QVERIFY(updater->automaticallyChecksForUpdates());
        QVERIFY(download->isEnabled());
        download->click();
        QVERIFY(!updater->automaticallyDownloadsUpdates());
        checks->click();
        QVERIFY(!download->isEnabled());
        QVERIFY(!download->isChecked());
    }

    // The stored interval shows as its entry, or as a blank when the list lacks it, and is not
    // written back; a choice made with the keyboard goes to the updater.
    void frequency_data() {
        QTest::addColumn<qint64>("interval");
        QTest::newRow("listed") << qint64(604800);
        QTest::newRow("not listed") << qint64(7200);
    }
    void frequency() {
        QFETCH(qint64, interval);
        updater->setUpdateCheckInterval(interval);
        makeTab();
        QComboBox *box = tab->frequencyBox();
        QCOMPARE(box->currentIndex(), box->findData(interval));
        QCOMPARE(box->currentText().isEmpty(), box->findData(interval) < 0);
        QCOMPARE(updater->updateCheckInterval(), interval);
        QTest::keyClick(box, Qt::Key_Down);
        QVERIFY(box->currentData().toLongLong() != interval);
        QCOMPARE(updater->updateCheckInterval(), box->currentData().toLongLong());
    }
};

QTEST_MAIN(TestGeneralTab)
#include "tst_generaltab.moc"
