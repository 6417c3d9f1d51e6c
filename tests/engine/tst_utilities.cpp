#include "engine/StaleRunFolders.h"
#include "engine/SvgoCheck.h"
#include "engine/SvgoResolver.h"
#include "engine/Utilities.h"
#include "tst_optimizer_support.h"

#include <filesystem>
#include <memory>

using namespace std::chrono_literals;

// Lookups, checks and installations go through the real login shell. Each case gets its own home
// folder whose .zprofile puts a folder of fake tools on the search path, so the shell sees only
// them; the real svgo comes from tools/.
class UtilitiesTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_settings;
    std::unique_ptr<QTemporaryDir> m_home;

    QString home(const QString &name = QString()) const { return m_home->filePath(name); }
    QString binFolder() const { return home(QStringLiteral("bïn")); }

    void writeProfile(const QString &extraLines) const {
        QFile profile(home(QStringLiteral(".zprofile")));
        QVERIFY(profile.open(QIODevice::WriteOnly | QIODevice::Truncate));
        profile.write(
            QStringLiteral("export PATH='%1'\n%2\n").arg(binFolder(), extraLines).toUtf8());
    }

    // A script, in the fake tools' folder unless `path` is absolute; "%HOME%" stands for the
    // case's home.
    void writeTool(const QString &path, const QString &script, bool executable = true) const {
        QFile tool(path.startsWith('/') ? path : QDir(binFolder()).filePath(path));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        // The search path holds only the fake tools, so the scripts bring their own.
        tool.write("#!/bin/sh\nPATH=/usr/bin:/bin\n" +
                   QString(script).replace("%HOME%", home()).toUtf8() + "\n");
        tool.close();
        if (executable)
            QVERIFY(tool.setPermissions(tool.permissions() | QFile::ExeOwner));
    }

