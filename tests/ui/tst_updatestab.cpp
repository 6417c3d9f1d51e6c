#include "platform/AppcastUpdater.h"
#include "ui/UiTestSupport.h"
#include "ui/settings/UpdatesSettingsTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class TestUpdatesTab : public QObject {
    Q_OBJECT
    QTemporaryDir settingsDir;
    std::unique_ptr<AppcastUpdater> updater;
    std::unique_ptr<UpdatesSettingsTab> tab;

    void makeUpdater(const QUrl &feedUrl = {}) {
        AppcastUpdater::Options options;
        options.feedUrl = feedUrl;
        options.presentsDialogs = false;
        updater = std::make_unique<AppcastUpdater>(options);
    }

    void makeTab() {
        tab = std::make_unique<UpdatesSettingsTab>(updater.get());
        tab->show();
    }

private slots:
    void initTestCase() { useSettingsIn(settingsDir.path(), "UpdatesTab"); }

    void init() {
        QSettings().clear();
        makeUpdater();
    }

    void cleanup() {
        tab.reset();
        updater.reset();
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

QTEST_MAIN(TestUpdatesTab)
#include "tst_updatestab.moc"
