// How a run is cut into svgo processes, and how svgo's messages are read.

#include "engine/SvgoChunkPlanner.h"
#include "engine/SvgoMessages.h"

#include <QtTest>

class tst_OptimizerPlanning : public QObject {
    Q_OBJECT

private slots:
    void chunks_data() {
        QTest::addColumn<int>("files");
        QTest::addColumn<qint64>("bigFileBytes"); // size of file 3; the others have 1,000 bytes
        QTest::addColumn<SvgoChunkLimits>("limits");
        QTest::addColumn<QList<int>>("sizes");

        SvgoChunkLimits exact;
        exact.exact = true;
        exact.maxFiles = 1000;
        QTest::newRow("120 in exact chunks of 50")
            << 120 << qint64(1000) << exact << QList<int>{50, 50, 20};
        SvgoChunkLimits belowOne = exact;
        belowOne.minFiles = 0;
        QTest::newRow("chunk size 0 counts as 1")
            << 3 << qint64(1000) << belowOne << QList<int>{1, 1, 1};

        SvgoChunkLimits grown;
        grown.processes = 2;
        grown.maxFiles = 2000;
        QTest::newRow("one chunk per process")
            << 2078 << qint64(1000) << grown << QList<int>{1039, 1039};
        SvgoChunkLimits fewOpenFiles = grown;
        fewOpenFiles.maxFiles = 500;
        QTest::newRow("open-file bound, balanced waves")
            << 2078 << qint64(1000) << fewOpenFiles << QList<int>{347, 347, 347, 347, 347, 343};
        SvgoChunkLimits bytes = grown;
        bytes.maxInputBytes = 10000;
        QTest::newRow("a huge file gets a chunk of its own")
            << 12 << qint64(50000) << bytes << QList<int>{3, 1, 8};
        SvgoChunkLimits commandLine = grown;
        commandLine.maxCommandLine = 100 * 5; // every file costs 100 bytes of arguments here
        QTest::newRow("command-line bound")
            << 12 << qint64(1000) << commandLine << QList<int>{5, 5, 2};
    }

    void chunks() {
        QFETCH(int, files);
        QFETCH(qint64, bigFileBytes);
        QFETCH(SvgoChunkLimits, limits);
        QFETCH(QList<int>, sizes);
        QList<SvgoChunkInput> inputs(files, SvgoChunkInput{1000, 100});
        if (files > 3)
            inputs[3].bytes = bigFileBytes;
        const QList<QList<int>> chunks = planSvgoChunks(inputs, limits);
        QList<int> actualSizes;
        int next = 0;
        for (const QList<int> &chunk : chunks) {
            actualSizes.append(int(chunk.size()));
            for (int index : chunk)
                QCOMPARE(index, next++); // consecutive, in list order
        }
        QCOMPARE(actualSizes, sizes);
    }

    void failingInput_data() {
        QTest::addColumn<QString>("standardError");
        QTest::addColumn<int>("expected"); // -1: none
        QTest::addColumn<QString>("message");
        const QString stack =
            QStringLiteral("\n    at optimize (file:///svgo/lib/svgo.js:1:1)\n    at "
                           "async Promise.all (index 0)\n");
        QTest::newRow("parse error, coloured")
            << QStringLiteral("\x1B[31mSvgoParserError: /f/a b.svg:2:0: Unclosed root tag\n\n> 2 | "
                              "\n\x1B[39m\n")
            << 1 << QStringLiteral("SvgoParserError: /f/a b.svg:2:0: Unclosed root tag\n\n> 2 |");
        QTest::newRow("quoted lines name a sibling")
            << QStringLiteral("SvgoParserError: /f/a.svg.svg:1:5: Unclosed root tag\n\n> 1 | "
                              "<svg><text>/f/a b.svg</text>\n")
            << 2
            << QStringLiteral("SvgoParserError: /f/a.svg.svg:1:5: Unclosed root tag\n\n> 1 | "
                              "<svg><text>/f/a b.svg</text>");
        QTest::newRow("longest path wins")
            << QStringLiteral("Error: no such file or directory '/f/a.svg.svg'.") + stack << 2
            << QStringLiteral("Error: no such file or directory '/f/a.svg.svg'.");
        QTest::newRow("too many open files blames nobody")
            << QStringLiteral("Error: EMFILE: too many open files, open '/f/a.svg'") + stack << -1
            << QStringLiteral("Error: EMFILE: too many open files, open '/f/a.svg'");
        QTest::newRow("plugin error names no file")
            << QStringLiteral("Error: boom") + stack << -1 << QStringLiteral("Error: boom");
    }

    void failingInput() {
        QFETCH(QString, standardError);
        QFETCH(int, expected);
        QFETCH(QString, message);
        const QStringList paths{QStringLiteral("/f/a.svg"), QStringLiteral("/f/a b.svg"),
                                QStringLiteral("/f/a.svg.svg")};
        const std::optional<int> found =
            SvgoMessages::failingInput(SvgoMessages::withoutEscapeCodes(standardError), paths);
        QCOMPARE(found.value_or(-1), expected);
        QCOMPARE(SvgoMessages::userMessage(standardError.toUtf8()), message);
    }

    void reportsSplitAcrossReads() {
        SvgoMessages::ReportReader reader;
        QStringList names;
        const QByteArray output = "\na b.svg:\nDone in 13 ms!\n0.6 KiB - 1% = 0.6 KiB\n"
                                  "\nDone in 2.svg:\nDone in 1 ms!\n0 KiB - NaN% = 0 KiB\n";
        // Byte by byte: a report may arrive in any number of pieces.
        for (char byte : output)
            names += reader.feed(QByteArray(1, byte));
        QCOMPARE(names, (QStringList{QStringLiteral("a b.svg"), QStringLiteral("Done in 2.svg")}));
    }
};

QTEST_GUILESS_MAIN(tst_OptimizerPlanning)
#include "tst_optimizer_planning.moc"
