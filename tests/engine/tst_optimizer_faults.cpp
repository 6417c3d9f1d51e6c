// The optimizer against svgo stand-ins that fail in the ways a real svgo can fail but will not on
// demand: crashing, naming no file, writing garbage or a lot, hanging; and the real svgo with
// settings and configurations that have broken runs before.

#include "tst_optimizer_support.h"

#include "engine/SvgoResolver.h"

#include <csignal>

using namespace optimizer_test;
using Status = FileResult::Status;

namespace {

// Collects the arguments the way svgo pairs them: the n-th input with the n-th output.
const char *prelude = R"sh(#!/bin/bash
ins=(); outs=(); mode=
for a in "$@"; do
  case "$a" in
    -i) mode=i ;; -o) mode=o ;; --config) mode=c ;;
    *) if [ "$mode" = i ]; then ins+=("$a"); elif [ "$mode" = o ]; then outs+=("$a"); fi ;;
  esac
done
report() { printf '\n%s:\nDone in 1 ms!\n0.1 KiB - 1%% = 0.1 KiB\n' "$(basename "$1")";
}
)sh";

QString script(const QTemporaryDir &folder, const QString &name, const QByteArray &body) {
    return writeScript(folder.filePath(name), prelude + body);
}

// Writes each input's file name as a small document to its output and reports it.
const QByteArray copier = R"sh(
for n in "${!ins[@]}"; do printf '<svg id="%s"></svg>' "$(basename "${ins[$n]}")" > "${outs[$n]}";
report "${ins[$n]}"; done
)sh";

QByteArray documentOf(const QString &path) {
    return "<svg id=\"" + QFileInfo(path).fileName().toUtf8() + "\"></svg>";
}

// The processes listed one a line in `file` that still run (a zombie has ended).
QList<pid_t> stillRunning(const QString &file) {
    QList<pid_t> running;
    for (const QByteArray &line : contents(file).split('\n')) {
        const pid_t pid = line.trimmed().toInt();
        if (pid <= 0 || ::kill(pid, 0) != 0)
            continue;
        const QByteArray stat = contents(QStringLiteral("/proc/%1/stat").arg(pid));
        const qsizetype state = stat.lastIndexOf(')') + 2;
        if (state < 2 || state >= stat.size() || stat.at(state) != 'Z')
            running.append(pid);
    }
    return running;
}

// Prints at import and for every file, on both ways Node has of writing to standard output;
// it indents the output too, so a run that left the configuration out would show.
const QByteArray chattyConfig =
    "console.log('configuration loaded');\n"
    "export default { js2svg: { pretty: true, indent: 1 }, "
    "plugins: ['preset-default', { name: 'chatty', fn: (root, params, info) => "
    "{\nconsole.info('optimizing', info.path); process.stdout.write('{\"id\":0,\"ok\":false}\\n"
    "');\nconsole.table([1]);\nreturn {}; } }] };\n";

} // namespace

class tst_OptimizerFaults : public QObject {
    Q_OBJECT

    QTemporaryDir m_settings;
    QTemporaryDir m_work;

    QStringList inputs(int count) {
        QStringList names;
        for (int index = 0; index < count; ++index)
            names.append(QStringLiteral("icon%1.svg").arg(index));
        return copyInto(m_work.filePath(QString::number(QRandomGenerator::global()->generate())),
                        icons(count), names);
    }

private slots:
    void initTestCase() { isolateSettings(m_settings, QStringLiteral("tst_optimizer_faults")); }

    void init() {
        // One process per file, one at a time: the stand-ins' behaviour is then easy to follow.
        Keys::chunkSize().set(1);
        Keys::maxConcurrentProcesses().set(2);
        Keys::svgoTimeLimit().remove();
    }

