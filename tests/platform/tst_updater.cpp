#include "platform/Appcast.h"
#include "platform/AppcastUpdater.h"
#include "platform/UpdateDialog.h"
#include "ui/UiTestSupport.h"

#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

using Outcome = AppcastUpdater::Result::Outcome;
Q_DECLARE_METATYPE(Outcome)

namespace {

const QByteArray enclosureBytes = QByteArrayLiteral("release archive bytes");

QByteArray feedDocument() {
    // The newest release is neither first nor last, so position must not decide.
    QByteArray feed = R"(<?xml version="1.0" encoding="utf-8"?>
<rss version="2.0" xmlns:sparkle="http://www.andymatuschak.org/xml-namespaces/sparkle">
<channel><title>Mirandel</title>
<item><title>1.9</title><sparkle:version>1.9</sparkle:version>
  <description><![CDATA[<p>Older notes</p>]]></description>
  <enclosure url="files/Mirandel-1.9.tar.gz" length="3"/></item>
<item><title>1.11</title><sparkle:version>1.11</sparkle:version>
  <sparkle:shortVersionString>1.11 Kestrel</sparkle:shortVersionString>
  <sparkle:releaseNotesLink>notes/1.11.html</sparkle:releaseNotesLink>
  <enclosure url="files/Mirandel-1.11.tar.gz" length="LENGTH"/></item>
<item><title>1.10</title><enclosure url="files/Mirandel-1.10.tar.gz" sparkle:version="1.10"/></item>
</channel></rss>)";
    return feed.replace("LENGTH", QByteArray::number(enclosureBytes.size()));
}

// Releases for different systems; moc cannot read raw strings inside the test class.
QByteArray minimumSystemFeed() {
    return R"(<rss xmlns:sparkle="http://www.andymatuschak.org/xml-namespaces/sparkle"><channel>
<item><sparkle:version>2.0</sparkle:version></item>
<item><sparkle:version>3.0</sparkle:version><sparkle:minimumSystemVersion>99.0</sparkle:minimumSystemVersion></item>
<item><sparkle:version>2.5</sparkle:version><sparkle:minimumSystemVersion>10.13</sparkle:minimumSystemVersion></item>
<item><title>no version, ignored</title></item>
</channel></rss>)";
}

// A minimal HTTP/1.1 server on 127.0.0.1: known paths get their body, "/silent" is accepted
// and never answered, anything else is a 404.
class FeedServer : public QObject {
public:
    FeedServer() {
        routes["/feed.xml"] = feedDocument();
        routes["/notes/1.11.html"] = "<h1>Kestrel</h1><p>Faster chunks.</p>";
        routes["/files/Mirandel-1.11.tar.gz"] = enclosureBytes;
        routes["/truncated.xml"] = feedDocument().left(300);
        routes["/page.html"] = "<html><body>Not a feed</body></html>";
        QObject::connect(&server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = server.nextPendingConnection())
                QObject::connect(socket, &QTcpSocket::readyRead, this,
                                 [this, socket] { answer(socket); });
        });
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    }
    QUrl url(const QString &path) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server.serverPort()).arg(path));
    }
    QHash<QByteArray, QByteArray> routes;
    QHash<QByteArray, int> requests;

