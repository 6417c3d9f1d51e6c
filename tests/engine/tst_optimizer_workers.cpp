// The warm svgo workers against the real svgo, fed the inputs that break a run: files svgo
// refuses or hangs on, workers killed mid-file, configurations that cannot work, and svgo
// installations whose module the worker cannot load. Files changed or deleted while the run goes
// are tst_filesafety's.

#include "tst_optimizer_support.h"

#include <csignal>

using namespace optimizer_test;
using Status = FileResult::Status;

namespace {

// A configuration with svgo's defaults plus a plugin that runs `body` for every file, with
// `name` its file name and FOLDER the test's folder.
QByteArray trapConfig(const QByteArray &body) {
    return "import fs from 'node:fs';\nimport child from 'node:child_process';\nexport default { "
           "plugins: ['preset-default', { name: "
           "'trap', fn: (root, params, info) => {\nconst name = info.path.split('/').pop();\n" +
           body + "\nreturn {}; } }] };\n";
}

} // namespace

class tst_OptimizerWorkers : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        isolateSettings(m_settings, QStringLiteral("tst_optimizer_workers"));
        QCOMPARE(Optimizer::shared().engineKind(svgo()), SvgoInstallation::Engine::Worker);
    }

    void badInputCostsOnlyItsFiles_data() {
        QTest::addColumn<QByteArray>("config"); // FOLDER stands for the inputs' folder
        QTest::addColumn<QString>("odd");       // the name of the second of three files
        QTest::addColumn<QList<Status>>("expected");
        QTest::addColumn<QString>("message");
        const auto ok = Status::Optimized;
        const auto failed = Status::Failed;
        QTest::newRow("malformed file quoting its siblings' paths")
            << QByteArray() << "broken.svg" << QList{ok, failed, ok}
            << "SvgoParserError: FOLDER/broken.svg";
        QTest::newRow("svgo never ends on one file")
            << trapConfig("if (name === 'slow.svg') for (;;) {}") << "slow.svg"
            << QList{ok, failed, ok} << "svgo took longer than 2 s";
        QTest::newRow("worker killed mid-file once")
            << trapConfig("if (name === 'kill.svg' && !fs.existsSync('FOLDER/flag')) {\n"
                          "fs.writeFileSync('FOLDER/flag', ''); process.kill(process.pid, "
                          "'SIGKILL'); }")
            << "kill.svg" << QList{ok, ok, ok} << QString();
        QTest::newRow("worker killed on every try")
            << trapConfig("if (name === 'kill.svg') process.kill(process.pid, 'SIGKILL');")
            << "kill.svg" << QList{ok, failed, ok} << "svgo ended unexpectedly";
        QTest::newRow("configuration that throws")
            << QByteArray("throw new Error('broken configuration');") << "b.svg"
            << QList{failed, failed, failed} << "broken configuration";
        QTest::newRow("configuration naming an unknown plugin")
            << QByteArray("export default { plugins: ['noSuchPlugin'] };") << "b.svg"
            << QList{failed, failed, failed} << "Unknown builtin plugin \"noSuchPlugin\"";
    }

    void badInputCostsOnlyItsFiles() {
        QFETCH(QByteArray, config);
        QFETCH(QString, odd);
        QFETCH(QList<Status>, expected);
        QFETCH(QString, message);
        QTemporaryDir work;
        const QString folder = work.filePath(QStringLiteral("icons"));
        const QStringList paths = copyInto(folder, icons(3), {"a.svg", odd, "c.svg"});
        if (odd == QLatin1String("broken.svg"))
            writeFile(paths.at(1), "<svg xmlns=\"http://www.w3.org/2000/svg\">\n<text>" +
                                       paths.at(0).toUtf8() + " " + paths.at(2).toUtf8() +
                                       "</text>\n");
        const QList<QByteArray> before = contentsOf(paths);
        Profile profile = fileProfile(std::nullopt);
        if (!config.isEmpty())
            configure(profile, work.filePath(QStringLiteral("svgo.config.mjs")),
                      config.replace("FOLDER", folder.toUtf8()));
        OptimizerOptions options;
        options.timeLimitMs = odd == QLatin1String("slow.svg") ? 2000 : 60000;
        options.maxConcurrentProcesses = 1; // files in list order, one after the other

        const Run run = optimize(paths, profile, options);

        QCOMPARE(statuses(run.result), expected);
        for (int index = 0; index < paths.size(); ++index) {
            const FileResult &outcome = run.result.outcomes.at(index);
            if (outcome.status == Status::Optimized) {
                QVERIFY(contents(paths.at(index)).size() < before.at(index).size());
                continue;
            }
            QVERIFY2(outcome.message.contains(QString(message).replace("FOLDER", folder)),
                     qPrintable(outcome.message));
            QVERIFY(!outcome.message.contains(QChar(0x1B))); // no terminal colour codes
            // A failed file is untouched.
            QCOMPARE(contents(paths.at(index)), before.at(index));
        }
        QVERIFY(leftovers(folder).isEmpty());
    }

    void documentsComeBackAsSvgoWritesThem_data() {
        QTest::addColumn<QList<QByteArray>>("inputs");
        const QByteArray head =
            "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 100 100\">";
        QTest::newRow("quotes, backslashes and text beyond ASCII")
            << QList<QByteArray>{head + "<text x=\"1\" y=\"9\">\"a\\b\" Grüße 日本 😀</text>"
                                        "<text x=\"1\" y=\"19\">second\nline</text></svg>"};
        QByteArray path = head + "<path d=\"M0 0";
        for (int point = 0; point < 30000; ++point)
            path += " L" + QByteArray::number(point % 97) + " " + QByteArray::number(point % 89);
        QTest::newRow("a document far larger than one read")
            << QList<QByteArray>{path + "\"/></svg>"};
        QTest::newRow("many answers back to back") << contentsOf(icons(24));
    }

    // Text mode hands each document back through the worker's answers, byte for byte.
    void documentsComeBackAsSvgoWritesThem() {
        QFETCH(QList<QByteArray>, inputs);
        QTemporaryDir work;
        QStringList paths;
        for (const QByteArray &input : inputs) {
            paths.append(work.filePath(QStringLiteral("%1.svg").arg(paths.size())));
            writeFile(paths.last(), input);
        }
        const Run run = optimize(paths, textProfile());
        QCOMPARE(run.result.documents, svgoAlone(paths));
    }

    void cancelKeepsFinishedFilesAndEndsTheWorker() {
        QTemporaryDir work;
        const QStringList paths =
            copyInto(work.path(), icons(5), {"a.svg", "b.svg", "slow.svg", "d.svg", "e.svg"});
        Profile profile = fileProfile(std::nullopt);
        // The worker starts a process of its own before it hangs: it must not outlive the cancel.
        configure(profile, work.filePath(QStringLiteral("trap.mjs")),
                  trapConfig("if (name === 'slow.svg') { const sleep = child.spawn('sleep', "
                             "['300'], {stdio: 'ignore'}); fs.writeFileSync('" +
                             work.filePath(QStringLiteral("pid")).toUtf8() +
                             "', process.pid + ' ' + sleep.pid); for (;;) {} }"));
        std::optional<OptimizationResult> finished;
        OptimizerOptions options;
        options.maxConcurrentProcesses = 1;
        options.onFinished = [&](const OptimizationResult &result) { finished = result; };
        QFuture<OptimizationResult> future =
            Optimizer::shared().optimize(entries(paths), profile, {}, options);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(work.filePath(QStringLiteral("pid"))), 20000);
        future.cancel();
        QTRY_VERIFY_WITH_TIMEOUT(future.isFinished(), 5000);
        future.waitForFinished();
        QVERIFY(finished && finished->cancelled);
        QCOMPARE(statuses(*finished), (QList{Status::Optimized, Status::Optimized, Status::NotRun,
                                             Status::NotRun, Status::NotRun}));
        const QList<QByteArray> pids = contents(work.filePath(QStringLiteral("pid"))).split(' ');
        QCOMPARE(pids.size(), 2);
        for (const QByteArray &pid : pids) {
            QVERIFY(pid.toInt() > 0);
            QTRY_VERIFY_WITH_TIMEOUT(::kill(pid_t(pid.toInt()), 0) != 0, 5000);
        }
        QVERIFY(leftovers(work.path()).isEmpty());
    }

    void svgoTheWorkerCannotLoadRunsItsCommandLine_data() {
        QTest::addColumn<QByteArray>("version"); // of the package; empty: no package at all
        QTest::addColumn<QByteArray>("module");  // lib/svgo-node.js; empty: none
        QTest::addColumn<SvgoInstallation::Engine>("kindBefore");
        const auto commandLine = SvgoInstallation::Engine::CommandLine;
        QTest::newRow("wrapper script") << QByteArray() << QByteArray() << commandLine;
        QTest::newRow("wrong major version")
            << QByteArray("3.2.0") << QByteArray("export {};") << commandLine;
        QTest::newRow("module missing") << QByteArray("4.1.0") << QByteArray() << commandLine;
        QTest::newRow("module that fails to load")
            << QByteArray("4.1.0") << QByteArray("throw new Error('cannot load');")
            << SvgoInstallation::Engine::Worker;
    }

    void svgoTheWorkerCannotLoadRunsItsCommandLine() {
        QFETCH(QByteArray, version);
        QFETCH(QByteArray, module);
        QFETCH(SvgoInstallation::Engine, kindBefore);
        QTemporaryDir work;
        // Shaped like an installed package: a link to bin/svgo.js, which runs the real svgo.
        const QString package = work.filePath(QStringLiteral("lib/node_modules/svgo"));
        writeScript(package + "/bin/svgo.js", "#!/bin/sh\nexec '" + svgo().toUtf8() + "' \"$@\"\n");
        if (!version.isEmpty())
            writeFile(package + "/package.json",
                      "{\"name\":\"svgo\",\"version\":\"" + version + "\"}");
        if (!module.isEmpty())
            writeFile(package + "/lib/svgo-node.js", module);
        const QString executable = work.filePath(QStringLiteral("bin/svgo"));
        QDir().mkpath(QFileInfo(executable).path());
        QVERIFY(QFile::link(package + "/bin/svgo.js", executable));
        QCOMPARE(Optimizer::shared().engineKind(executable), kindBefore);

        Keys::svgoExecutablePath().set(executable);
        const QStringList paths = icons(4);
        const Run run = optimize(paths, textProfile());
        Keys::svgoExecutablePath().set(svgo());

        QCOMPARE(run.texts, QStringList{assembled(textProfile(), svgoAlone(paths))});
        QCOMPARE(Optimizer::shared().engineKind(executable), SvgoInstallation::Engine::CommandLine);
    }

private:
    QTemporaryDir m_settings;
};

QTEST_GUILESS_MAIN(tst_OptimizerWorkers)
#include "tst_optimizer_workers.moc"
