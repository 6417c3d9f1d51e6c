// The batch mode, by running the built program the way a script does.

#include "engine/CompressedSize.h"
#include "tst_optimizer_support.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace optimizer_test;

namespace {

const QString data = QStringLiteral(MIRANDEL_SOURCE_DIR "/tests/data/");
const QString dots = QStringLiteral(MIRANDEL_SOURCE_DIR "/tests/data/textformats/2 dots.svg");
// An icon svgo shrinks.
const QString alarmIcon = iconFolder() + QStringLiteral("/alarm.svg");
const QString dotsOptimized = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" "
                              "height=\"16\"><circle cx=\"8\" cy=\"8\" r=\"3.333\"/></svg>";

} // namespace

class tst_BatchMode : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

private slots:
    void initTestCase() {
        // The program reads the stored profiles from a settings file of the test's own.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           m_home.filePath(QStringLiteral("config")));
        QCoreApplication::setOrganizationName(QStringLiteral("Mirandel"));
        QCoreApplication::setApplicationName(QStringLiteral("Mirandel"));
        Keys::svgoExecutablePath().set(QStringLiteral(MIRANDEL_SVGO));
        Profile json = Profile::makeNew();
        json.name = QStringLiteral("Icons");
        json.mode = OperationMode::Text;
        json.outputFormat = OutputFormat::JSON;
        Profile noFolder = Profile::makeNew();
        noFolder.name = QStringLiteral("Elsewhere");
        noFolder.overwrite = false;
        Keys::profiles().set({json, noFolder});
        // Things under an SVG's name that are no files: reading them would wait for a writer
        // for ever, or fill memory.
        QVERIFY(QDir().mkpath(m_home.filePath(QStringLiteral("specials"))));
        QCOMPARE(::mkfifo(QFile::encodeName(m_home.filePath("specials/pipe.svg")), 0644), 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), m_home.filePath("specials/zero.svg")));
    }
    // Qt cannot reach the file whose name is not UTF-8 to clean it up.
    void cleanupTestCase() {
        ::unlink(QFile::encodeName(m_home.filePath("reported")) + "/caf\xe9.svg");
    }

    // Each row's arguments follow --batch.
    void run_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("standardOutput");
        QTest::addColumn<QString>("inStandardError");
        const QString text = QStringLiteral("text");
        QTest::newRow("text") << QStringList{"--mode", text, dots} << 0 << dotsOptimized
                              << QString();
        QTest::newRow("stored profile")
            << QStringList{"--profile", "icons ", dots} << 0
            << "{\"2 dots.svg\":\"" + QString(dotsOptimized).replace("\"", "\\\"") + "\"}"
            << QString();
        QTest::newRow("a broken file")
            << QStringList{"--mode", text, dots, data + "broken.svg"} << 1 << dotsOptimized
            << data + "broken.svg: SvgoParserError";
        QTest::newRow("a missing file") << QStringList{"--mode", text, data + "none.svg"} << 1
                                        << QString() << data + "none.svg";
        QTest::newRow("audit: nothing to report")
            << QStringList{"--audit", data + "icon.svg"} << 0 << QString() << "Nothing to report";
        const QString flags = data + "flags/";
        const auto finding = [&](const QString &summary) {
            return summary + "\n  " + flags + "meadow.svg\n  " + flags + "stripes.svg\n";
        };
        const QString clash = " is defined in 2 files: inlined in one page they point at each "
                              "other's parts.";
        QTest::newRow("audit: ids that collide as they are and once optimized")
            << QStringList{"--audit", flags} << 3
            << finding("The id “shine”" + clash) + finding("The id “flag”" + clash) +
                   finding("After optimizing, the id “b”" + clash) +
                   finding("After optimizing, the id “a”" + clash)
            << QString();
        const QString specials = m_home.filePath(QStringLiteral("specials"));
        for (const QString &task : {QStringLiteral("--audit"), QStringLiteral("--check")})
            QTest::newRow(qPrintable(task + ": a named pipe and a link to a device"))
                << QStringList{task, specials} << 1 << QString()
                << specials + "/pipe.svg: Not a regular file";
        // Refused before anything runs: status 2, and standard error says why.
        const auto refused = [](const char *name, const QStringList &arguments,
                                const QString &why) {
            QTest::newRow(name) << arguments << 2 << QString() << why;
        };
        refused("unknown profile", {"--profile", "Nope", dots},
                "\"Default Profile\", \"Icons\", \"Elsewhere\"");
        refused("no output folder", {"--profile", "Elsewhere", dots}, "folder");
        refused("no paths", {}, "--help");
        refused("a report on the text's output", {"--mode", text, "--report", "-", dots},
                "--report");
        refused("a budget that is no number", {"--max-bytes", "1k", dots}, "--max-bytes");
        refused("a precision beyond svgo's", {"--precision", "21", dots}, "--precision");
        refused("a precision that is no number", {"--precision", "low", dots}, "--precision");
        refused("unknown report format", {"--report", "r", "--report-format", "xml", dots},
                "json or junit");
    }
    void run() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, standardOutput);
        QFETCH(QString, inStandardError);
        const ProgramRun outcome = runProgram(QStringList{"--batch"} + arguments, m_home.path());
        QVERIFY2(outcome.error.contains(inStandardError), qPrintable(outcome.error));
        QVERIFY(!outcome.error.contains("\x1b[K")); // no progress line off a terminal
        QCOMPARE(outcome.output, standardOutput);
        QCOMPARE(outcome.status, status);
    }

    // Runs over one tree in file mode, one after another as a repository's CI would: a check
    // writes nothing, a folder means its own files unless -r is given, a link listed beside its
    // target is one file, and a tree optimized before passes the check and a second run. twice.svg
    // is one that svgo shrinks again on a second pass.
    void fileRuns_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("inStandardError");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<bool>("subfolderChanged");
        const QString check = QStringLiteral("--check");
        QTest::newRow("check first")
            << QStringList{check} << 3 << "a.svg: would be optimized: 689 to 682 bytes" << false
            << false;
        QTest::newRow("first run") << QStringList{} << 0 << QString() << true << false;
        QTest::newRow("check after") << QStringList{check} << 0 << QString() << true << false;
        QTest::newRow("second run")
            << QStringList{} << 0 << "a.svg: already optimal" << true << false;
        QTest::newRow("budget exceeded")
            << QStringList{check, "--max-bytes", "200"} << 1
            << "a.svg: 682 bytes, more than the budget of 200 bytes." << true << false;
        QTest::newRow("check recursive")
            << QStringList{check, "-r"} << 3 << "sub/b.svg: would" << true << false;
        QTest::newRow("recursive")
            << QStringList{"-r"} << 0 << "a.svg: already optimal" << true << true;
    }
    void fileRuns() {
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QString, inStandardError);
        QFETCH(bool, changed);
        QFETCH(bool, subfolderChanged);
        const QString tree = m_home.filePath(QStringLiteral("tree"));
        if (!QFileInfo::exists(tree)) {
            copyInto(tree, {alarmIcon}, {"a.svg"});
            copyInto(tree + "/sub", {alarmIcon}, {"b.svg"});
            QVERIFY(QFile::link(tree + "/a.svg", tree + "/link.svg"));
            writeFile(tree + "/twice.svg",
                      R"(<svg xmlns="http://www.w3.org/2000/svg"><g fill="red"><g>)"
                      R"(<path d="M0 0h10v10z"/></g><g><path d="M20 0h10v10z"/></g></g></svg>)");
        }
        const ProgramRun outcome =
            runProgram(QStringList{"--batch"} + options + QStringList{tree}, m_home.path());
        QVERIFY2(outcome.error.contains(inStandardError), qPrintable(outcome.error));
        QVERIFY2(!outcome.error.contains("link.svg"), qPrintable(outcome.error));
        QCOMPARE(outcome.status, status);
        // Nothing else is left in the tree, not even a temporary folder.
        QCOMPARE(QDir(tree).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList({"a.svg", "link.svg", "sub", "twice.svg"}));
        QCOMPARE(contents(tree + "/a.svg") != contents(alarmIcon), changed);
        QCOMPARE(contents(tree + "/sub/b.svg") != contents(alarmIcon), subfolderChanged);
    }

    // The report of a check over a tree with an unoptimized file, a broken one and one whose
    // name is not UTF-8, in both formats, read as a CI system reads them.
    void report_data() {
        QTest::addColumn<QString>("format");
        QTest::newRow("json") << QStringLiteral("json");
        QTest::newRow("junit") << QStringLiteral("junit");
    }
    void report() {
        QFETCH(QString, format);
        const QString tree = m_home.filePath(QStringLiteral("reported"));
        if (!QFileInfo::exists(tree)) {
            copyInto(tree, {alarmIcon, data + "broken.svg"}, {"a.svg", "broken.svg"});
            // Qt cannot name this file, so it is made by its bytes.
            const int latin1 =
                ::open(QFile::encodeName(tree) + "/caf\xe9.svg", O_CREAT | O_WRONLY, 0644);
            QVERIFY(latin1 >= 0);
            ::close(latin1);
        }
        const QString reportFile = m_home.filePath("report." + format);
        const ProgramRun outcome = runProgram(
            {"--batch", "--check", "--report", reportFile, "--report-format", format, tree},
            m_home.path());
        QCOMPARE(outcome.status, 1);
        QVERIFY2(outcome.error.contains("caf\uFFFD.svg: The name is not valid UTF-8"),
                 qPrintable(outcome.error));
        const QByteArray bytes = contents(reportFile);
        // path -> status, in the report's own words
        QMap<QString, QString> statuses;
        if (format == u"json") {
            const QJsonObject report = QJsonDocument::fromJson(bytes).object();
            QCOMPARE(report.value("mode").toString(), QStringLiteral("check"));
            QCOMPARE(report.value("exitStatus").toInt(), 1);
            QVERIFY(report.value("svgo").toObject().value("version").toString().startsWith("4."));
            QVERIFY(!report.value("mirandel").toString().isEmpty());
            const QStringList fields{"brotliAfter", "brotliBefore", "bytesAfter",
                                     "bytesBefore", "gzipAfter",    "gzipBefore",
                                     "message",     "path",         "status"};
            QJsonObject icon;
            for (const QJsonValue &value : report.value("files").toArray()) {
                const QJsonObject record = value.toObject();
                QCOMPARE(record.keys(), fields);
                statuses.insert(record.value("path").toString(), record.value("status").toString());
                if (record.value("status").toString() == u"would-change") {
                    icon = record;
                    QVERIFY(record.value("bytesAfter").toInteger() <
                            record.value("bytesBefore").toInteger());
                    // The sizes gzip and brotli themselves write: tst_compressedsize.
                    const QByteArray original = contents(tree + "/a.svg");
                    QCOMPARE(record.value("gzipBefore").toInteger(), gzipSize(original));
                    QCOMPARE(record.value("brotliBefore").toInteger(), brotliSize(original));
                    QVERIFY(record.value("brotliAfter").toInteger() > 0);
                    QVERIFY(record.value("brotliAfter").toInteger() <
                            record.value("gzipAfter").toInteger());
                } else {
                    QVERIFY(record.value("bytesAfter").isNull());
                    QVERIFY(!record.value("message").toString().isEmpty());
                }
            }
            const QJsonObject totals = report.value("totals").toObject();
            QCOMPARE(totals.value("files").toInt(), 3);
            // Only the icon has sizes: the totals are its own.
            for (const char *field : {"gzipBefore", "gzipAfter", "brotliBefore", "brotliAfter"})
                QCOMPARE(totals.value(field).toInteger(), icon.value(field).toInteger());
            QCOMPARE(totals.value("statuses").toObject(),
                     QJsonObject({{"would-change", 1}, {"failed", 2}}));
        } else {
            QXmlStreamReader xml(bytes);
            QString name;
            while (!xml.atEnd() && xml.readNext() != QXmlStreamReader::Invalid) {
                if (!xml.isStartElement())
                    continue;
                const QXmlStreamAttributes attributes = xml.attributes();
                if (xml.name() == u"testsuite") {
                    QCOMPARE(attributes.value("tests"), u"3");
                    QCOMPARE(attributes.value("failures"), u"3");
                } else if (xml.name() == u"testcase") {
                    name = attributes.value("name").toString();
                    statuses.insert(name, QStringLiteral("passed"));
                } else if (xml.name() == u"failure") {
                    statuses.insert(name, attributes.value("type").toString());
                }
            }
            QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        }
        QCOMPARE(statuses,
                 (QMap<QString, QString>{{tree + "/a.svg", "would-change"},
                                         {tree + "/broken.svg", "failed"},
                                         {tree + QString::fromUtf8("/caf\uFFFD.svg"), "failed"}}));
    }

    // The report names the precision each file got, and the plugins left out of a file whose
    // drawing they changed: here path data rounded by a visible share of a tiny drawing.
    void searchesInReport() {
        const QString tree = m_home.filePath(QStringLiteral("searched"));
        copyInto(tree, {alarmIcon});
        writeFile(tree + "/squares.svg",
                  "<!-- by hand -->\n<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 0.02 "
                  "0.02\"><path d=\"M0.0025 0.0025 L0.0175 0.0025 L0.0175 0.0175 L0.0025 0.0175 "
                  "z\"/></svg>\n");
        const QString reportFile = m_home.filePath(QStringLiteral("searched.json"));
        const ProgramRun outcome = runProgram({"--batch", "--mode", "text", "--precision", "auto",
                                               "--no-cache", "--report", reportFile, tree},
                                              m_home.path());
        QCOMPARE(outcome.status, 0);
        QMap<QString, QJsonObject> files;
        for (const QJsonValue entry :
             QJsonDocument::fromJson(contents(reportFile))["files"].toArray())
            files.insert(QFileInfo(entry["path"].toString()).fileName(), entry.toObject());
        QVERIFY(files["alarm.svg"]["precision"].toInt(-1) < 3);
        QVERIFY(!files["alarm.svg"].contains("withoutPlugins"));
        QCOMPARE(files["squares.svg"]["withoutPlugins"].toArray(),
                 QJsonArray{QStringLiteral("convertPathData")});
    }

    // A progress line on a terminal; run()'s rows show that there is none where standard error
    // is not one.
    void progressOnATerminal() {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("script"));
        if (program.isEmpty())
            QSKIP("script(1) is not installed");
        // script gives the program a pseudo-terminal and copies what it printed.
        QStringList words{QStringLiteral(MIRANDEL_PROGRAM), "--batch", "--check"};
        for (const QString &file : {dots, data + "textformats/moon.svg"})
            words.append(u'\'' + file + u'\'');
        const QString shown =
            runProgram({"-qec", words.join(u' '), "/dev/null"}, m_home.path(), program).output;
        QVERIFY2(shown.contains("\x1b[K2 of 2 files"), qPrintable(shown));
    }
};

QTEST_GUILESS_MAIN(tst_BatchMode)
#include "tst_batchmode.moc"
