#include "engine/CompressedSize.h"
#include "tst_optimizer_support.h"

using namespace optimizer_test;

// The sizes shown and reported must be what the real tools write, or a saving could be claimed
// that no server delivers.
class TestCompressedSize : public QObject {
    Q_OBJECT

    QTemporaryDir m_folder;

    // What `program arguments… file` writes to its standard output for `bytes` in a file.
    qint64 toolSize(const QString &program, QStringList arguments, const QByteArray &bytes) {
        arguments.append(m_folder.filePath(QStringLiteral("input.svg")));
        writeFile(arguments.last(), bytes);
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(120000) || process.exitCode() != 0)
            return -3;
        return process.readAllStandardOutput().size();
    }

private slots:
    void matchesTheTools_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("tiny icon")
            << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1 1\">"
                          "<path d=\"M0 0h1v1z\"/></svg>");
        QTest::newRow("Bootstrap icon") << contents(iconFolder() + "/bootstrap.svg");
        // Just over and exactly at the pieces brotli reads in, and past its largest window.
        QByteArray large("<svg xmlns=\"http://www.w3.org/2000/svg\">\n");
        QRandomGenerator random(7);
        while (large.size() < (qsizetype(1) << 20) - 6)
            large += QByteArray("<circle cx=\"") + QByteArray::number(random.bounded(1000)) +
                     "\" cy=\"" + QByteArray::number(random.bounded(1000)) + "\" r=\"" +
                     QByteArray::number(random.bounded(50)) + "\"/>\n";
        large.truncate((qsizetype(1) << 20) - 6);
        large += "</svg>";
        QCOMPARE(large.size(), qsizetype(1) << 20);
        QTest::newRow("1 MiB") << large;
        QTest::newRow("1 MiB and a byte") << large + '\n';
        static const char latin1[] = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                                     "<svg><title>\xe4\xf6\xfc\xff\x80\x00\x01</title></svg>";
        QTest::newRow("not UTF-8") << QByteArray(latin1, sizeof latin1 - 1);
    }

    void matchesTheTools() {
        QFETCH(QByteArray, bytes);
        QCOMPARE(gzipSize(bytes), toolSize(QStringLiteral("gzip"), {"-9", "-n", "-c"}, bytes));
        QCOMPARE(brotliSize(bytes), toolSize(QStringLiteral("brotli"), {"-q", "11", "-c"}, bytes));
        const CompressedSizes both = compressedSizes(bytes);
        QCOMPARE(both.gzip, gzipSize(bytes));
        QCOMPARE(both.brotli, brotliSize(bytes));
    }

    // A run reports files as they finish, before their sizes may be in: each file's last naming
    // and the run's own outcomes must have them once every file is done.
    void reportsCarryTheSizesByTheEnd() {
        QByteArray large;
        for (int n = 0; large.size() < 300000; ++n)
            large += "<path d=\"M" + QByteArray::number(n * 7 % 1000) + " 0h1\"/>";
        const QList<QByteArray> inputs{large, "<svg/>", QByteArray()};
        const QList<QByteArray> outputs{large.left(200000), "<svg/>", "<svg><g/></svg>"};
        QList<FileResult> outcomes(3);
        QHash<qsizetype, FileResult> last;
        CompressedSizeReports::Report report = [&last](const auto &finished) {
            for (const auto &[index, outcome] : finished)
                last.insert(index, outcome);
        };
        for (int index = 0; index < 3; ++index) {
            CompressedSizeReports::of(report, outcomes)
                .measure(index, inputs[index], outputs[index]);
            outcomes[index].status = FileResult::Status::Optimized;
            // The big one is reported at once, the others in the report that ends the run.
            if (index == 0)
                report({{0, outcomes.at(0)}});
        }
        report({{1, outcomes.at(1)}, {2, outcomes.at(2)}});
        QCOMPARE(last.size(), 3);
        for (int index = 0; index < 3; ++index) {
            QCOMPARE(last.value(index), outcomes.at(index));
            QCOMPARE(outcomes.at(index).gzipAfter, gzipSize(outputs[index]));
            QCOMPARE(outcomes.at(index).brotliAfter, brotliSize(outputs[index]));
            // An input that could not be read has no sizes.
            QCOMPARE(outcomes.at(index).brotliBefore, index == 2 ? -1 : brotliSize(inputs[index]));
        }
    }
};

QTEST_GUILESS_MAIN(TestCompressedSize)
#include "tst_compressedsize.moc"
