// svgo's plugins one at a time, with the real svgo and Node. "Why Smaller?": what each plugin
// saves and which changes the drawing, and the faults of svgo packages that cannot tell. The
// searches that follow an output that looks different, or look for a lower precision, on the warm
// workers: what they find, what the file gets, and where they stop.

#include "engine/PluginSavings.h"
#include "engine/VisualCheck.h"
#include "tst_optimizer_support.h"

#include <QSignalSpy>

using namespace optimizer_test;
using Status = FileResult::Status;

namespace {

// Squares whose corners sit at half a thousandth: svgo's rounding to three digits moves them by
// a visible share of so small a drawing. The comment and the title give the other plugins
// something to save.
const QByteArray squares =
    "<!-- drawn by hand -->\n<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 0.02 0.02\" "
    "width=\"24\" height=\"24\"><g><title>squares</title><path fill-rule=\"evenodd\" "
    "d=\"M0.0025 0.0025 L0.0175 0.0025 L0.0175 0.0175 L0.0025 0.0175 z M0.0045 0.0045 L0.0155 "
    "0.0045 L0.0155 0.0155 L0.0045 0.0155 z\"/>DOT</g></svg>\n";
// A dot whose radius cleanupNumericValues rounds up by a third.
const QByteArray dot = "<circle cx=\"0.01\" cy=\"0.01\" r=\"0.0015\"/>";

// A configuration of svgo's defaults plus plugins of its own: `breakers` each paint one more
// rectangle red, and one plugin named by a number (which nothing can leave out) counts the
// optimizations of each file in FOLDER/count and breaks the drawing where `alwaysBreaks`.
QByteArray configWith(int breakers, bool alwaysBreaks) {
    // Before svgo's own, which drop the ids and turn rectangles into paths.
    QByteArray plugins;
    for (int index = 0; index < breakers; ++index)
        plugins += "{ name: 'breaker" + QByteArray::number(index) +
                   "', fn: () => ({ element: { enter: (node) => { if (node.attributes.id === 'r" +
                   QByteArray::number(index) + "') node.attributes.fill = 'red'; } } }) }, ";
    plugins += "{ name: 7, fn: () => { fs.appendFileSync('FOLDER/count', 'x'); return " +
               QByteArray(alwaysBreaks ? "{ element: { enter: (node) => { if (node.name === "
                                         "'rect') node.attributes.fill = 'red'; } } }"
                                       : "{}") +
               "; } }, 'preset-default'";
    return "import fs from 'node:fs';\nexport default { plugins: [" + plugins + "] };\n";
}

QByteArray rectangles(int count) {
    QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 100 100\"><!-- x -->";
    for (int index = 0; index < count; ++index)
        svg += "<rect id=\"r" + QByteArray::number(index) + "\" x=\"" +
               QByteArray::number(index * 10) + "\" width=\"8\" height=\"100\"/>";
    return svg + "</svg>\n";
}

const QString shippedSvgo = svgo();

// What "Why Smaller?" finds for `file`.
PluginSavingsResult savingsOf(const QString &file, const QString &svgo, const QString &config,
                              std::chrono::milliseconds limit = std::chrono::milliseconds(120000)) {
    PluginSavings savings;
    savings.setTimeLimit(limit);
    QSignalSpy finished(&savings, &PluginSavings::finished);
    savings.start(file, svgo, config);
    if (finished.isEmpty() && !finished.wait(300000))
        qWarning() << "no answer";
    return savings.result();
}

} // namespace

class tst_BreakingPlugins : public QObject {
    Q_OBJECT

    QTemporaryDir m_settings;

    // An svgo package as far as the program can tell, whose module is `module`.
    QString fakePackage(const QString &name, const QByteArray &module) {
        const QString folder = m_settings.filePath(name);
        writeFile(folder + QStringLiteral("/package.json"),
                  R"({"name":"svgo","version":"4.1.0","type":"module",)"
                  R"("exports":{".":{"import":"./lib/svgo-node.js"}}})");
        writeFile(folder + QStringLiteral("/lib/svgo-node.js"), module);
        return writeScript(folder + QStringLiteral("/bin/svgo.js"), "#!/usr/bin/env node\n");
    }

private slots:
    void initTestCase() {
        isolateSettings(m_settings, QStringLiteral("tst_breakingplugins"));
        QCOMPARE(Optimizer::shared().engineKind(svgo()), SvgoInstallation::Engine::Worker);
    }