private:
    void answer(QTcpSocket *socket) {
        QByteArray &buffer = pending[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n"))
            return;
        const QByteArray path = buffer.split(' ').value(1);
        ++requests[path];
        if (path == "/silent")
            return;
        const bool found = routes.contains(path);
        const QByteArray body = found ? routes.value(path) : QByteArray("not here");
        socket->write((found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") +
                      QByteArray("Content-Length: ") + QByteArray::number(body.size()) +
                      "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }
    QTcpServer server;
    QHash<QTcpSocket *, QByteArray> pending;
};

} // namespace

class UpdaterTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;
    std::unique_ptr<FeedServer> server;

    AppcastUpdater::Options options(const QString &path, const QString &currentVersion) const {
        AppcastUpdater::Options o;
        o.feedUrl = server->url(path);
        o.currentVersion = currentVersion;
        o.timeout = std::chrono::milliseconds(400);
        o.presentsDialogs = false;
        return o;
    }

private slots:
    void initTestCase() { useSettingsIn(settingsDir.path(), "tst_updater"); }
    void init() {
        QSettings().clear();
        server = std::make_unique<FeedServer>();
    }

    void compareVersions_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("expected");
        const char *const rows[][3] = {
            {"numeric, not textual", "1.10", "1.9"},
            {"extra part", "1.0.1", "1.0"},
            {"pre-release of next", "1.1b1", "1.0.9"},
            {"patch beats pre-release", "1.0.1", "1.0rc1"},
            {"huge number", "1.99999999999999999999", "1.9"},
            {"beta letter", "1.0", "1.0b1"},
            {"dash beta", "1.0", "1.0-beta"},
            {"beta numbers", "1.0b10", "1.0b2"},
            {"alpha before rc", "2.0rc1", "2.0a3"},
            {"build numbers", "1200", "245"},
        };
        for (const auto &[row, newer, older] : rows)
            QTest::newRow(row) << QString(newer) << QString(older) << 1;
        QTest::newRow("same") << QStringLiteral("2.3.1") << QStringLiteral("2.3.1") << 0;
        QTest::newRow("trailing zero") << QStringLiteral("1.0") << QStringLiteral("1.0.0") << 0;
        QTest::newRow("leading zeros") << QStringLiteral("1.02") << QStringLiteral("1.2") << 0;
    }
    void compareVersions() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, expected);
        QCOMPARE(Appcast::compareVersions(a, b), expected);
        QCOMPARE(Appcast::compareVersions(b, a), -expected);
    }

    void newestItem_data() {
        QTest::addColumn<QString>("runningSystem");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unknown system ignores minimums") << QString() << "3.0";
        QTest::newRow("recent system") << "14.2"
                                       << "2.5";
        QTest::newRow("old system") << "10.12.6"
                                    << "2.0";
    }
    void newestItem() {
        QFETCH(QString, runningSystem);
        QFETCH(QString, expected);
        const QByteArray feed = minimumSystemFeed();
        const auto items = Appcast::parse(feed);
        QVERIFY(items);
        QCOMPARE(items->size(), 3);
        const auto running =
            runningSystem.isEmpty() ? std::nullopt : std::optional<QString>(runningSystem);
        QCOMPARE(Appcast::newestItem(*items, running)->version, expected);
    }

    void check_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("currentVersion");
        QTest::addColumn<Outcome>("outcome");
        const auto row = [](const char *name, const char *path, const char *version, Outcome o) {
            QTest::newRow(name) << QString(path) << QString(version) << o;
        };
        row("newer", "/feed.xml", "1.10", Outcome::UpdateAvailable);
        row("pre-release of the newest", "/feed.xml", "1.11b2", Outcome::UpdateAvailable);
        row("equal", "/feed.xml", "1.11", Outcome::UpToDate);
        row("ahead of the feed", "/feed.xml", "2.0", Outcome::UpToDate);
        row("truncated feed", "/truncated.xml", "1.0", Outcome::Failed);
        row("not a feed", "/page.html", "1.0", Outcome::Failed);
        row("missing feed", "/gone.xml", "1.0", Outcome::Failed);
        row("server never answers", "/silent", "1.0", Outcome::Failed);
    }
    void check() {
        QFETCH(QString, path);
        QFETCH(QString, currentVersion);
        QFETCH(Outcome, outcome);
        AppcastUpdater updater(options(path, currentVersion));
        updater.start();
        QSignalSpy finished(&updater, &AppcastUpdater::checkFinished);
        QSignalSpy canCheck(&updater, &Updater::canCheckForUpdatesChanged);
        QVERIFY(!updater.lastUpdateCheckDate());
        const QDateTime before = QDateTime::currentDateTimeUtc().addMSecs(-1);

        updater.checkForUpdates();
        QVERIFY(!updater.canCheckForUpdates());
        updater.checkForUpdates(); // ignored while the first check runs
        QVERIFY(finished.wait(5000));
        QTest::qWait(50);

        QCOMPARE(finished.size(), 1);
        const auto result = finished.first().first().value<AppcastUpdater::Result>();
        QCOMPARE(result.outcome, outcome);
        QVERIFY(result.manual);
        QCOMPARE(result.error.isEmpty(), outcome != Outcome::Failed);
        QCOMPARE(canCheck.size(), 2); // off while checking, on again after
        QVERIFY(updater.canCheckForUpdates());
        QVERIFY(updater.lastUpdateCheckDate().value_or(QDateTime()) >= before);
        if (outcome == Outcome::UpdateAvailable) {
            QCOMPARE(result.item->version, QStringLiteral("1.11"));
            QCOMPARE(result.item->displayVersion(), QStringLiteral("1.11 Kestrel"));
            // Relative links resolve against the feed; linked notes are fetched with the check.
            QCOMPARE(result.item->enclosureUrl, server->url("/files/Mirandel-1.11.tar.gz"));
            QVERIFY(result.item->description.contains(QStringLiteral("Faster chunks.")));
        }
    }

    void skippedVersion_data() {
        QTest::addColumn<bool>("manual");
        QTest::addColumn<Outcome>("outcome");
        QTest::newRow("scheduled check stays quiet") << false << Outcome::SkippedVersion;
        QTest::newRow("manual check offers it again") << true << Outcome::UpdateAvailable;
    }
    void skippedVersion() {
        QFETCH(bool, manual);
        QFETCH(Outcome, outcome);
        AppcastUpdater updater(options("/feed.xml", "1.10"));
        QSignalSpy finished(&updater, &AppcastUpdater::checkFinished);
        QSettings().setValue("SUSkippedVersion", "1.11");
        updater.setAutomaticallyChecksForUpdates(!manual);
        updater.start(); // never checked before: a scheduled check is due at once
        if (manual)
            updater.checkForUpdates();
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.first().first().value<AppcastUpdater::Result>().outcome, outcome);
    }

    void scheduling_data() {
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<qint64>("secondsSinceLastCheck"); // negative: never checked
        QTest::addColumn<bool>("expectCheck");
        QTest::newRow("automatic checks off") << false << qint64(-1) << false;
        QTest::newRow("never checked") << true << qint64(-1) << true;
        QTest::newRow("interval passed") << true << qint64(90000) << true;
        QTest::newRow("checked recently") << true << qint64(600) << false;
        QTest::newRow("clock set back") << true << qint64(-7200) << true;
    }
    void scheduling() {
        QFETCH(bool, automatic);
        QFETCH(qint64, secondsSinceLastCheck);
        QFETCH(bool, expectCheck);
        QSettings settings;
        settings.setValue("SUEnableAutomaticChecks", automatic);
        if (secondsSinceLastCheck != -1) {
            const QDateTime last = QDateTime::currentDateTimeUtc().addSecs(-secondsSinceLastCheck);
            settings.setValue("SULastCheckTime", last.toString(Qt::ISODateWithMs));
        }
        settings.sync();
        AppcastUpdater updater(options("/feed.xml", "1.10"));
        QCOMPARE(updater.updateCheckInterval(), qint64(86400));
        QSignalSpy finished(&updater, &AppcastUpdater::checkFinished);
        updater.start();
        QCOMPARE(finished.wait(expectCheck ? 5000 : 300), expectCheck);
        if (expectCheck)
            QVERIFY(!finished.first().first().value<AppcastUpdater::Result>().manual);
    }

    void automaticDownload_data() {
        QTest::addColumn<QByteArray>("existing"); // already in the downloads folder
        QTest::addColumn<QString>("savedAs");
        QTest::addColumn<int>("fetches");
        QTest::newRow("empty folder") << QByteArray() << "Mirandel-1.11.tar.gz" << 1;
        QTest::newRow("someone else's file")
            << QByteArray("other") << "Mirandel-1.11-2.tar.gz" << 1;
        QTest::newRow("downloaded before") << enclosureBytes << "Mirandel-1.11.tar.gz" << 0;
    }
    void automaticDownload() {
        QFETCH(QByteArray, existing);
        QFETCH(QString, savedAs);
        QFETCH(int, fetches);
        QTemporaryDir downloads;
        if (!existing.isEmpty()) {
            QFile file(downloads.filePath("Mirandel-1.11.tar.gz"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(existing);
        }
        AppcastUpdater::Options o = options("/feed.xml", "1.10");
        o.downloadDirectory = downloads.path();
        AppcastUpdater updater(o);
        updater.setAutomaticallyChecksForUpdates(true);
        updater.setAutomaticallyDownloadsUpdates(true);
        QSignalSpy done(&updater, &AppcastUpdater::downloadFinished);
        updater.start();
        QVERIFY(done.wait(5000));
        QCOMPARE(done.first().first().toString(), downloads.filePath(savedAs));
        QFile saved(downloads.filePath(savedAs));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), enclosureBytes);
        QCOMPARE(server->requests.value("/files/Mirandel-1.11.tar.gz"), fetches);
        QVERIFY(QDir(downloads.path()).entryList({"*.download"}, QDir::Files).isEmpty());
    }

    void dialog_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("currentVersion");
        QTest::addColumn<QString>("heading");
        const auto row = [](const char *name, const char *path, const char *version,
                            const char *heading) {
            QTest::newRow(name) << QString(path) << QString(version) << QString(heading);
        };
        row("newer", "/feed.xml", "1.10", "A new version of tst_updater is available!");
        row("up to date", "/feed.xml", "1.11", "You’re up to date!");
        row("failure", "/gone.xml", "1.10", "Update Error!");
    }
    void dialog() {
        QFETCH(QString, path);
        QFETCH(QString, currentVersion);
        QFETCH(QString, heading);
        AppcastUpdater::Options o = options(path, currentVersion);
        o.presentsDialogs = true;
        AppcastUpdater updater(o);
        QSignalSpy finished(&updater, &AppcastUpdater::checkFinished);
        updater.checkForUpdates();
        QVERIFY(finished.wait(5000));
        QPointer<UpdateDialog> dialog = updater.currentDialog();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->heading(), heading);
        if (path == "/gone.xml")
            QVERIFY(!dialog->informativeText().isEmpty());
        if (currentVersion != "1.10" || path != "/feed.xml")
            return;
        QVERIFY(dialog->releaseNotesText().contains("Faster chunks."));
        const auto buttons = dialog->findChildren<QPushButton *>();
        const auto skip = std::find_if(buttons.begin(), buttons.end(), [](QPushButton *button) {
            return button->text() == "Skip This Version";
        });
        QVERIFY(skip != buttons.end());
        (*skip)->click();
        QCOMPARE(updater.skippedVersion(), QStringLiteral("1.11"));
        QTRY_VERIFY(!dialog);
    }
};

QTEST_MAIN(UpdaterTest)
#include "tst_updater.moc"
