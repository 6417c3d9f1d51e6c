#include "engine/Utilities.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QtTest>

#include <atomic>
#include <memory>

// Lookups and installation go through the real login shell. Each case gets its own home folder
// whose .zprofile puts a folder of fake tools on the search path, so the shell sees only them.
class UtilitiesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_home;

    QString binFolder() const { return m_home->filePath(QStringLiteral("bïn")); }

    void writeProfile(const QString &extraLines) const {
        QFile profile(m_home->filePath(QStringLiteral(".zprofile")));
        QVERIFY(profile.open(QIODevice::WriteOnly | QIODevice::Truncate));
        profile.write(
            QStringLiteral("export PATH='%1'\n%2\n").arg(binFolder(), extraLines).toUtf8());
    }

    void writeTool(const QString &name, const QString &script) const {
        QFile tool(QDir(binFolder()).filePath(name));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        // The search path holds only the fake tools, so the scripts bring their own.
        tool.write("#!/bin/sh\nPATH=/usr/bin:/bin\n" + script.toUtf8() + "\n");
        tool.close();
        QVERIFY(tool.setPermissions(tool.permissions() | QFile::ExeOwner));
    }

private slots:
    // zsh quotes non-ASCII paths in $'…' form outside a UTF-8 locale.
    void initTestCase() { qputenv("LC_ALL", "C.UTF-8"); }

    void init() {
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(m_home->isValid());
        QVERIFY(QDir(m_home->path()).mkpath(binFolder()));
        // The shell started by the code under test inherits our environment.
        qputenv("HOME", QFile::encodeName(m_home->path()));
        qputenv("ZDOTDIR", QFile::encodeName(m_home->path()));
        writeProfile(QString());
    }

    void locates_data() {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("executables");
        QTest::addColumn<QString>("profileLines");
        // "%BIN%" stands for this case's folder of fake tools; a null text means no answer.
        QTest::addColumn<QString>("expected");

        const QStringList both{QStringLiteral("svgo"), QStringLiteral("brew")};
        QTest::newRow("svgo found: path and line feed")
            << "svgo" << both << QString() << "%BIN%/svgo\n";
        QTest::newRow("brew found: path and line feed")
            << "brew" << both << QString() << "%BIN%/brew\n";
        QTest::newRow("svgo unknown") << "svgo" << QStringList{"brew"} << QString() << QString();
        QTest::newRow("brew unknown") << "brew" << QStringList{"svgo"} << QString() << QString();
        QTest::newRow("alias: every 'svgo is ' removed")
            << "svgo" << QStringList() << "alias svgo='echo svgo is here'"
            << "an alias for echo here\n";
        QTest::newRow("messages on standard error are not part of the answer")
            << "svgo" << both << "print -u2 '(expected noise from the test shell profile)'"
            << "%BIN%/svgo\n";
        QTest::newRow("status 0 without any answer")
            << "svgo" << both << "exec >/dev/null" << QString();
    }

    void locates() {
        QFETCH(QString, tool);
        QFETCH(QStringList, executables);
        QFETCH(QString, profileLines);
        QFETCH(QString, expected);
        for (const QString &name : executables)
            writeTool(name, QString());
        writeProfile(profileLines);

        const Utilities &utilities = Utilities::shared();
        const std::optional<QString> answer =
            tool == "svgo" ? utilities.locateSVGO() : utilities.locateHomebrew();
        QCOMPARE(answer.has_value(), !expected.isNull());
        if (answer)
            QCOMPARE(*answer, expected.replace(QStringLiteral("%BIN%"), binFolder()));
    }

    void installs_data() {
        QTest::addColumn<QString>("brew");
        QTest::addColumn<bool>("succeeds");

        // A real install leaves svgo on the search path; the fake does the same when asked
        // properly.
        QTest::newRow("brew succeeds") << "[ \"$*\" = 'install svgo' ] || exit 2\n"
                                          "printf '#!/bin/sh\\n' > \"$(dirname \"$0\")/svgo\"\n"
                                          "chmod +x \"$(dirname \"$0\")/svgo\""
                                       << true;
        QTest::newRow("brew fails")
            << "echo 'Error: (expected failure from a fake brew)' >&2\nexit 1" << false;
        QTest::newRow("no brew") << QString() << false;
    }

    void installs() {
        QFETCH(QString, brew);
        QFETCH(bool, succeeds);
        if (!brew.isNull())
            writeTool(QStringLiteral("brew"), brew);

        std::atomic<int> completions = 0;
        std::atomic<bool> onCallingThread = false;
        QThread *caller = QThread::currentThread();
        QFuture<void> installation = Utilities::shared().installSVGO([&] {
            ++completions;
            onCallingThread = QThread::currentThread() == caller;
        });
        installation.waitForFinished();

        QCOMPARE(completions.load(), succeeds ? 1 : 0);
        QVERIFY(!onCallingThread);
        QCOMPARE(Utilities::shared().locateSVGO().has_value(), succeeds);
    }

    void copiesPlainText() {
        auto *rich = new QMimeData;
        rich->setHtml(QStringLiteral("<b>old</b>"));
        QGuiApplication::clipboard()->setMimeData(rich);

        const QString text = QStringLiteral("<svg>é</svg>\r\n<svg/>");
        Utilities::shared().copyToPasteboard(text);

        const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
        QVERIFY(copied);
        QCOMPARE(copied->formats(), QStringList{QStringLiteral("text/plain")});
        QCOMPARE(copied->text(), text);
    }
};

QTEST_MAIN(UtilitiesTest)
#include "tst_utilities.moc"