private slots:
    void initTestCase() {
        // zsh quotes non-ASCII paths in $'…' form outside a UTF-8 locale.
        qputenv("LC_ALL", "C.UTF-8");
        // Long enough for node to start on a busy machine, short enough for the hanging cases.
        Utilities::setTimeLimit(5s);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
        QCoreApplication::setOrganizationName(QStringLiteral("MirandelTests"));
    }

    void init() {
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(m_home->isValid());
        QVERIFY(QDir(m_home->path()).mkpath(binFolder()));
        // The shell started by the code under test inherits our environment.
        qputenv("HOME", QFile::encodeName(m_home->path()));
        qputenv("ZDOTDIR", QFile::encodeName(m_home->path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home(QStringLiteral("data"))));
        Keys::svgoExecutablePath().remove();
        SvgoResolver::setShippedSvgo(QStringLiteral(MIRANDEL_SVGO));
        writeProfile(QString());
    }

    void locates_data() {
        QTest::addColumn<QString>("profileLines");
        QTest::addColumn<QString>("expected"); // "%BIN%": the fake tools; null: no answer
        QTest::addColumn<bool>("timesOut");
        QTest::newRow("found") << QString() << "%BIN%/svgo" << false;
        QTest::newRow("unknown") << "/bin/rm '%BIN%/svgo'" << QString() << false;
        QTest::newRow("profile prints to standard output first")
            << "echo 'svgo is not ready'; print 'welcome'" << QString("%BIN%/svgo") << false;
        QTest::newRow("status 0 without any answer") << "exec >/dev/null" << QString() << false;
        QTest::newRow("profile sleeps") << "/bin/sleep 30" << QString() << true;
    }
    void locates() {
        QFETCH(QString, profileLines);
        QFETCH(QString, expected);
        QFETCH(bool, timesOut);
        writeTool(QStringLiteral("svgo"), QString());
        writeProfile(profileLines.replace("%BIN%", binFolder()));
        if (timesOut)
            Utilities::setTimeLimit(300ms);

        QString problem;
        const std::optional<QString> answer = Utilities::shared().locateSVGO(&problem);
        Utilities::setTimeLimit(5s);
        QCOMPARE(answer, expected.isNull() ? std::nullopt
                                           : std::optional(expected.replace("%BIN%", binFolder())));
        QCOMPARE(problem.contains(QStringLiteral("did not answer")), timesOut);
    }

    void checks_data() {
        QTest::addColumn<QString>("typed"); // "%HOME%" stands for the case's home
        QTest::addColumn<int>("verdict");
        QTest::addColumn<QString>("problemNames");
        const auto row = [](const char *name, const QString &typed, SvgoCheck::Verdict verdict,
                            const QString &problem = QString()) {
            QTest::newRow(name) << typed << int(verdict) << problem;
        };
        using V = SvgoCheck::Verdict;
        row("the real svgo", QStringLiteral(MIRANDEL_SVGO), V::Works);
        row("~/ expanded, spaces and % kept", "~/my svgo%20", V::Works);
        row("empty", "", V::Empty);
        row("relative", "bïn/svgo", V::NotAbsolute, "not a full path");
        row("no such file", "%HOME%/nothing", V::NoSuchFile, "no file");
        row("a folder", "%HOME%/bïn", V::Folder, "folder");
        row("not executable", "%HOME%/plain", V::NotExecutable, "not executable");
        row("not svgo: another program", "/bin/ls", V::NotSvgo, "not seem");
        row("4.0.0", "%HOME%/old4", V::TooOld, "SVGO 4.0.0 is too old");
        row("hangs on --version", "%HOME%/hangs", V::TimedOut, "did not answer");
    }
    void checks() {
        QFETCH(QString, typed);
        QFETCH(int, verdict);
        QFETCH(QString, problemNames);
        QVERIFY(QFile::link(QStringLiteral(MIRANDEL_SVGO), home(QStringLiteral("my svgo%20"))));
        writeTool(home(QStringLiteral("plain")), "echo 4.1.0", false);
        writeTool(home(QStringLiteral("old4")), "echo 4.0.0");
        writeTool(home(QStringLiteral("hangs")), "exec sleep 30");
        typed.replace("%HOME%", home());
        if (verdict == int(SvgoCheck::Verdict::TimedOut))
            Utilities::setTimeLimit(300ms);

        const SvgoCheck check = SvgoCheck::run(typed);
        Utilities::setTimeLimit(5s);
        QCOMPARE(int(check.verdict), verdict);
        QCOMPARE(check.path, SvgoCheck::expandedPath(typed));
        QCOMPARE(check.version.isEmpty(),
                 !check.works() && check.verdict != SvgoCheck::Verdict::TooOld);
        QVERIFY2(check.problem().contains(problemNames), qPrintable(check.problem()));
    }

    void resolution_data() {
        QTest::addColumn<QString>("stored"); // "%HOME%" stands for the case's home
        QTest::addColumn<QString>("loginShellSvgo");
        QTest::addColumn<bool>("shipped");
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("storedAfter"); // "%FOUND%": the svgo the resolution chose
        QTest::addColumn<QString>("runs");        // the svgo a run then starts, as above
        using S = SvgoResolution::Source;
        // No script (null): no svgo on the login shell's PATH.
        const auto row = [](const char *name, const char *stored, const char *loginShellSvgo,
                            bool shipped, S source, const char *storedAfter, const char *runs) {
            QTest::newRow(name) << QString(stored) << QString(loginShellSvgo) << shipped
                                << int(source) << QString(storedAfter) << QString(runs);
        };
        row("working custom path kept, shell not asked to replace it", "%HOME%/custom",
            "echo 4.1.0", true, S::Stored, "%HOME%/custom", "%HOME%/custom");
        row("nothing stored: the login shell's, remembered", "", "echo 4.1.0", true, S::LoginShell,
            "%FOUND%", "%FOUND%");
        row("nothing stored, no svgo on PATH: the shipped one, remembered", "", nullptr, true,
            S::Shipped, "%FOUND%", "%FOUND%");
        row("the login shell's is too old: the shipped one", "", "echo 3.2.0", true, S::Shipped,
            "%FOUND%", "%FOUND%");
        // A path the user chose stays stored (it may come back), but runs never start it.
        row("broken custom path still works out, but is never replaced", "%HOME%/gone", nullptr,
            true, S::Shipped, "%HOME%/gone", "%FOUND%");
        row("custom program that is not svgo: never run", "%HOME%/impostor", nullptr, true,
            S::Shipped, "%HOME%/impostor", "%FOUND%");
        row("none works: nothing stored", "", "exit 1", false, S::None, "", "");
    }
    void resolution() {
        QFETCH(QString, stored);
        QFETCH(QString, loginShellSvgo);
        QFETCH(bool, shipped);
        QFETCH(int, source);
        QFETCH(QString, storedAfter);
        QFETCH(QString, runs);
        QVERIFY(QFile::link(QStringLiteral(MIRANDEL_SVGO), home(QStringLiteral("custom"))));
        writeTool(home(QStringLiteral("impostor")), QStringLiteral("echo hello"));
        if (!loginShellSvgo.isNull())
            writeTool(QStringLiteral("svgo"), loginShellSvgo);
        if (!shipped)
            SvgoResolver::setShippedSvgo(QString());
        Keys::svgoExecutablePath().set(stored.replace("%HOME%", home()));

        const SvgoResolution resolution = SvgoResolver::start().result();
        SvgoResolver::remember(resolution);
        QCOMPARE(int(resolution.source), source);
        QCOMPARE(resolution.works(), source != int(SvgoResolution::Source::None));
        QCOMPARE(Keys::svgoExecutablePath().get(),
                 storedAfter.replace("%HOME%", home()).replace("%FOUND%", resolution.chosen.path));
        QCOMPARE(SvgoResolver::forRun().path,
                 runs.replace("%HOME%", home()).replace("%FOUND%", resolution.chosen.path));
    }

    void runRemovesLeftoversOfCrashedRuns() {
        Keys::svgoExecutablePath().set(QStringLiteral(MIRANDEL_SVGO));
        const QString icon = home(QStringLiteral("icon.svg"));
        optimizer_test::writeFile(
            icon, "<svg xmlns=\"http://www.w3.org/2000/svg\"><g><rect width=\"1\"/></g></svg>");
        // A crashed run's folder, and one a run of another window still uses.
        const QString crashed = home(QStringLiteral(".mirandel-crashd"));
        const QString otherRun = home(QStringLiteral(".mirandel-active/0.svg"));
        for (const QString &path : {crashed + "/0.svg", otherRun}) {
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            writeTool(path, QString());
            const std::filesystem::path folder(QFile::encodeName(QFileInfo(path).path()).data());
            std::filesystem::last_write_time(folder,
                                             std::filesystem::last_write_time(folder) - 24h);
        }
        StaleRunFolders::claim(otherRun);

        OptimizerOptions options;
        options.originalsFolder = home(QStringLiteral("originals"));
        const OptimizationResult result =
            optimizer_test::optimize({icon}, Profile::builtInDefault(), options).result;
        QCOMPARE(result.count(FileResult::Status::Optimized), 1);
        QVERIFY(!QFileInfo::exists(crashed));
        QVERIFY(QFileInfo::exists(otherRun));
        // The kept originals are read-only; the home goes with the case.
        QProcess::execute(QStringLiteral("chmod"), {"-R", "u+w", home()});
    }
};

QTEST_MAIN(UtilitiesTest)
#include "tst_utilities.moc"