    void unstartableSvgoCostsItsFilesOnly_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("shipped");    // whether the svgo shipped with the program is there
        QTest::addColumn<QString>("mention"); // in every file's message; empty: the run works
        const QString notExecutable = m_work.filePath(QStringLiteral("not-executable"));
        writeFile(notExecutable, prelude);
        const QString missing = m_work.filePath(QStringLiteral("no-such-svgo"));
        const QString fix = QStringLiteral("Settings ▸ Advanced");
        // A stored path that no longer runs (an uninstalled svgo) is never started: the shipped
        // svgo takes its place, and only without one do the files fail, naming the path and the
        // fix.
        QTest::newRow("missing, shipped svgo there") << missing << true << QString();
        QTest::newRow("missing") << missing << false << missing;
        QTest::newRow("not executable") << notExecutable << false << fix;
        // Taken as a path relative to the working folder, never looked up along PATH.
        QTest::newRow("bare name") << QStringLiteral("true") << false << fix;
        // The real svgo behind a wrapper, run where no node is on PATH: its launcher's complaint
        // names neither the cause nor the fix.
        QTest::newRow("no Node.js on PATH")
            << script(m_work, QStringLiteral("wrapper"), "exec '" + svgo().toUtf8() + "' \"$@\"\n")
            << true << QStringLiteral("Node.js was not found");
    }

    void unstartableSvgoCostsItsFilesOnly() {
        QFETCH(QString, path);
        QFETCH(bool, shipped);
        QFETCH(QString, mention);
        Keys::svgoExecutablePath().set(path);
        const QString shippedBefore = SvgoResolver::shippedSvgo();
        SvgoResolver::setShippedSvgo(shipped ? svgo() : QString());
        const QStringList paths = inputs(3);
        const QByteArray searchPath = qgetenv("PATH");
        if (mention.contains(QLatin1String("Node.js")))
            qputenv("PATH", m_work.filePath(QStringLiteral("nothing-here")).toLocal8Bit());
        const Run run = optimize(paths, textProfile());
        qputenv("PATH", searchPath);
        SvgoResolver::setShippedSvgo(shippedBefore);
        QCOMPARE(run.result.count(Status::Failed), mention.isEmpty() ? 0 : 3);
        if (mention.isEmpty())
            return;
        QCOMPARE(run.texts, QStringList{QString()});
        for (const FileResult &outcome : run.result.outcomes)
            QVERIFY2(outcome.message.contains(mention), qPrintable(outcome.message));
    }

    // What the run makes of a stand-in, file by file: a failure naming no file is narrowed down
    // to the file that causes it, a process killed mid-write costs only the outputs it had not
    // finished, and output that is no text or megabytes of it is taken as it is.
    void standInOutcomes_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("chunkSize");
        QTest::addColumn<bool>("fileMode"); // over the inputs; else text
        QTest::addColumn<QList<Status>>("expected");
        QTest::addColumn<QString>("message");     // in every failed file's
        QTest::addColumn<QByteArray>("document"); // every output; empty: the copier's
        const auto ok = Status::Optimized;
        const auto failed = Status::Failed;
        const QString broke = QStringLiteral("something broke");
        QTest::newRow("one file breaks every process it is in")
            << QByteArray(
                   R"sh(for f in "${ins[@]}"; do case "$f" in *icon4*) echo "something broke" >&2; exit 1 ;; esac; done
    )sh" + copier)
            << 50 << false << QList<Status>{ok, ok, ok, ok, failed, ok} << broke << QByteArray();
        QTest::newRow("every process breaks")
            << QByteArray("echo 'something broke' >&2; exit 3\n") << 50 << false
            << QList<Status>(6, failed) << broke << QByteArray();
        QTest::newRow("dies in its first write")
            << QByteArray("printf '<svg id=' > \"${outs[0]}\"; kill -9 $$\n") << 50 << true
            << QList<Status>(3, failed) << QStringLiteral("svgo ended unexpectedly")
            << QByteArray();
        // Each process completes one file and dies writing the next: every file gets there in the
        // end.
        QTest::newRow("dies after one complete output")
            << QByteArray(
                   R"sh(printf '<svg id="%s"></svg>' "$(basename "${ins[0]}")" > "${outs[0]}"; report "${ins[0]}"
    [ -n "${outs[1]}" ] && printf '<svg' > "${outs[1]}"; kill -9 $$
    )sh") << 50
            << true << QList<Status>(3, ok) << QString() << QByteArray();
        QTest::newRow("invalid UTF-8")
            << QByteArray(
                   R"sh(for o in "${outs[@]}"; do printf '<svg>\xff\xc3(</svg>' > "$o"; done; printf '\xff\xfe' >&2
    )sh") << 1
            << false << QList<Status>(2, ok) << QString() << QByteArray("<svg>\xff\xc3(</svg>");
        // Several megabytes per output and as much chatter on both pipes.
        QTest::newRow("megabytes")
            << QByteArray(
                   R"sh(for o in "${outs[@]}"; do head -c 4194304 /dev/zero | tr '\0' x | sed 's/^/<svg>/;s/$/<\/svg>/' | tr -d '\n' > "$o"; done
    head -c 3000000 /dev/zero | tr '\0' y; head -c 3000000 /dev/zero | tr '\0' z >&2
    )sh") << 1
            << false << QList<Status>(2, ok) << QString()
            << "<svg>" + QByteArray(4 * 1024 * 1024, 'x') + "</svg>";
    }

    void standInOutcomes() {
        QFETCH(QByteArray, body);
        QFETCH(int, chunkSize);
        QFETCH(bool, fileMode);
        QFETCH(QList<Status>, expected);
        QFETCH(QString, message);
        QFETCH(QByteArray, document);
        Keys::svgoExecutablePath().set(
            script(m_work, QString::fromUtf8(QTest::currentDataTag()), body));
        Keys::chunkSize().set(chunkSize);
        const QStringList paths = inputs(int(expected.size()));
        const QList<QByteArray> originals = contentsOf(paths);

        const Run run = optimize(paths, fileMode ? fileProfile(std::nullopt) : textProfile());

        QCOMPARE(statuses(run.result), expected);
        QList<QByteArray> documents;
        for (int index = 0; index < paths.size(); ++index) {
            const FileResult &outcome = run.result.outcomes.at(index);
            const bool failed = outcome.status == Status::Failed;
            const QByteArray output = document.isEmpty() ? documentOf(paths.at(index)) : document;
            if (failed)
                QVERIFY2(outcome.message.contains(message), qPrintable(outcome.message));
            else
                QCOMPARE(outcome.sizeAfter, output.size());
            if (!failed)
                documents.append(output);
            if (fileMode)
                QCOMPARE(contents(paths.at(index)), failed ? originals.at(index) : output);
        }
        if (fileMode)
            QVERIFY(leftovers(QFileInfo(paths.first()).path()).isEmpty());
        else
            QCOMPARE(run.texts, QStringList{assembled(textProfile(), documents)});
    }

    void pathChangeCountsFromTheNextProcess() {
        // The first stand-in lingers after its report, so the change lands while it still runs.
        const QString first = script(m_work, QStringLiteral("first"), copier + "sleep 1\n");
        const QString second =
            script(m_work, QStringLiteral("second"),
                   R"sh(for o in "${outs[@]}"; do printf '<svg id="second"></svg>' > "$o"; done
    )sh");
        Keys::svgoExecutablePath().set(first);
        Keys::maxConcurrentProcesses().set(1);
        OptimizerOptions options;
        options.exactChunks = true;
        const QStringList paths = inputs(3);
        QFuture<OptimizationResult> future =
            Optimizer::shared().optimize(entries(paths), textProfile(), {}, options);
        QTRY_VERIFY_WITH_TIMEOUT(future.progressValue() >= 1, 10000);
        Keys::svgoExecutablePath().set(second);
        future.waitForFinished();
        QCOMPARE(future.result().text,
                 assembled(textProfile(), {documentOf(paths.first()), "<svg id=\"second\"></svg>",
                                           "<svg id=\"second\"></svg>"}));
    }

    void realSvgoWithOddSettings_data() {
        QTest::addColumn<bool>("wrapped"); // svgo behind a shell script: its command line
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<qint64>("timeLimit"); // seconds, as stored
        QTest::newRow("configuration printing, workers") << false << chattyConfig << qint64(60);
        QTest::newRow("configuration printing, command line") << true << chattyConfig << qint64(60);
        QTest::newRow("no time limit, workers") << false << QByteArray() << qint64(0);
        QTest::newRow("negative time limit, workers") << false << QByteArray() << qint64(-5);
        QTest::newRow("no time limit, command line") << true << QByteArray() << qint64(0);
    }

    void realSvgoWithOddSettings() {
        QFETCH(bool, wrapped);
        QFETCH(QByteArray, config);
        QFETCH(qint64, timeLimit);
        QTemporaryDir work;
        Keys::svgoExecutablePath().set(wrapped ? script(work, QStringLiteral("svgo"),
                                                        "exec '" + svgo().toUtf8() + "' \"$@\"\n")
                                               : svgo());
        Keys::svgoTimeLimit().set(timeLimit);
        Profile profile = textProfile();
        const QString configFile = config.isEmpty() ? QString() : work.filePath("chatty.mjs");
        if (!config.isEmpty())
            configure(profile, configFile, config);
        const QStringList paths = inputs(4);
        const Run run = optimize(paths, profile);
        QCOMPARE(statuses(run.result), QList<Status>(4, Status::Optimized));
        QCOMPARE(run.texts, QStringList{assembled(profile, svgoAlone(paths, configFile))});
        if (!configFile.isEmpty())
            QVERIFY(run.texts.first() != assembled(profile, svgoAlone(paths)));
    }

    void stuckCommandLineEndsWithItsGroup_data() {
        QTest::addColumn<QByteArray>(
            "body");                      // PIDS: the file each process of the group is added to
        QTest::addColumn<bool>("cancel"); // cancelled once three processes are listed
        QTest::newRow("hangs, ended by the time limit")
            << QByteArray("echo $$ >> PIDS; sleep 300 & echo $! >> PIDS; wait\n") << false;
        QTest::newRow("cancelled while its node and sleep run")
            << QByteArray("echo $$ >> PIDS; '" + svgo().toUtf8() +
                          "' \"$@\" & echo $! >> PIDS; sleep 300 & echo $! >> PIDS; wait\n")
            << true;
    }

    void stuckCommandLineEndsWithItsGroup() {
        QFETCH(QByteArray, body);
        QFETCH(bool, cancel);
        QTemporaryDir work;
        const QString pids = work.filePath(QStringLiteral("pids"));
        Keys::svgoExecutablePath().set(
            script(work, QStringLiteral("svgo"), body.replace("PIDS", "'" + pids.toUtf8() + "'")));
        std::optional<OptimizationResult> result; // a cancelled future keeps none
        OptimizerOptions options;
        options.timeLimitMs = cancel ? 600000 : 1000;
        options.onFinished = [&](const OptimizationResult &finished) { result = finished; };
        QFuture<OptimizationResult> future =
            Optimizer::shared().optimize(entries(inputs(3)), textProfile(), {}, options);
        if (cancel) {
            QTRY_VERIFY_WITH_TIMEOUT(contents(pids).count('\n') >= 3, 30000);
            future.cancel();
        }
        // Generous: it only has to show that the run does not wait for ever.
        QTRY_VERIFY_WITH_TIMEOUT(future.isFinished(), 60000);
        future.waitForFinished();
        QVERIFY(result && result->cancelled == cancel);
        if (!cancel) {
            QCOMPARE(result->count(Status::Failed), 3);
            for (const FileResult &outcome : result->outcomes)
                QCOMPARE(outcome.message, QStringLiteral("svgo took longer than 1 s"));
        }
        QTRY_VERIFY_WITH_TIMEOUT(stillRunning(pids).isEmpty(), 10000);
    }
};

QTEST_GUILESS_MAIN(tst_OptimizerFaults)
#include "tst_optimizer_faults.moc"
