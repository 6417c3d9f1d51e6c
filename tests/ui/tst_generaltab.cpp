#include "model/Settings.h"
#include "platform/AppcastUpdater.h"
#include "ui/AppState.h"
#include "ui/Application.h"
#include "ui/UiTestSupport.h"
#include "ui/settings/GeneralSettingsTab.h"
#include "ui/settings/SettingsWindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
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

    // Settings fits the free area of its screen on every tab, and every button in a tab can be
    // scrolled into full view (the Profiles list's bar included).
    void everyTabFitsTheScreen_data() {
        QTest::addColumn<SettingsTab>("tab");
        QTest::newRow("general") << SettingsTab::General;
        QTest::newRow("profiles") << SettingsTab::Profiles;
        QTest::newRow("updates") << SettingsTab::Updates;
        QTest::newRow("advanced") << SettingsTab::Advanced;
    }
    void everyTabFitsTheScreen() {
        QFETCH(SettingsTab, tab);
        application->state()->setSelectedSettingsTab(tab);
        application->openSettings();
        SettingsWindow *window = application->settingsWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QRect available = window->screen()->availableGeometry();
        if (qEnvironmentVariable("QT_SCALE_FACTOR") == "2") // run by the test below
            QCOMPARE(available.size(), QSize(800, 500));
        QVERIFY(available.contains(window->frameGeometry()));

        const auto buttons =
            window->tabWidget()->currentWidget()->findChildren<QAbstractButton *>();
        QVERIFY(!buttons.isEmpty());
        for (QAbstractButton *button : buttons) {
            if (!button->isVisible())
                continue;
            for (QWidget *inside = button->parentWidget(); inside != window;
                 inside = inside->parentWidget())
                if (auto *area = qobject_cast<QScrollArea *>(inside))
                    area->ensureWidgetVisible(button, 0, 0);
            QVERIFY2(button->visibleRegion().boundingRect() == button->rect(),
                     qPrintable(button->text() + button->toolTip()));
        }
        window->hide();
    }

    // The same at twice the scale on a screen of 1600 × 1000 pixels, which is 800 × 500 then.
    // Both are fixed when the application starts, so a child process of this test checks them.
    void everyTabFitsTheScreenAtDoubleScale() {
        QTemporaryDir dir;
        QFile config(dir.filePath(QStringLiteral("screen.json")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(R"({"screens": [{"name": "Scaled", "x": 0, "y": 0, "width": 1600,)"
                     R"( "height": 1000, "logicalDpi": 96}]})");
        config.close();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                           QStringLiteral("offscreen:configfile=") + config.fileName());
        environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {"everyTabFitsTheScreen"});
        QVERIFY(child.waitForFinished(-1));
        const QByteArray output = child.readAll();
        QVERIFY2(child.exitCode() == 0 && output.contains("Totals: 6 passed, 0 failed"),
                 output.constData());
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
