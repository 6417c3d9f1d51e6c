// What becomes of svgo's output before anything is written: the guards on its input, the visual
// check and the held-back output written on request, with the real svgo and real files.

#include "engine/HeldBackOutput.h"
#include "engine/OriginalsBackup.h"
#include "engine/OutputReview.h"
#include "engine/SvgRenderer.h"
#include "engine/VisualCheck.h"
#include "tst_optimizer_support.h"

#include <thread>

using namespace optimizer_test;
using Status = FileResult::Status;

namespace {

QString source(const QString &relative) {
    return QStringLiteral(MIRANDEL_SOURCE_DIR "/") + relative;
}

// librsvg 2.54 panics on this filter chain (a tile of an empty offset region).
const QByteArray panicking =
    "<svg viewBox=\"0 0 100 100\" xmlns=\"http://www.w3.org/2000/svg\"><filter id=\"f\">"
    "<feFlood x=\"0\" y=\"0\" width=\"8\" height=\"8\"/><feOffset dx=\"4\" dy=\"4\"/>"
    "<feTile/></filter><rect x=\"20\" y=\"20\" width=\"60\" height=\"60\" "
    "filter=\"url(#f)\"/></svg>";

// A hundred thousand blurred squares through five levels of ten <use>s each: a small file that
// keeps librsvg busy for far longer than the time limit, even at icon size.
QByteArray endless() {
    QByteArray svg = "<svg viewBox=\"0 0 64 64\" xmlns=\"http://www.w3.org/2000/svg\">"
                     "<defs><filter id=\"b\"><feGaussianBlur stdDeviation=\"3\"/></filter>"
                     "<g id=\"l0\"><rect width=\"60\" height=\"60\" filter=\"url(#b)\"/></g>";
    constexpr int levels = 5;
    for (int level = 1; level <= levels; ++level) {
        svg += "<g id=\"l" + QByteArray::number(level) + "\">";
        for (int copy = 0; copy < 10; ++copy)
            svg += "<use href=\"#l" + QByteArray::number(level - 1) + "\"/>";
        svg += "</g>";
    }
    return svg + "</defs><use href=\"#l" + QByteArray::number(levels) + "\"/></svg>";
}

// A drawing 64 units wide, so that a unit is a pixel of the first rendering.
QByteArray bars(double left, double width) {
    return "<svg viewBox=\"0 0 64 64\" xmlns=\"http://www.w3.org/2000/svg\"><rect x=\"" +
           QByteArray::number(left) + "\" y=\"8\" width=\"" + QByteArray::number(width) +
           "\" height=\"48\"/><circle cx=\"" + QByteArray::number(left + width + 12) +
           "\" cy=\"32\" r=\"" + QByteArray::number(width / 2) + "\"/></svg>";
}

const QByteArray wide = "<svg viewBox=\"0 0 200 100\" xmlns=\"http://www.w3.org/2000/svg\">"
                        "<rect x=\"10\" y=\"10\" width=\"180\" height=\"80\"/></svg>";

} // namespace

class tst_VisualCheck : public QObject {
    Q_OBJECT

