// The platform layer: the update checker against a feed served on this machine, and the symbol
// icons the windows ask for.

#include "platform/Appcast.h"
#include "platform/AppcastUpdater.h"
#include "platform/SymbolIcons.h"
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
const QString archive = QStringLiteral("Mirandel-1.11.tar.gz");

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
// and never answered, anything else is a 404. A path in `cutAfter` announces its whole body but
// hangs up after that many bytes of it.
class FeedServer : public QObject {
public:
    FeedServer() {
        routes["/feed.xml"] = feedDocument();
        routes["/notes/1.11.html"] = "<h1>Kestrel</h1><p>Faster chunks.</p>";
        routes["/files/Mirandel-1.11.tar.gz"] = enclosureBytes;
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
    QHash<QByteArray, int> cutAfter;
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
                      "\r\nConnection: close\r\n\r\n" +
                      body.left(cutAfter.value(path, body.size())));
        socket->disconnectFromHost();
    }
    QTcpServer server;
    QHash<QTcpSocket *, QByteArray> pending;
};

} // namespace

class PlatformTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;
    std::unique_ptr<FeedServer> server;

    AppcastUpdater::Options options(const QString &path, const QString &currentVersion) const {
        AppcastUpdater::Options o;
        o.feedUrl = server->url(path);
        o.currentVersion = currentVersion;
        o.timeout = std::chrono::milliseconds(400);
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
            {"patch beats pre-release", "1.0.1", "1.0rc1"},
            {"huge number", "1.99999999999999999999", "1.9"},
            {"dash beta", "1.0", "1.0-beta"},
            {"beta numbers", "1.0b10", "1.0b2"},
            {"alpha before rc", "2.0rc1", "2.0a3"},
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
        QTest::newRow("recent system") << QString("14.2") << QString("2.5");
        QTest::newRow("old system") << QString("10.12.6") << QString("2.0");
    }
    void newestItem() {
        QFETCH(QString, runningSystem);
        QFETCH(QString, expected);
        const auto items = Appcast::parse(minimumSystemFeed());
        QVERIFY(items);
        QCOMPARE(items->size(), 3);
        const auto running =
            runningSystem.isEmpty() ? std::nullopt : std::optional<QString>(runningSystem);
        QCOMPARE(Appcast::newestItem(*items, running)->version, expected);
    }

    // A skipped version stays quiet for scheduled checks only; a scheduled check is due at once
    // when there was none before. A check asked for by hand always answers in a window.
    void check_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("currentVersion");
        QTest::addColumn<bool>("manual");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("window"); // the heading of the window shown; empty: none
        const QString offer = "A new version of tst_updater is available!";
        const QString upToDate = "You’re up to date!", error = "Update Error!";
        const auto row = [](const char *name, const char *path, const char *version, bool manual,
                            Outcome o, const QString &window) {
            QTest::newRow(name) << QString(path) << QString(version) << manual << o << window;
        };
        row("newer", "/feed.xml", "1.10", true, Outcome::UpdateAvailable, offer);
        row("equal", "/feed.xml", "1.11", true, Outcome::UpToDate, upToDate);
        row("not a feed", "/page.html", "1.0", true, Outcome::Failed, error);
        row("missing feed", "/gone.xml", "1.0", true, Outcome::Failed, error);
        row("server never answers", "/silent", "1.0", true, Outcome::Failed, error);
        row("scheduled, failing quietly", "/gone.xml", "1.0", false, Outcome::Failed, {});
        row("skipped, scheduled", "/feed.xml", "1.10", false, Outcome::SkippedVersion, {});
        row("skipped, asked by hand", "/feed.xml", "1.10", true, Outcome::UpdateAvailable, offer);
    }
    void check() {
        QFETCH(QString, path);
        QFETCH(QString, currentVersion);
        QFETCH(bool, manual);
        QFETCH(Outcome, outcome);
        QFETCH(QString, window);
        if (QByteArray(QTest::currentDataTag()).startsWith("skipped"))
            QSettings().setValue("SUSkippedVersion", "1.11");
        AppcastUpdater updater(options(path, currentVersion));
        updater.setAutomaticallyChecksForUpdates(!manual);
        QSignalSpy finished(&updater, &AppcastUpdater::checkFinished);
        QSignalSpy canCheck(&updater, &Updater::canCheckForUpdatesChanged);
        const QDateTime before = QDateTime::currentDateTimeUtc().addMSecs(-1);
        updater.start();
        if (manual)
            updater.checkForUpdates();
        QTRY_VERIFY(!updater.canCheckForUpdates());
        updater.checkForUpdates(); // ignored while the first check runs
        QVERIFY(finished.wait(5000));

        QCOMPARE(finished.size(), 1);
        const auto result = finished.first().first().value<AppcastUpdater::Result>();
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(result.manual, manual);
        QCOMPARE(result.error.isEmpty(), outcome != Outcome::Failed);
        QCOMPARE(canCheck.size(), 3); // on at start, off while checking, on again after
        QVERIFY(updater.canCheckForUpdates());
        QVERIFY(updater.lastUpdateCheckDate().value_or(QDateTime()) >= before);
        QCOMPARE(server->requests.value(path.toUtf8()), 1);
        QPointer<UpdateDialog> dialog = updater.currentDialog();
        QCOMPARE(dialog ? dialog->heading() : QString(), window);
        if (outcome == Outcome::Failed && dialog)
            QCOMPARE(dialog->informativeText(), result.error);
        if (outcome != Outcome::UpdateAvailable)
            return;
        QCOMPARE(result.item->displayVersion(), QStringLiteral("1.11 Kestrel"));
        // Relative links resolve against the feed; linked notes are fetched with the check.
        QCOMPARE(result.item->enclosureUrl, server->url("/files/" + archive));
        QVERIFY(dialog->releaseNotesText().contains(QStringLiteral("Faster chunks.")));
        for (QPushButton *button : dialog->findChildren<QPushButton *>())
            if (button->text() == "Skip This Version")
                QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(updater.skippedVersion(), QStringLiteral("1.11"));
        QTRY_VERIFY(!dialog);
    }

    void schedule_data() {
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<qint64>("interval");
        QTest::addColumn<qint64>("secondsSinceLastCheck"); // -1: never checked
        QTest::addColumn<qint64>("dueAfterLastCheck");     // -1: none, 0: at once
        QTest::newRow("automatic checks off") << false << qint64(86400) << qint64(-1) << qint64(-1);
        QTest::newRow("never checked") << true << qint64(86400) << qint64(-1) << qint64(0);
        QTest::newRow("checked recently") << true << qint64(86400) << qint64(600) << qint64(86400);
        QTest::newRow("clock set back") << true << qint64(86400) << qint64(-7200) << qint64(0);
        // A mistyped interval must not make us ask the server every few seconds.
        QTest::newRow("interval too short") << true << qint64(5) << qint64(10) << qint64(60);
    }
    void schedule() {
        QFETCH(bool, automatic);
        QFETCH(qint64, interval);
        QFETCH(qint64, secondsSinceLastCheck);
        QFETCH(qint64, dueAfterLastCheck);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const QDateTime last = now.addSecs(-secondsSinceLastCheck);
        QSettings settings;
        settings.setValue("SUEnableAutomaticChecks", automatic);
        settings.setValue("SUScheduledCheckInterval", interval);
        if (secondsSinceLastCheck != -1)
            settings.setValue("SULastCheckTime", last.toString(Qt::ISODateWithMs));
        AppcastUpdater updater(options("/silent", "1.10"));
        updater.start();
        const auto due = updater.nextScheduledCheck();
        QCOMPARE(due.has_value(), dueAfterLastCheck != -1);
        if (dueAfterLastCheck > 0)
            QCOMPARE(*due, last.addSecs(dueAfterLastCheck));
        else if (dueAfterLastCheck == 0)
            QVERIFY(*due >= now && *due <= QDateTime::currentDateTimeUtc());
    }

    // A scheduled check that finds a release saves its file and says where; a transfer that
    // breaks off says why and leaves nothing behind.
    void automaticDownload_data() {
        QTest::addColumn<QByteArray>("existing"); // already in the downloads folder
        QTest::addColumn<int>("cutAfter");        // -1: the whole file arrives
        QTest::addColumn<QString>("savedAs");     // empty: the download fails
        QTest::addColumn<int>("fetches");
        QTest::newRow("empty folder") << QByteArray() << -1 << archive << 1;
        QTest::newRow("someone else's file")
            << QByteArray("other") << -1 << "Mirandel-1.11-2.tar.gz" << 1;
        QTest::newRow("downloaded before") << enclosureBytes << -1 << archive << 0;
        QTest::newRow("connection lost half-way") << QByteArray() << 7 << QString() << 1;
    }
    void automaticDownload() {
        QFETCH(QByteArray, existing);
        QFETCH(int, cutAfter);
        QFETCH(QString, savedAs);
        QFETCH(int, fetches);
        QTemporaryDir downloads;
        if (!existing.isEmpty()) {
            QFile file(downloads.filePath(archive));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(existing);
        }
        if (cutAfter >= 0)
            server->cutAfter["/files/" + archive.toUtf8()] = cutAfter;
        AppcastUpdater::Options o = options("/feed.xml", "1.10");
        o.downloadDirectory = downloads.path();
        AppcastUpdater updater(o);
        updater.setAutomaticallyChecksForUpdates(true);
        updater.setAutomaticallyDownloadsUpdates(true);
        QSignalSpy done(&updater, &AppcastUpdater::downloadFinished);
        QSignalSpy failed(&updater, &AppcastUpdater::downloadFailed);
        updater.start();
        QTRY_VERIFY_WITH_TIMEOUT(done.size() + failed.size() == 1, 5000);
        QCOMPARE(server->requests.value("/files/" + archive.toUtf8()), fetches);
        QPointer<UpdateDialog> dialog = updater.currentDialog();
        QVERIFY(dialog && dialog->isVisible());
        if (savedAs.isEmpty()) {
            const QString error = failed.first().first().toString();
            QVERIFY2(error.startsWith("The update could not be downloaded: "), qPrintable(error));
            QCOMPARE(dialog->informativeText(), error);
            QCOMPARE(QDir(downloads.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                     QStringList());
            return;
        }
        QCOMPARE(done.first().first().toString(), downloads.filePath(savedAs));
        QVERIFY(dialog->informativeText().contains(savedAs));
        QFile saved(downloads.filePath(savedAs));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), enclosureBytes);
        QVERIFY(QDir(downloads.path()).entryList({"*.download"}, QDir::Files).isEmpty());
    }

    void symbolIconsDrawSomething_data() {
        QTest::addColumn<QString>("name");
        for (const char *name : {"plus", "minus", "ellipsis.circle", "sidebar.right",
                                 "doc.on.clipboard", "gear", "doc.badge.gearshape",
                                 "arrow.triangle.2.circlepath", "gearshape.2", "no.such.symbol"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    // Every name the windows ask for must come out visible, theme or not, enabled or not: a
    // missing bundled file or an uninitialised resource would otherwise leave blank buttons.
    void symbolIconsDrawSomething() {
        QFETCH(QString, name);
        const QIcon icon = symbolIcon(name);
        QCOMPARE(icon.isNull(), name == "no.such.symbol");
        for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
            const QImage image = icon.pixmap(QSize(32, 32), mode).toImage();
            int inked = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    inked += qAlpha(image.pixel(x, y)) > 0;
            QVERIFY2(icon.isNull() || inked > 10, qPrintable(name));
        }
    }
};

QTEST_MAIN(PlatformTest)
#include "tst_platform.moc"
