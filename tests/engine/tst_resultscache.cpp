// The results cache answers a run only with what svgo and the review would make of the same
// file now: a change to the input, the profile, svgo or the program misses; a damaged entry is
// ignored and written anew; a full folder forgets, it never fails a run.

#include "engine/ResultsCache.h"
#include "tst_optimizer_support.h"

#include <QDirIterator>
#include <QProcess>

#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

using namespace optimizer_test;
using Status = FileResult::Status;

namespace {

// Every entry in the folder by its path.
QStringList entryPaths(const QString &folder) {
    QStringList paths;
    QDirIterator it(folder, {QStringLiteral("*.entry")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        paths.append(it.next());
    paths.sort();
    return paths;
}

// Dates every entry back, so that one a run answers from shows a new time.
void ageEntries(const QString &folder) {
    for (const QString &path : entryPaths(folder)) {
        const utimbuf old{1000000000, 1000000000};
        QCOMPARE(::utime(QFile::encodeName(path).constData(), &old), 0);
    }
}

// The entries as they are, by path.
QHash<QString, QByteArray> snapshot(const QString &folder) {
    QHash<QString, QByteArray> entries;
    for (const QString &path : entryPaths(folder))
        entries.insert(path, contents(path));
    return entries;
}

// Entries of `before` a run answered from: used since they were dated back, and unchanged.
qsizetype answered(const QHash<QString, QByteArray> &before) {
    qsizetype count = 0;
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        count += QFileInfo(it.key()).lastModified().toSecsSinceEpoch() > 1000000000 &&
                 contents(it.key()) == it.value();
    return count;
}

} // namespace

class tst_ResultsCache : public QObject {
    Q_OBJECT

    QTemporaryDir m_settings;
    std::optional<QTemporaryDir> m_work;

private slots:
    void initTestCase() { isolateSettings(m_settings, QStringLiteral("tst_resultscache")); }
    void init() { m_work.emplace(); }
    void cleanup() {
        QCoreApplication::setApplicationVersion(QString());
        Keys::cacheResults().set(false);
        Keys::svgoExecutablePath().set(svgo());
    }

    // A second run over two files, after one change: only what the change touches misses.
    void secondRun_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<qsizetype>("answeredFromCache");
        QTest::newRow("nothing") << "nothing" << qsizetype(2);
        QTest::newRow("one input") << "input" << qsizetype(1);
        QTest::newRow("an svgo option") << "precision" << qsizetype(0);
        QTest::newRow("the rendering check") << "check" << qsizetype(0);
        QTest::newRow("file mode") << "file mode" << qsizetype(0);
        QTest::newRow("the program's version") << "version" << qsizetype(0);
        QTest::newRow("svgo's version") << "svgo" << qsizetype(0);
        QTest::newRow("a damaged entry") << "damage" << qsizetype(1);
        QTest::newRow("turned off for the run") << "off" << qsizetype(0);
        QTest::newRow("turned off in Settings") << "setting" << qsizetype(0);
    }

    void secondRun() {
        QFETCH(QString, change);
        QFETCH(qsizetype, answeredFromCache);
        const QString folder = m_work->filePath(QStringLiteral("cache"));
        const QStringList paths = copyInto(m_work->path(), icons(2));
        Profile profile = textProfile();
        OptimizerOptions options;
        options.resultsCache = true;
        options.cacheFolder = folder;
        const Run first = optimize(paths, profile, options);
        QCOMPARE(statuses(first.result), QList<Status>(2, Status::Optimized));
        QCOMPARE(entryPaths(folder).size(), 2);
        ageEntries(folder);

        QString config;
        if (change == "input") {
            writeFile(paths.at(0), contents(paths.at(0)) + "<!-- edited -->\n");
        } else if (change == "precision") {
            profile.precision = 1;
            config = svgoConfigFile(profile); // svgo alone gets the same configuration
        } else if (change == "check") {
            profile.checkRendering = true;
        } else if (change == "file mode") {
            profile = fileProfile(m_work->filePath(QStringLiteral("out")));
        } else if (change == "version") {
            QCoreApplication::setApplicationVersion(QStringLiteral("99.0"));
        } else if (change == "svgo") {
            // The same svgo under another version number: a copy of its packages.
            const QString modules = m_work->filePath(QStringLiteral("node_modules"));
            QCOMPARE(QProcess::execute(QStringLiteral("cp"),
                                       {QStringLiteral("-a"),
                                        QStringLiteral(MIRANDEL_SOURCE_DIR "/tools/node_modules"),
                                        modules}),
                     0);
            const QString manifest = modules + QStringLiteral("/svgo/package.json");
            writeFile(manifest,
                      contents(manifest).replace("\"version\": \"", "\"version\": \"0.0.1-"));
            Keys::svgoExecutablePath().set(modules + QStringLiteral("/.bin/svgo"));
        } else if (change == "damage") {
            // One entry's stored output changed after it was written: its checksum no longer fits.
            const QString damaged = entryPaths(folder).constFirst();
            QByteArray bytes = contents(damaged);
            const qsizetype at = bytes.indexOf("<svg");
            QVERIFY(at > 0);
            writeFile(damaged, bytes.replace(at, 4, "<bad"));
            ageEntries(folder);
        } else if (change == "off") {
            options.resultsCache = false;
        } else if (change == "setting") {
            options.resultsCache.reset();
            Keys::cacheResults().set(false);
        }

        const QHash<QString, QByteArray> before = snapshot(folder);
        const Run second = optimize(paths, profile, options);
        QCOMPARE(answered(before), answeredFromCache);
        // Whatever came from where: exactly what svgo makes of the files as they are now.
        const QList<QByteArray> expected = svgoAlone(paths, config);
        QList<QByteArray> outputs = second.result.documents;
        if (change == "file mode")
            outputs = contentsOf(
                QStringList(paths).replaceInStrings(m_work->path(), m_work->filePath("out")));
        QCOMPARE(statuses(second.result), QList<Status>(2, Status::Optimized));
        for (int index = 0; index < paths.size(); ++index) {
            QCOMPARE(outputs.at(index).trimmed(), expected.at(index).trimmed());
            QCOMPARE(second.result.outcomes.at(index).sizeAfter, outputs.at(index).size());
        }
        if (change == "damage") {
            // Written anew: a third run is answered for both.
            ageEntries(folder);
            const QHash<QString, QByteArray> repaired = snapshot(folder);
            optimize(paths, profile, options);
            QCOMPARE(answered(repaired), 2);
        }
    }

    // A held-back output is remembered with its verdict: the second run holds it back too,
    // with the same reason, and the input stays.
    void heldBackIsRemembered() {
        const QString folder = m_work->filePath(QStringLiteral("cache"));
        const QStringList paths =
            copyInto(m_work->path(), {dataFile(QStringLiteral("sprite.svg"))});
        Profile profile = fileProfile(std::nullopt);
        profile.checkRendering = true;
        profile.findBreakingPlugins = false; // held back, not made again without some plugins
        OptimizerOptions options;
        options.resultsCache = true;
        options.cacheFolder = folder;
        const QByteArray input = contents(paths.at(0));
        const Run first = optimize(paths, profile, options);
        ageEntries(folder);
        const QHash<QString, QByteArray> before = snapshot(folder);
        const Run second = optimize(paths, profile, options);
        QCOMPARE(first.result.outcomes.at(0).status, Status::LooksDifferent);
        QCOMPARE(second.result.outcomes.at(0).status, Status::LooksDifferent);
        QCOMPARE(second.result.outcomes.at(0).message, first.result.outcomes.at(0).message);
        QCOMPARE(second.result.outcomes.at(0).differentOutput,
                 first.result.outcomes.at(0).differentOutput);
        QCOMPARE(contents(paths.at(0)), input);
        QCOMPARE(answered(before), 1);
    }

    // Over its limit the folder loses the entries used longest ago, and only those.
    void limit() {
        const QString folder = m_work->filePath(QStringLiteral("cache"));
        FileResult optimized;
        optimized.status = Status::Optimized;
        const QByteArray output(4000, 'x');
        {
            ResultsCache cache(folder, "context", 40000);
            for (int index = 0; index < 8; ++index)
                cache.store(QByteArray::number(index), optimized, output);
        }
        ageEntries(folder);
        {
            ResultsCache cache(folder, "context", 40000);
            QVERIFY(cache.find("0")); // used again: kept
            for (int index = 8; index < 12; ++index)
                cache.store(QByteArray::number(index), optimized, output);
        }
        qint64 total = 0;
        for (const QString &path : entryPaths(folder))
            total += QFileInfo(path).size();
        QVERIFY2(total <= 40000, qPrintable(QString::number(total)));
        ResultsCache cache(folder, "context", 40000);
        for (const char *kept : {"0", "8", "11"})
            QVERIFY2(cache.find(kept), kept);
        int older = 0;
        for (int index = 1; index < 8; ++index)
            older += bool(cache.find(QByteArray::number(index)));
        QVERIFY2(older < 7, "the entries used longest ago went first");
        // Another context never sees these answers.
        QVERIFY(!ResultsCache(folder, "other", 40000).find("11"));
    }

    // A cache folder on a full disk: the run is as it would be without it.
    void fullDisk() {
        if (geteuid() != 0)
            QSKIP("mounting a small file system needs the superuser");
        const SmallDisk disk(m_work->filePath(QStringLiteral("disk")), QStringLiteral("64k"));
        QVERIFY(disk.mounted);
        disk.fill();
        const QStringList paths = copyInto(m_work->path(), icons(3));
        OptimizerOptions options;
        options.resultsCache = true;
        options.cacheFolder = disk.folder + QStringLiteral("/cache");
        for (int round = 0; round < 2; ++round) {
            const Run run = optimize(paths, textProfile(), options);
            QCOMPARE(statuses(run.result), QList<Status>(3, Status::Optimized));
            QCOMPARE(run.result.documents, svgoAlone(paths));
        }
    }
};

QTEST_GUILESS_MAIN(tst_ResultsCache)
#include "tst_resultscache.moc"
