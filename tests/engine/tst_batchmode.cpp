// The batch mode, by running the built program the way a script does.

#include "model/Settings.h"

#include <QtTest>

namespace {

const QString data = QStringLiteral(MIRANDEL_SOURCE_DIR "/tests/data/");
const QString dots = QStringLiteral(MIRANDEL_SOURCE_DIR "/tests/data/textformats/2 dots.svg");
const QString dotsOptimized = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" "
                              "height=\"16\"><circle cx=\"8\" cy=\"8\" r=\"3.333\"/></svg>";

} // namespace

class tst_BatchMode : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

private slots:
    void initTestCase() {
        // The program reads the stored profiles from a settings file of the test's own.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_home.path());
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
    }

    void run_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("standardOutput");
        QTest::addColumn<QString>("inStandardError");
        const QString text = QStringLiteral("text");
        QTest::newRow("text") << QStringList{"--batch", "--mode", text, dots} << 0 << dotsOptimized
                              << QString();
        QTest::newRow("stored profile")
            << QStringList{"--batch", "--profile", "Icons", dots} << 0
            << "{\"2 dots.svg\":\"" + QString(dotsOptimized).replace("\"", "\\\"") + "\"}"
            << QString();
        QTest::newRow("a broken file")
            << QStringList{"--batch", "--mode", text, dots, data + "broken.svg"} << 1
            << dotsOptimized << data + "broken.svg: SvgoParserError";
        QTest::newRow("a missing file") << QStringList{"--batch", "--mode", text, data + "none.svg"}
                                        << 1 << QString() << data + "none.svg";
        QTest::newRow("unknown profile")
            << QStringList{"--batch", "--profile", "Nope", dots} << 2 << QString()
            << "\"Default Profile\", \"Icons\", \"Elsewhere\"";
        QTest::newRow("no output folder")
            << QStringList{"--batch", "--profile", "Elsewhere", dots} << 2 << QString() << "folder";
        QTest::newRow("no paths") << QStringList{"--batch"} << 2 << QString() << "--help";
    }
    void run() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, standardOutput);
        QFETCH(QString, inStandardError);
        const Outcome outcome = runProgram(arguments);
        QVERIFY2(outcome.error.contains(inStandardError), qPrintable(outcome.error));
        QCOMPARE(outcome.output, standardOutput);
        QCOMPARE(outcome.status, status);
    }

    // Runs over one tree in file mode, one after another as a repository's CI would: a folder
    // means its own files unless -r is given, a link listed beside its target is one file, and
    // a tree optimized before passes with notes.
    void fileRuns_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("inStandardError");
        QTest::addColumn<bool>("subfolderChanged");
        QTest::newRow("first run") << QStringList{} << 0 << QString() << false;
        QTest::newRow("second run") << QStringList{} << 0 << "a.svg: already optimal" << false;
        QTest::newRow("recursive") << QStringList{"-r"} << 0 << "a.svg: already optimal" << true;
    }
    void fileRuns() {
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QString, inStandardError);
        QFETCH(bool, subfolderChanged);
        const QString tree = m_home.filePath(QStringLiteral("tree"));
        const QString icon = QStringLiteral(MIRANDEL_SOURCE_DIR
                                            "/tools/node_modules/bootstrap-icons/icons/alarm.svg");
        if (!QFileInfo::exists(tree)) {
            QVERIFY(QDir().mkpath(tree + "/sub"));
            QVERIFY(QFile::copy(icon, tree + "/a.svg"));
            QVERIFY(QFile::copy(icon, tree + "/sub/b.svg"));
            QVERIFY(QFile::link(tree + "/a.svg", tree + "/link.svg"));
        }
        const Outcome outcome = runProgram(QStringList{"--batch"} + options + QStringList{tree});
        QVERIFY2(outcome.error.contains(inStandardError), qPrintable(outcome.error));
        QVERIFY2(!outcome.error.contains("link.svg"), qPrintable(outcome.error));
        QCOMPARE(outcome.status, status);
        QFile original(icon), first(tree + "/a.svg"), nested(tree + "/sub/b.svg");
        QVERIFY(original.open(QIODevice::ReadOnly) && first.open(QIODevice::ReadOnly) &&
                nested.open(QIODevice::ReadOnly));
        const QByteArray before = original.readAll();
        QVERIFY(first.readAll() != before);
        QCOMPARE(nested.readAll() != before, subfolderChanged);
    }

private:
    struct Outcome {
        int status = -1;
        QString output;
        QString error;
    };
    Outcome runProgram(const QStringList &arguments) const {
        QProcess program;
        // No display of any kind: a script on a server has none.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path());
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), m_home.filePath("cache"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath("data"));
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QString::fromLatin1(name));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(MIRANDEL_PROGRAM), arguments);
        if (!program.waitForFinished(120000))
            return {};
        return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
                QString::fromUtf8(program.readAllStandardError())};
    }
};

QTEST_GUILESS_MAIN(tst_BatchMode)
#include "tst_batchmode.moc"
