#include "platform/AppcastUpdater.h"
#include "ui/UiTestSupport.h"
#include "ui/UpdatesSettingsTab.h"

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

    void downloadBoxFollowsChecks_data() {
        QTest::addColumn<bool>("downloads");
        QTest::newRow("downloads on") << true;
        QTest::newRow("downloads off") << false;
    }
    void downloadBoxFollowsChecks() {
        QFETCH(bool, downloads);
        updater->setAutomaticallyChecksForUpdates(false);
        updater->setAutomaticallyDownloadsUpdates(downloads);
        makeTab();
        QCheckBox *checks = tab->automaticChecksBox();
        QCheckBox *download = tab->automaticDownloadsBox();
        QVERIFY(!download->isEnabled());
        QCOMPARE(download->isChecked(), downloads);
        checks->click();
        QVERIFY(updater->automaticallyChecksForUpdates());
        QVERIFY(download->isEnabled());
        download->click();
        QCOMPARE(updater->automaticallyDownloadsUpdates(), !downloads);
        // Turning checks off again keeps the download choice, only greyed out.
        checks->click();
        QVERIFY(!download->isEnabled());
        QCOMPARE(download->isChecked(), !downloads);
    }

    void frequency_data() {
        QTest::addColumn<qint64>("interval");
        QTest::addColumn<int>("index");
        QTest::addColumn<qint64>("afterKeyDown");
        QTest::newRow("hourly") << qint64(3600) << 0 << qint64(86400);
        QTest::newRow("weekly") << qint64(604800) << 2 << qint64(2629800);
        QTest::newRow("two hours") << qint64(7200) << -1 << qint64(3600);
    }
    void frequency() {
        QFETCH(qint64, interval);
        QFETCH(int, index);
        QFETCH(qint64, afterKeyDown);
        updater->setUpdateCheckInterval(interval);
        makeTab();
        QComboBox *box = tab->frequencyBox();
        QCOMPARE(box->currentIndex(), index);
        QCOMPARE(box->currentText().isEmpty(), index < 0);
        // Showing the tab writes nothing back.
        QCOMPARE(updater->updateCheckInterval(), interval);

        // Picking an entry with the keyboard is a user's choice and goes to the updater.
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(updater->updateCheckInterval(), afterKeyDown);
    }

    void lastChecked_data() {
        QTest::addColumn<QDateTime>("checked");
        QTest::newRow("never") << QDateTime();
        QTest::newRow("once") << QDateTime(QDate(2024, 3, 9), QTime(14, 5), Qt::UTC);
    }
    void lastChecked() {
        QFETCH(QDateTime, checked);
        if (checked.isValid())
            QSettings().setValue("SULastCheckTime", checked.toString(Qt::ISODateWithMs));
        makeTab();
        QLabel *label = tab->lastCheckedLabel();
        QCOMPARE(label->isVisible(), checked.isValid());
        if (!checked.isValid())
            return;
        const QDateTime local = checked.toLocalTime();
        QVERIFY(label->text().startsWith(QStringLiteral("Last checked: ")));
        QVERIFY(label->text().contains(QLocale().toString(local.date(), QLocale::LongFormat)));
        QVERIFY(label->text().contains(QLocale().toString(local.time(), QLocale::ShortFormat)));
    }

    void withoutFeedNothingToCheck_data() {
        QTest::addColumn<bool>("hasFeed");
        QTest::newRow("no feed") << false;
        QTest::newRow("feed") << true;
    }
    void withoutFeedNothingToCheck() {
        QFETCH(bool, hasFeed);
        if (hasFeed)
            makeUpdater(QUrl(QStringLiteral("http://127.0.0.1:9/appcast.xml")));
        updater->start();
        makeTab();
        QCOMPARE(tab->unavailableLabel()->isVisible(), !hasFeed);
        QCOMPARE(tab->checkButton()->isEnabled(), hasFeed);
    }
};

QTEST_MAIN(TestUpdatesTab)
#include "tst_updatestab.moc"
