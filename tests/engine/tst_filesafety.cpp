// What a run does to the user's files under faults: odd inputs, files changed during the run, a
// full disk, the program killed mid-run. Real files, the real svgo, real signals; the full-disk
// rows mount a small tmpfs and need the superuser.

#include "engine/FileReplacement.h"
#include "tst_optimizer_support.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QStringEncoder>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace optimizer_test;
using Status = FileResult::Status;

namespace {

const QByteArray svgText("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 24 24\">"
                         "<title>Grüße “quoted”</title>  <rect   width=\"10.000\" height=\"10\"/>"
                         "</svg>\n");

QByteArray encoded(QStringConverter::Encoding encoding, bool mark) {
    QStringEncoder encoder(encoding, mark ? QStringConverter::Flag::WriteBom
                                          : QStringConverter::Flag::Default);
    return encoder.encode(QString::fromUtf8(svgText));
}

} // namespace

class tst_FileSafety : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { isolateSettings(m_settings, QStringLiteral("tst_filesafety")); }

    void init() {
        m_work = std::make_unique<QTemporaryDir>();
        QVERIFY(m_work->isValid());
        OriginalsBackup::setRoot(m_work->filePath(QStringLiteral("originals")));
    }

    void oddInputs_data() {
        QTest::addColumn<QString>("name");     // of the input in the work folder
        QTest::addColumn<QByteArray>("bytes"); // written to it, when it is a plain file
        QTest::addColumn<QString>("linkTo");   // else the link's target there, or "fifo"
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const int failed = int(Status::Failed), optimized = int(Status::Optimized);
        const QString icon = QStringLiteral("icon.svg");
        const auto file = [](const char *row, const QString &name, const QByteArray &bytes,
                             int status, const QString &message = {}) {
            QTest::newRow(row) << name << bytes << QString() << status << message;
        };
        const auto special = [&](const char *row, const QString &linkTo, const QString &message) {
            QTest::newRow(row) << icon << QByteArray() << linkTo << failed << message;
        };
        const QString notUtf8 = QStringLiteral("not valid UTF-8 text and declares no encoding");
        file("Latin-1 without declaration", icon,
             QByteArray(svgText).replace("ü", "\xfc").replace("ß", "\xdf"), failed, notUtf8);
        file("Windows-1252 without declaration", icon,
             QByteArray(svgText).replace("“", "\x93").replace("”", "\x94"), failed, notUtf8);
        file("UTF-16 without mark", icon, encoded(QStringConverter::Utf16LE, false), optimized);
        file("UTF-16 with mark", icon, encoded(QStringConverter::Utf16LE, true), optimized);
        file("UTF-16 big-endian without mark", icon, encoded(QStringConverter::Utf16BE, false),
             optimized);
        file("255-byte name", QString(251, u'n') + ".svg", svgText, optimized);
        file("newline in the name", "two\nlines.svg", svgText, optimized);
        file("leading dash", "-o.svg", svgText, optimized);
        special("link to /dev/zero", "/dev/zero", "Not a regular file");
        special("named pipe", "fifo", "Not a regular file");
        special("looping link", icon, "circle");
        special("dangling link", "gone.svg", "does not exist");
    }

    void oddInputs() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, linkTo);
        QFETCH(int, status);
        QFETCH(QString, message);
        const QDir folder(m_work->path());
        const QString path = folder.filePath(name);
        if (linkTo == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        else if (!linkTo.isEmpty())
            QVERIFY(QFile::link(folder.filePath(linkTo), path));
        else
            writeFile(path, bytes);

        const OptimizationResult result = optimize({path}, fileProfile(std::nullopt)).result;
        const FileResult &outcome = result.outcomes.first();
        QVERIFY2(outcome.message.contains(message), qPrintable(outcome.message));
        QCOMPARE(int(outcome.status), status);
        if (!linkTo.isEmpty())
            QVERIFY(QFileInfo(path).isSymLink() || linkTo == "fifo");
        else if (status == int(Status::Failed))
            QCOMPARE(contents(path), bytes); // never rewritten with replacement characters
        else
            QVERIFY2(QString::fromUtf8(contents(path)).contains(QStringLiteral("Grüße “quoted”")),
                     contents(path).constData());
        QVERIFY(leftovers(folder.path()).isEmpty());
    }

    // The user edits, replaces or deletes files while svgo works on them: what the user made
    // stays, and nothing of it is claimed as optimized or kept as an original.
    void filesChangedDuringTheRunAreLeftAsTheyAre() {
        // svgo holds on to the first file until the changes are made; the inputs are all read.
        const QByteArray gate = m_work->filePath(QStringLiteral("gate")).toUtf8();
        Profile profile = fileProfile(std::nullopt);
        configure(profile, m_work->filePath(QStringLiteral("held.config.mjs")),
                  "import fs from 'node:fs';\nexport default { plugins: ['preset-default', { "
                  "name: 'held', fn: () => { fs.writeFileSync('" +
                      gate +
                      ".open', ''); while "
                      "(!fs.existsSync('" +
                      gate + ".go')); return {}; } }] };\n");
        const QStringList paths =
            copyInto(m_work->path(), icons(3), {"edited.svg", "replaced.svg", "deleted.svg"});
        OptimizerOptions options;
        options.maxConcurrentProcesses = 1;
        QFuture<OptimizationResult> run =
            Optimizer::shared().optimize(entries(paths), profile, {}, options);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(gate + ".open"), 60000);
        const QByteArray mine("<svg xmlns=\"http://www.w3.org/2000/svg\"><!-- mine --></svg>");
        {
            QFile edited(paths.at(0));
            QVERIFY(edited.open(QIODevice::ReadWrite)); // the same file, written in place
            QVERIFY(edited.resize(0));
            edited.write(mine);
        }
        const QString other = m_work->filePath(QStringLiteral("other.svg"));
        writeFile(other, mine);
        QCOMPARE(::rename(QFile::encodeName(other).constData(),
                          QFile::encodeName(paths.at(1)).constData()),
                 0);
        QVERIFY(QFile::remove(paths.at(2)));
        writeFile(gate + ".go", {});
        run.waitForFinished();

        for (const FileResult &outcome : run.result().outcomes)
            QCOMPARE(outcome.status, Status::Failed);
        QCOMPARE(contents(paths.at(0)), mine);
        QCOMPARE(contents(paths.at(1)), mine);
        QVERIFY(!QFileInfo::exists(paths.at(2)));
        QVERIFY(OriginalsBackup::originals(paths).isEmpty());
    }

    void fullDisk_data() {
        QTest::addColumn<QString>("full"); // which folder is on the full disk
        QTest::addColumn<int>("room");     // bytes left on it: outputs that fit are placed
        QTest::newRow("the originals' folder") << "originals" << 0;
        QTest::newRow("the input folder") << "inputs" << 0;
        QTest::newRow("the output folder") << "outputs" << 0;
        QTest::newRow("the output folder, room for a few") << "outputs" << 6 * 4096;
    }

    void fullDisk() {
        QFETCH(QString, full);
        QFETCH(int, room);
        if (geteuid() != 0)
            QSKIP("mounting a small file system needs the superuser");
        const SmallDisk disk(m_work->filePath(QStringLiteral("disk")), QStringLiteral("256k"));
        QVERIFY(disk.mounted);
        const QString inputs = full == "inputs" ? disk.folder : m_work->filePath("inputs");
        const QString outputs = full == "outputs" ? disk.folder + "/out" : m_work->filePath("out");
        QDir().mkpath(outputs);
        OriginalsBackup::setRoot(full == "outputs" ? m_work->filePath("originals")
                                                   : disk.folder + "/originals");
        const QStringList paths = copyInto(inputs, icons(20));
        const QList<QByteArray> before = contentsOf(paths);
        disk.fill(room);

        const OptimizationResult result =
            optimize(paths, fileProfile(full == "outputs" ? std::optional(outputs) : std::nullopt))
                .result;
        // Outputs placed together: those that fit are in the folder, the others say why.
        const qsizetype optimized = result.count(Status::Optimized);
        QVERIFY2(room == 0 ? optimized == 0 : optimized > 0 && optimized < paths.size(),
                 qPrintable(QString::number(optimized)));
        for (const FileResult &outcome : result.outcomes)
            QVERIFY2(outcome.status == Status::Optimized
                         ? QFileInfo(outcome.destination).size() == outcome.sizeAfter
                         : !outcome.message.isEmpty(),
                     "every file is in place or says why");
        if (full == "originals")
            QVERIFY2(result.stopped.startsWith("The disk is full"), qPrintable(result.stopped));
        for (int index = 0; index < paths.size(); ++index)
            QCOMPARE(contents(paths.at(index)), before.at(index));
        // Nothing half-written is left in the output folder.
        for (const QString &name : QDir(outputs).entryList(QDir::Files))
            QVERIFY2(contents(QDir(outputs).filePath(name)).endsWith("</svg>"), qPrintable(name));
        QVERIFY(leftovers(inputs).isEmpty());
    }

    // The program is killed at some moment of a run over the inputs: every input is its
    // original or a complete output, and --restore puts every original back.
    void killedRunLeavesEveryFileRestorable_data() {
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("afterMs"); // after the first file was replaced
        QTest::newRow("kill -9 at the first replacement") << int(SIGKILL) << 0;
        QTest::newRow("kill -9 at some moment")
            << int(SIGKILL) << int(QRandomGenerator::global()->bounded(500));
        QTest::newRow("SIGTERM, as a logout sends") << int(SIGTERM) << 200;
    }

    void killedRunLeavesEveryFileRestorable() {
        QFETCH(int, signal);
        QFETCH(int, afterMs);
        const QString folder = m_work->filePath(QStringLiteral("icons"));
        const QStringList paths = copyInto(folder, icons(600));
        const QList<QByteArray> before = contentsOf(paths);
        QProcess program;
        program.setProcessEnvironment(programEnvironment(m_work->path()));
        program.start(QStringLiteral(MIRANDEL_PROGRAM), {"--batch", folder});
        QVERIFY(program.waitForStarted());
        const auto anyReplaced = [&] {
            for (int index = 0; index < paths.size(); index += 7)
                if (contents(paths.at(index)) != before.at(index))
                    return true;
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(anyReplaced() || program.state() == QProcess::NotRunning, 240000);
        QTest::qWait(afterMs);
        // A finished program has no process id: kill(0) would signal this test's own group
        // (and whatever runs it), so only a running program is signalled.
        const qint64 pid = program.processId();
        const bool running = pid > 0 && program.state() == QProcess::Running;
        if (running)
            ::kill(pid_t(pid), signal);
        QVERIFY(!running || program.waitForFinished(60000));

        int replaced = 0;
        for (int index = 0; index < paths.size(); ++index) {
            const QByteArray now = contents(paths.at(index));
            if (now == before.at(index))
                continue;
            ++replaced;
            QVERIFY2(now.startsWith("<svg") && now.trimmed().endsWith("</svg>"),
                     qPrintable(paths.at(index)));
        }
        qInfo("%d of %d files were replaced before the signal%s", replaced, int(paths.size()),
              running ? "" : " (the run had ended)");
        const ProgramRun restore = runProgram({"--batch", "--restore", folder}, m_work->path());
        QVERIFY2(restore.status == 0, qPrintable(restore.error));
        for (int index = 0; index < paths.size(); ++index)
            QVERIFY2(contents(paths.at(index)) == before.at(index), qPrintable(paths.at(index)));
    }

    // Nothing in a folder is left out without a word, and its originals come back from the
    // command line, but for one edited since unless --force is given.
    void folderRunAndRestoreFromTheCommandLine() {
        const QString folder = m_work->filePath(QStringLiteral("icons"));
        const QStringList paths = copyInto(folder, icons(3));
        const QList<QByteArray> before = contentsOf(paths);
        const QByteArray latin1Name = QFile::encodeName(folder) + "/caf\xe9.svg";
        const int descriptor = ::open(latin1Name.constData(), O_WRONLY | O_CREAT, 0644);
        QVERIFY(descriptor >= 0);
        QVERIFY(::write(descriptor, svgText.constData(), size_t(svgText.size())) > 0);
        ::close(descriptor);
        QVERIFY(QFile::link(folder + "/gone.svg", folder + "/dangling.svg"));

        const ProgramRun run = runProgram({"--batch", folder}, m_work->path());
        ::unlink(latin1Name.constData()); // Qt cannot reach it to clean up
        QCOMPARE(run.status, 1);
        QVERIFY2(run.error.contains("caf\uFFFD.svg: The name is not valid UTF-8"),
                 qPrintable(run.error));
        QVERIFY2(run.error.contains("dangling.svg: The link points to"), qPrintable(run.error));
        for (int index = 0; index < paths.size(); ++index) {
            QVERIFY(!run.error.contains(QFileInfo(paths.at(index)).fileName()));
            QVERIFY(contents(paths.at(index)) != before.at(index));
        }
        writeFile(paths.at(2), "<svg xmlns=\"http://www.w3.org/2000/svg\"/>"); // edited since

        const ProgramRun restore = runProgram({"--batch", "--restore", folder}, m_work->path());
        QCOMPARE(restore.status, 1);
        QVERIFY2(restore.error.contains(QFileInfo(paths.at(2)).fileName()) &&
                     restore.error.contains("--force"),
                 qPrintable(restore.error));
        QCOMPARE(contents(paths.at(0)), before.at(0));
        QVERIFY(contents(paths.at(2)) != before.at(2));
        QCOMPARE(
            runProgram({"--batch", "--restore", "--force", paths.at(2)}, m_work->path()).status, 0);
        QCOMPARE(contents(paths.at(2)), before.at(2));
    }

    // A ~/.config that cannot hold the settings (here: a file in its place) costs only their
    // keeping: the run still finds svgo and optimizes, and says the settings were not saved.
    void unwritableSettingsStillOptimize() {
        const QString path = copyInto(m_work->path(), icons(1)).first();
        const QByteArray before = contents(path);
        writeFile(m_work->filePath(QStringLiteral("config")), "not a folder");
        const ProgramRun run = runProgram({"--batch", path}, m_work->path());
        QVERIFY2(run.status == 0, qPrintable(run.error));
        QVERIFY2(run.error.contains("Could not save setting"), qPrintable(run.error));
        QVERIFY(contents(path) != before);
    }

private:
    QTemporaryDir m_settings;
    std::unique_ptr<QTemporaryDir> m_work;
};

QTEST_GUILESS_MAIN(tst_FileSafety)
#include "tst_filesafety.moc"