    QTemporaryDir m_settings;

private slots:
    void svgoOutputIsJudged_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("config"); // in tests/data
        QTest::addColumn<bool>("textMode");
        QTest::addColumn<bool>("keepWhenNotSmaller");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QByteArray>("kept"); // text the output must still contain
        // A file in tests/data, unless a path is given.
        const auto row = [](const char *name, const QString &file, const char *config,
                            bool textMode, bool keepWhenNotSmaller, Status status,
                            const char *failure = "", const QByteArray &kept = {}) {
            QTest::newRow(name) << (file.startsWith(u'/') ? file : dataFile(file))
                                << QString(config) << textMode << keepWhenNotSmaller << int(status)
                                << QString(failure) << kept;
        };
        const char *rounded = "precision0.config.mjs";
        const QString backpack = iconFolder() + "/backpack.svg";
        row("icon passes", "icon.svg", "", false, true, Status::Optimized);
        row("precision 0 breaks shapes", "icon.svg", rounded, false, true, Status::LooksDifferent);
        row("precision 0, text mode", backpack, rounded, true, true, Status::LooksDifferent);
        row("sprite emptied", "sprite.svg", "", false, true, Status::LooksDifferent);
        row("umlauts of a Latin-1 file survive", "latin1.svg", "", false, true, Status::Optimized,
            "", "Grüße äö");
        row("root not svg", "not-svg.svg", "", false, true, Status::Failed, "Not an SVG document");
        row("empty", "empty.svg", "", false, true, Status::Failed, "Empty file");
        row("larger output kept out", "larger.svg", "", false, true, Status::AlreadyOptimal);
        row("larger output taken when asked", "larger.svg", "", false, false, Status::Optimized);
        row("larger output in text mode", "larger.svg", "", true, true, Status::Optimized);
    }

    // Through a whole run with the real svgo: the file on disk shows what the run decided.
    void svgoOutputIsJudged() {
        QFETCH(QString, file);
        QFETCH(QString, config);
        QFETCH(bool, textMode);
        QFETCH(bool, keepWhenNotSmaller);
        QFETCH(int, status);
        QFETCH(QString, failure);
        QFETCH(QByteArray, kept);

        QTemporaryDir work;
        const QString input = copyInto(work.path(), {file}).first();
        const QByteArray original = contents(input);
        Profile profile = Profile::builtInDefault();
        profile.mode = textMode ? OperationMode::Text : OperationMode::File;
        profile.uniqueIds = false;
        profile.keepOriginalWhenNotSmaller = keepWhenNotSmaller;
        // What the check holds back, not what a search for the plugins to blame makes of it.
        profile.findBreakingPlugins = false;
        if (!config.isEmpty())
            profile.svgoConfigFile = QUrl::fromLocalFile(dataFile(config));
        const Run run = optimize({input}, profile);

        const FileResult &result = run.result.outcomes.at(0);
        QCOMPARE(int(result.status), status);
        if (!failure.isEmpty())
            QCOMPARE(result.message, failure);
        const QByteArray output = textMode ? run.result.text.toUtf8() : contents(input);
        QVERIFY(!output.contains("8859"));
        QVERIFY(output.contains(kept));
        // File mode writes only what passed; text mode uses every output but a failed one's.
        if (!textMode && status != int(Status::Optimized))
            QCOMPARE(contents(input), original);
        QCOMPARE(result.differentOutput.isEmpty(), status != int(Status::LooksDifferent));
        QVERIFY(result.withoutPlugins.isEmpty());
        // A changed drawing tells how much changed and what it would weigh; a lost structure
        // has no pixel count.
        QCOMPARE(result.changedPixels > 0,
                 status == int(Status::LooksDifferent) && !file.contains("sprite"));
        QCOMPARE(result.comparedAt.isValid(), result.changedPixels > 0);
        if (status == int(Status::LooksDifferent))
            QCOMPARE(result.sizeAfter, result.differentOutput.size());
    }

    void heldBackOutputIsWrittenKeepingTheOriginal_data() {
        QTest::addColumn<bool>("intoFolder");
        QTest::newRow("over the input") << false;
        QTest::newRow("into the output folder") << true;
    }

    void heldBackOutputIsWrittenKeepingTheOriginal() {
        QFETCH(bool, intoFolder);
        QTemporaryDir work;
        const QString input = copyInto(work.path(), {dataFile(QStringLiteral("icon.svg"))}).first();
        const QByteArray original = contents(input);
        const QByteArray output =
            svgoAlone({input}, dataFile(QStringLiteral("precision0.config.mjs"))).first();
        const QString folder = work.filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(folder));
        const QString root = work.filePath(QStringLiteral("originals"));

        OriginalsBackup backup(root);
        const QString destination = intoFolder ? folder + QStringLiteral("/icon.svg") : input;
        QCOMPARE(HeldBackOutput::write(input, destination, output, backup), QString());
        backup.save();

        QCOMPARE(contents(destination), output);
        const QList<OriginalsBackup::Original> kept = OriginalsBackup::originals({input}, root);
        QCOMPARE(kept.size(), intoFolder ? 0 : 1);
        QCOMPARE(contents(intoFolder ? input : kept.first().copy), original);
    }

    void rendererSurvivesBrokenDrawings_data() {
        QTest::addColumn<QByteArray>("svg");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<bool>("couldNotDraw");
        QTest::addColumn<QSizeF>("natural");
        const auto row = [](const char *name, const QByteArray &svg, QSize box, QSizeF natural,
                            bool valid = true, bool couldNotDraw = false) {
            QTest::newRow(name) << svg << box << valid << couldNotDraw << natural;
        };
        row("wide viewBox", wide, {64, 64}, {200, 100});
        row("proportions that round",
            "<svg viewBox=\"0 0 5 7\" xmlns=\"http://www.w3.org/2000/svg\"><circle cx=\"2.5\" "
            "cy=\"3.5\" r=\"2\"/></svg>",
            {64, 64}, {5, 7});
        row("size without viewBox",
            "<svg width=\"30\" height=\"20\" xmlns=\"http://www.w3.org/2000/svg\"><rect "
            "width=\"20\" height=\"10\"/></svg>",
            {256, 256}, {30, 20});
        row("neither size nor viewBox",
            "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect width=\"5\" height=\"5\"/></svg>",
            {64, 40}, {1, 1});
        // Megabytes of pixels arrive in many pieces.
        row("large drawing", wide, {2048, 2048}, {200, 100});
        row("not SVG", "<svg", {64, 64}, {1, 1}, false);
        row("librsvg panics", panicking, {64, 64}, {100, 100}, true, true);
        row("drawing takes too long", endless(), {64, 64}, {64, 64}, true, true);
    }

    // A first drawing fitted by the helper is the drawing at the size fittedSize() tells, and a
    // helper that crashed or was stopped is replaced: the next drawing on this thread works.
    void rendererSurvivesBrokenDrawings() {
        QFETCH(QByteArray, svg);
        QFETCH(QSize, box);
        QFETCH(bool, valid);
        QFETCH(bool, couldNotDraw);
        QFETCH(QSizeF, natural);
        const SvgRenderer fitted(svg), measured(svg);
        QCOMPARE(measured.isValid(), valid);
        QCOMPARE(measured.naturalSize(), natural);
        QCOMPARE(fitted.naturalSize(), natural);
        const QSize size = measured.fittedSize(box);
        const QImage image = measured.render(size);
        QCOMPARE(measured.couldNotDraw(), couldNotDraw);
        QCOMPARE(image.size(), !valid || couldNotDraw ? QSize(0, 0) : size); // 0×0: none
        QCOMPARE(fitted.renderFitted(box), image);
        QCOMPARE(measured.render({32, 32}).isNull(), !valid || couldNotDraw);

        const SvgRenderer next(wide);
        const QImage drawn = next.render({64, 32});
        QCOMPARE(drawn.size(), QSize(64, 32));
        // The rectangle, drawn by the helper, lies where the document puts it.
        QCOMPARE(qAlpha(drawn.pixel(32, 16)), 255);
        QCOMPARE(qAlpha(drawn.pixel(1, 1)), 0);
    }

    void undrawableFileIsLeftAsItWas_data() {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QByteArray>("output"); // empty: svgo's own, through a whole run
        QTest::newRow("original panics") << panicking << QByteArray();
        QTest::newRow("original takes too long") << endless() << QByteArray();
        QTest::newRow("output panics") << wide << panicking;
    }

    void undrawableFileIsLeftAsItWas() {
        QFETCH(QByteArray, original);
        QFETCH(QByteArray, output);
        Profile profile = Profile::builtInDefault();
        profile.mode = OperationMode::File;
        profile.keepOriginalWhenNotSmaller = false;
        if (!output.isEmpty()) {
            const VisualCheck check(original);
            const FileResult result = OutputReview::review(profile, original, output, &check);
            QCOMPARE(int(result.status), int(Status::Failed));
            QCOMPARE(result.message, VisualCheck::couldNotDrawMessage());
            return;
        }
        // Beside a file that draws, which the same run still optimizes.
        QTemporaryDir work;
        const QString broken = work.filePath(QStringLiteral("broken.svg"));
        writeFile(broken, original);
        const QString icon = copyInto(work.path(), {dataFile(QStringLiteral("icon.svg"))}).first();
        const Run run = optimize({broken, icon}, profile);

        const FileResult &result = run.result.outcomes.at(0);
        QCOMPARE(int(result.status), int(Status::Failed));
        QCOMPARE(result.message, VisualCheck::couldNotDrawMessage());
        QCOMPARE(contents(broken), original);
        QCOMPARE(int(run.result.outcomes.at(1).status), int(Status::Optimized));
    }

    void markupChangesAreCaught_data() {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QByteArray>("optimized");
        QTest::addColumn<bool>("changed");
        const QByteArray sprite = "<svg xmlns=\"http://www.w3.org/2000/svg\"><symbol id=\"a\">"
                                  "<path d=\"M0 0h4v4z\"/></symbol><use href=\"#a\"/></svg>";
        const QByteArray prefixed =
            "<s:svg xmlns:s=\"http://www.w3.org/2000/svg\"><s:symbol id=\"a\"/>"
            "<s:use href=\"#a\"/></s:svg>";
        const QByteArray emptied = "<svg xmlns=\"http://www.w3.org/2000/svg\"/>";
        QTest::newRow("no sprite") << wide << emptied << false;
        QTest::newRow("sprite kept") << sprite << sprite << false;
        QTest::newRow("sprite emptied") << sprite << emptied << true;
        QTest::newRow("prefixed sprite emptied") << prefixed << emptied << true;
        QTest::newRow("output blank") << wide << QByteArray(" \n\t") << true;
        QTest::newRow("both blank") << QByteArray("\r\n") << QByteArray() << false;
        // svgo folds a rotation into the path and keeps the origin, which browsers apply again.
        const QByteArray turned = "<svg xmlns=\"http://www.w3.org/2000/svg\"><path "
                                  "transform=\"rotate(45)\" transform-origin=\"12 12\" "
                                  "d=\"M4 11h16v2H4z\"/></svg>";
        QTest::newRow("origin kept, transform folded")
            << turned
            << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\"><path d=\"M-4.95 10.607 "
                          "6.364 21.92z\" transform-origin=\"12 12\"/></svg>")
            << true;
        QTest::newRow("origin kept as a style property")
            << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\"><g style=\"fill:red; "
                          "transform-origin: 50% 50%\" transform=\"scale(2)\"><path "
                          "d=\"M1 1h2v2z\"/></g></svg>")
            << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\"><path d=\"M2 2h4v4z\" "
                          "style=\"fill:red;transform-origin:50% 50%\"/></svg>")
            << true;
        QTest::newRow("origin kept with its transform") << turned << turned << false;
        const QByteArray loneOrigin = "<svg xmlns=\"http://www.w3.org/2000/svg\"><path "
                                      "transform-origin=\"1 1\" d=\"M1 1h2v2z\"/></svg>";
        QTest::newRow("origin that never had a transform") << loneOrigin << loneOrigin << false;
    }

    void markupChangesAreCaught() {
        QFETCH(QByteArray, original);
        QFETCH(QByteArray, optimized);
        QFETCH(bool, changed);
        QCOMPARE(!VisualCheck::structuralChange(original, optimized).isEmpty(), changed);
    }

    void drawingsAreCompared_data() {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<QByteArray>("optimized");
        QTest::addColumn<QSize>("comparedAt"); // the drawing that showed a change; none: alike
        const QSize large(VisualCheck::secondSide, VisualCheck::secondSide);
        QTest::newRow("same bytes") << wide << wide << QSize();
        QTest::newRow("same drawing, other markup")
            << wide
            << QByteArray("<svg viewBox=\"0 0 200 100\" xmlns=\"http://www.w3.org/2000/svg\">"
                          "<path d=\"M10 10h180v80H10z\"/></svg>")
            << QSize();
        QTest::newRow("shape moved")
            << wide
            << QByteArray("<svg viewBox=\"0 0 200 100\" xmlns=\"http://www.w3.org/2000/svg\">"
                          "<rect x=\"40\" y=\"10\" width=\"150\" height=\"80\"/></svg>")
            << QSize(64, 32);
        // Moves that anti-aliasing hides at icon size but a four times larger drawing shows.
        const auto moved = [&](const char *name, const QByteArray &optimized, QSize comparedAt) {
            QTest::newRow(name) << bars(10, 20) << optimized << comparedAt;
        };
        moved("bars drawn alike", bars(10, 20), QSize());
        moved("edges moved a twentieth of a pixel", bars(10.05, 20.05), QSize());
        moved("bar a tenth of a pixel wider", bars(10, 20.1), QSize());
        // Four pixels of the deciding drawing's each, which nobody misses there.
        moved("edges moved a pixel", bars(11, 20), large);
        moved("bar and circle 0.7 pixels wider", bars(10, 20.7), large);
        moved("edges moved 0.6 pixels", bars(10.6, 20), large);
        // svgo's own outputs of real icons. The circle of the sun becomes an egg at precision 1,
        // though no pixel at icon size shows it.
        const QString sun = dataFile(QStringLiteral("check/sun-high.svg"));
        QTest::newRow("sun at precision 1")
            << contents(sun) << contents(dataFile(QStringLiteral("check/sun-high.precision1.svg")))
            << large;
        const QString bootstrap = iconFolder() + "/";
        const QString mdi = source(QStringLiteral("tools/node_modules/@mdi/svg/svg/"));
        const QString tabler =
            source(QStringLiteral("tools/node_modules/@tabler/icons/icons/outline/"));
        const QStringList icons = QStringList{sun}
                                  << bootstrap + "alarm.svg" << bootstrap + "arrow-left-circle.svg"
                                  << bootstrap + "moon-fill.svg" << mdi + "account.svg"
                                  << mdi + "home-circle-outline.svg" << tabler + "deer.svg"
                                  << tabler + "network.svg" << tabler + "command-off.svg";
        const QList<QByteArray> optimized = svgoAlone(icons);
        for (int index = 0; index < icons.size(); ++index) {
            const QByteArray original = contents(icons.at(index));
            QVERIFY2(optimized.at(index) != original, qPrintable(icons.at(index)));
            QTest::newRow(qPrintable(QFileInfo(icons.at(index)).baseName() + ", svgo's defaults"))
                << original << optimized.at(index) << QSize();
        }
    }

    void drawingsAreCompared() {
        QFETCH(QByteArray, original);
        QFETCH(QByteArray, optimized);
        QFETCH(QSize, comparedAt);
        QVERIFY(!original.isEmpty() && !optimized.isEmpty());
        const VisualCheck::Verdict verdict = VisualCheck(original).compare(optimized);
        QCOMPARE(verdict.looksDifferent, comparedAt.isValid());
        QVERIFY(!verdict.couldNotDraw);
        QCOMPARE(verdict.comparedAt, comparedAt);
        QCOMPARE(verdict.difference.isNull(), !comparedAt.isValid());
    }

    // One check judges several outputs of its original, on whichever threads ask; the large
    // drawing of the original, made for the first, serves the others alike.
    void oneCheckJudgesSeveralOutputs() {
        const VisualCheck check(bars(10, 20));
        const QList<QByteArray> outputs{bars(10.6, 20), bars(10.05, 20.05), bars(10, 20.7),
                                        bars(10, 20)};
        QList<bool> verdicts;
        for (const QByteArray &output : outputs) {
            std::thread thread([&] { verdicts.append(check.compare(output).looksDifferent); });
            thread.join();
        }
        QCOMPARE(verdicts, QList<bool>({true, false, true, false}));
    }

    void initTestCase() { isolateSettings(m_settings, QStringLiteral("tst_visualcheck")); }
};

QTEST_GUILESS_MAIN(tst_VisualCheck)
#include "tst_visualcheck.moc"
