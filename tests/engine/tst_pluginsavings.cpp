// "Why Smaller?" in the engine: svgo's plugins applied one at a time with the real svgo and
// Node, the drawings compared, and the faults of svgo packages that cannot do it.

#include "engine/PluginSavings.h"
#include "tst_optimizer_support.h"

#include <QSignalSpy>

using namespace optimizer_test;

namespace {

const QString shippedSvgo = svgo();

PluginSavingsResult run(const QString &file, const QString &svgo, const QString &config,
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

class tst_PluginSavings : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    // An svgo package as far as the program can tell, whose module is `module`.
    QString fakePackage(const QString &name, const QByteArray &module) {
        const QString folder = m_dir.filePath(name);
        writeFile(folder + QStringLiteral("/package.json"),
                  R"({"name":"svgo","version":"4.1.0","type":"module",)"
                  R"("exports":{".":{"import":"./lib/svgo-node.js"}}})");
        writeFile(folder + QStringLiteral("/lib/svgo-node.js"), module);
        return writeScript(folder + QStringLiteral("/bin/svgo.js"), "#!/usr/bin/env node\n");
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

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
        const QString config = m_dir.filePath(QStringLiteral("overrides.mjs"));
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
        const PluginSavingsResult result = run(file, shippedSvgo, config);
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
            << writeScript(m_dir.filePath(QStringLiteral("svgo-wrapper")),
                           "#!/bin/sh\nexec svgo \"$@\"\n")
            << QString() << 60 << QStringLiteral("can only be run as a program");
        QTest::newRow("a module that fails to load")
            << fakePackage(QStringLiteral("throwing"), "throw new Error('half installed');\n")
            << QString() << 60 << QStringLiteral("could not be loaded: Error: half installed");
        QTest::newRow("a module that never finishes loading")
            << fakePackage(QStringLiteral("hanging"), "while (true) {}\n") << QString() << 2
            << QStringLiteral("took longer than 2 second");
        const QString unknown = m_dir.filePath(QStringLiteral("unknown.mjs"));
        writeFile(unknown, "export default { plugins: ['noSuchPlugin'] };\n");
        QTest::newRow("an unknown plugin")
            << shippedSvgo << unknown << 60 << QStringLiteral("noSuchPlugin");
    }
    void faultsAreReported() {
        QFETCH(QString, svgo);
        QFETCH(QString, config);
        QFETCH(int, limitSeconds);
        QFETCH(QString, expected);
        const PluginSavingsResult result = run(dataFile(QStringLiteral("icon.svg")), svgo, config,
                                               std::chrono::seconds(limitSeconds));
        QVERIFY2(result.error.contains(expected), qPrintable(result.error));
        QVERIFY(result.steps.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_PluginSavings)
#include "tst_pluginsavings.moc"