    void culpritsAreLeftOut_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("config"); // empty: svgo's defaults
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("without");
        QTest::addColumn<int>("optimizations"); // counted by the configuration; -1: not counted
        const auto row = [](const char *name, const QByteArray &input, const QByteArray &config,
                            OperationMode mode, Status status, const QStringList &without,
                            int optimizations = -1) {
            QTest::newRow(name) << input << config << int(mode) << int(status) << without
                                << optimizations;
        };
        const auto file = OperationMode::File, text = OperationMode::Text;
        QByteArray squaresAlone = squares;
        squaresAlone.replace("DOT", "");
        QByteArray squaresAndDot = squares;
        squaresAndDot.replace("DOT", dot);
        const QStringList pathData{"convertPathData"};
        row("rounding path data", squaresAlone, {}, file, Status::Optimized, pathData);
        row("rounding path data, in text", squaresAlone, {}, text, Status::Optimized, pathData);
        row("rounding path data and a radius", squaresAndDot, {}, file, Status::Optimized,
            {"cleanupNumericValues", "convertPathData"});
        // The plugin of its own comes last in line: one try without every plugin, six halvings
        // and one try without the culprit alone, after the first optimization.
        row("a plugin of the user's own configuration", rectangles(1), configWith(1, false), text,
            Status::Optimized, {"breaker0"}, 9);
        row("nothing that can be left out helps", rectangles(1), configWith(0, true), text,
            Status::LooksDifferent, {}, 2);
        // Ten culprits take more tries than a file gets: it ends with the smallest set seen to
        // look the same, after the first optimization and eight more.
        row("more culprits than tries", rectangles(10), configWith(10, false), text,
            Status::Optimized, {}, 9);
    }

    void culpritsAreLeftOut() {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, config);
        QFETCH(int, mode);
        QFETCH(int, status);
        QFETCH(QStringList, without);
        QFETCH(int, optimizations);
        QTemporaryDir work;
        const QString path = work.filePath(QStringLiteral("icon.svg"));
        writeFile(path, input);
        Profile profile = Profile::builtInDefault();
        profile.mode = OperationMode(mode);
        profile.uniqueIds = false;
        profile.findBreakingPlugins = true; // held back when it is off: tst_visualcheck
        if (!config.isEmpty())
            configure(profile, work.filePath(QStringLiteral("svgo.config.mjs")),
                      config.replace("FOLDER", work.path().toUtf8()));

        const Run run = optimize({path}, profile);

        const FileResult &outcome = run.result.outcomes.at(0);
        const QByteArray output =
            mode == int(OperationMode::Text) ? run.result.documents.at(0) : contents(path);
        QCOMPARE(int(outcome.status), status);
        if (optimizations >= 0)
            QCOMPARE(contents(work.filePath(QStringLiteral("count"))).size(), optimizations);
        if (status != int(Status::Optimized)) {
            QVERIFY(outcome.withoutPlugins.isEmpty());
            QCOMPARE(output, input);
            return;
        }
        if (without.isEmpty()) {
            QVERIFY(outcome.withoutPlugins.size() >= 10);
            return;
        }
        QCOMPARE(outcome.withoutPlugins, without);
        QVERIFY2(outcome.message.startsWith(QStringLiteral("Optimized without")),
                 qPrintable(outcome.message));
        QVERIFY(outcome.sizeWithAllPlugins > 0);
        // What the file got is smaller than it was and draws as it did.
        QCOMPARE(outcome.sizeAfter, output.size());
        QVERIFY(output.size() < input.size());
        QVERIFY(!VisualCheck(input).compare(output).looksDifferent);
    }

    // Each icon gets the lowest precision that still draws it as it was, and is no larger than
    // svgo's defaults make it; a run over icons that all hold still at svgo's default precision
    // would not show the search at all, so some must go lower.
    void automaticPrecisionGoesAsLowAsTheDrawingAllows() {
        QTemporaryDir work;
        const QStringList paths = copyInto(work.filePath(QStringLiteral("icons")), icons(8));
        const QList<QByteArray> before = contentsOf(paths);
        const QList<QByteArray> plain = svgoAlone(paths);
        Profile profile = Profile::builtInDefault();
        profile.automaticPrecision = true;
        profile.precision = 1; // not used with automatic precision

        const Run run = optimize(paths, profile);

        int lowered = 0;
        for (int index = 0; index < paths.size(); ++index) {
            const FileResult &outcome = run.result.outcomes.at(index);
            QCOMPARE(outcome.status, Status::Optimized);
            QVERIFY(outcome.precisionUsed >= 0 && outcome.precisionUsed <= 3);
            lowered += outcome.precisionUsed < 3 ? 1 : 0;
            const QByteArray output = contents(paths.at(index));
            QVERIFY(output.size() <= plain.at(index).size());
            QVERIFY(!VisualCheck(before.at(index)).compare(output).looksDifferent);
        }
        QVERIFY(lowered > 0);
    }

    // The steps' savings add up to exactly what the configuration saves applied in one go, each
    // step starting where the one before ended, and the step that changes the drawing is named.
    void stepsAddUpToOneGo_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("config");
        QTest::addColumn<QStringList>("lastPlugins");
        QTest::addColumn<QString>("changer"); // the plugin that changes the drawing; empty: none
        const QStringList presetEnd{QStringLiteral("sortDefsChildren"),
                                    QStringLiteral("removeDesc")};
        QTest::newRow("bootstrap icon")
            << iconFolder() + "/alarm.svg" << QString() << presetEnd << QString();
        QTest::newRow("tabler icon")
            << QStringLiteral(MIRANDEL_SOURCE_DIR "/tools/node_modules/@tabler/icons/icons/outline/"
                                                  "a-b-2.svg")
            << QString() << presetEnd << QString();
        const QString icon = dataFile(QStringLiteral("icon.svg"));
        QTest::newRow("verbose icon") << icon << QString() << presetEnd << QString();
        // A plugin switched off in the preset's overrides is left out; one after the preset
        // follows it.
        const QString config = m_settings.filePath(QStringLiteral("overrides.mjs"));
        writeFile(config, "export default { plugins: [{ name: 'preset-default', params: "
                          "{ overrides: { convertPathData: false } } }, 'removeDimensions'] };\n");
        QTest::newRow("overrides and a plugin after the preset")
            << icon << config
            << QStringList{QStringLiteral("removeDesc"), QStringLiteral("removeDimensions")}
            << QString();
        // Rounding every number to an integer makes the small circle vanish: the plugin that
        // rounds it is named, and the ones after it that merely tidy up are not.
        QTest::newRow("precision 0") << icon << dataFile(QStringLiteral("precision0.config.mjs"))
                                     << presetEnd << QStringLiteral("cleanupNumericValues");
    }
    void stepsAddUpToOneGo() {
        QFETCH(QString, file);
        QFETCH(QString, config);
        QFETCH(QStringList, lastPlugins);
        QFETCH(QString, changer);
        const PluginSavingsResult result = savingsOf(file, shippedSvgo, config);
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        QCOMPARE(result.version, QStringLiteral("4.1.0"));
        QCOMPARE(result.original, QFileInfo(file).size());
        QCOMPARE(result.optimized, svgoAlone({file}, config).first().size());
        qint64 saved = 0;
        qint64 before = result.original;
        QStringList names, changers;
        for (const PluginStep &step : result.steps) {
            QCOMPARE(step.before, before);
            before = step.after;
            saved += step.saved();
            names.append(step.plugin);
            if (step.changedDrawing)
                changers.append(step.plugin);
        }
        QCOMPARE(saved, result.saved());
        QVERIFY(result.saved() > 0);
        QCOMPARE(result.finalLooksDifferent, !changer.isEmpty());
        QVERIFY2(changer.isEmpty() ? changers.isEmpty() : changers.contains(changer),
                 qPrintable(changers.join(u',')));
        QVERIFY(!changers.contains(QStringLiteral("removeComments")));
        QVERIFY(!changers.contains(QStringLiteral("sortAttrs")));
        // svgo's reading and writing comes first, under no plugin's name.
        QVERIFY(result.steps.first().plugin.isEmpty());
        QCOMPARE(names.mid(names.size() - lastPlugins.size()), lastPlugins);
        QCOMPARE(names.contains(QStringLiteral("convertPathData")),
                 !config.endsWith(QLatin1String("overrides.mjs")));
    }

    // svgo that cannot apply its plugins one at a time says so, and one that hangs is stopped.
    void faultsAreReported_data() {
        QTest::addColumn<QString>("svgo");
        QTest::addColumn<QString>("config");
        QTest::addColumn<int>("limitSeconds");
        QTest::addColumn<QString>("expected");
        QTest::newRow("a wrapper script")
            << writeScript(m_settings.filePath(QStringLiteral("svgo-wrapper")),
                           "#!/bin/sh\nexec svgo \"$@\"\n")
            << QString() << 60 << QStringLiteral("can only be run as a program");
        QTest::newRow("a module that fails to load")
            << fakePackage(QStringLiteral("throwing"), "throw new Error('half installed');\n")
            << QString() << 60 << QStringLiteral("could not be loaded: Error: half installed");
        QTest::newRow("a module that never finishes loading")
            << fakePackage(QStringLiteral("hanging"), "while (true) {}\n") << QString() << 2
            << QStringLiteral("took longer than 2 second");
        const QString unknown = m_settings.filePath(QStringLiteral("unknown.mjs"));
        writeFile(unknown, "export default { plugins: ['noSuchPlugin'] };\n");
        QTest::newRow("an unknown plugin")
            << shippedSvgo << unknown << 60 << QStringLiteral("noSuchPlugin");
    }
    void faultsAreReported() {
        QFETCH(QString, svgo);
        QFETCH(QString, config);
        QFETCH(int, limitSeconds);
        QFETCH(QString, expected);
        const PluginSavingsResult result = savingsOf(dataFile(QStringLiteral("icon.svg")), svgo,
                                                     config, std::chrono::seconds(limitSeconds));
        QVERIFY2(result.error.contains(expected), qPrintable(result.error));
        QVERIFY(result.steps.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_BreakingPlugins)
#include "tst_breakingplugins.moc"
