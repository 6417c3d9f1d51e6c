// The optimizer against the real svgo and real icons.

#include "tst_optimizer_support.h"

#include <unistd.h>

using namespace optimizer_test;
using Status = FileResult::Status;

class tst_Optimizer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        isolateSettings(m_settings, QStringLiteral("tst_optimizer"));
        QVERIFY2(QFileInfo(svgo()).isExecutable(), "run the set-up first: svgo is not installed");
        m_icons = icons(200);
        QCOMPARE(m_icons.size(), 200);
        m_reference = svgoAlone(m_icons);
    }

    // An empty list still gets its text: the frame around no documents.
    void textKeepsListOrderWhateverTheWorkers_data() {
        QTest::addColumn<qint64>("processes");
        QTest::addColumn<int>("files");
        QTest::newRow("one worker") << qint64(1) << 200;
        QTest::newRow("four workers") << qint64(4) << 200;
        QTest::newRow("no files") << qint64(1) << 0;
    }

    void textKeepsListOrderWhateverTheWorkers() {
        QFETCH(qint64, processes);
        QFETCH(int, files);
        // Not alphabetical, so an order that only looks right because of file names shows up.
        QStringList order;
        QList<QByteArray> expected;
        for (int index = 0; index < files; ++index) {
            const int picked = (index * 37) % int(m_icons.size());
            order.append(m_icons.at(picked));
            expected.append(m_reference.at(picked));
        }
        Profile profile = textProfile();
        profile.wrapOutput = true;
        profile.wrapOutputPrefix = QStringLiteral("<ul>");
        profile.wrapOutputSuffix = QStringLiteral("</ul>");
        profile.wrapIndividual = true;
        profile.wrapIndividualPrefix = QStringLiteral("<li>");
        profile.wrapIndividualSuffix = QStringLiteral("</li>");
        profile.prettyPrint = true;

        OptimizerOptions options;
        options.maxConcurrentProcesses = processes;
        const Run run = optimize(order, profile, options);

        QCOMPARE(run.texts.size(), 1);
        QCOMPARE(run.texts.first(), assembled(profile, expected));
        QVERIFY(run.texts.first().startsWith(QStringLiteral("<ul>")));
        QCOMPARE(run.result.text, run.texts.first());
        QCOMPARE(run.result.outcomes.size(), order.size());
        QCOMPARE(run.result.count(Status::Optimized), order.size());
        for (int index = 0; index < order.size(); ++index) {
            QCOMPARE(run.result.files.at(index).id, order.at(index));
            QCOMPARE(run.result.outcomes.at(index).sizeAfter, expected.at(index).size());
            QCOMPARE(run.result.outcomes.at(index).sizeBefore, QFileInfo(order.at(index)).size());
        }
    }

    void fileModeWritesCompleteSmallerFiles_data() {
        QTest::addColumn<bool>("intoFolder");
        QTest::newRow("into an output folder") << true;
        QTest::newRow("over the inputs") << false;
    }

    void fileModeWritesCompleteSmallerFiles() {
        QFETCH(bool, intoFolder);
        QTemporaryDir work;
        const QString inputs = work.filePath(QStringLiteral("in put ä"));
        const QString elsewhere = work.filePath(QStringLiteral("elsewhere"));
        const QStringList sources = m_icons.mid(0, 5);
        const QList<QByteArray> expected = m_reference.mid(0, 5);
        QStringList paths =
            copyInto(inputs, sources.mid(0, 4),
                     {QStringLiteral("with space.svg"), QStringLiteral("ünïcödé.svg"),
                      QStringLiteral("-leading-dash.svg"), QStringLiteral("plain.svg")});
        // The fifth input is a link to a file in another folder.
        const QString target =
            copyInto(elsewhere, {sources.at(4)}, {QStringLiteral("t.svg")}).first();
        const QString link = QDir(inputs).filePath(QStringLiteral("link.svg"));
        QVERIFY(QFile::link(target, link));
        paths.append(link);
        // Its target is read-only, in a group of the user's own that is not their first where
        // there is one.
        gid_t groups[64];
        const int count = ::getgroups(64, groups);
        const gid_t group = geteuid() == 0 ? 12345 : (count > 1 ? groups[count - 1] : getegid());
        QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        QCOMPARE(::chown(QFile::encodeName(target).constData(), uid_t(-1), group), 0);
        QFile::setPermissions(paths.at(1), QFile::ReadOwner | QFile::WriteOwner);
        QFile::setPermissions(paths.at(2), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        QFile::setPermissions(paths.at(3), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadGroup | QFile::ReadOther);
        const QList<QByteArray> originals = contentsOf(paths);
        const auto modesAndGroups = [&] {
            QList<std::pair<QFileDevice::Permissions, uint>> all;
            for (const QString &path : paths)
                all.append({QFile::permissions(path), QFileInfo(path).groupId()});
            return all;
        };
        const auto attributes = modesAndGroups();

        const QString outputFolder = work.filePath(QStringLiteral("out/nested"));
        const Run run =
            optimize(paths, fileProfile(intoFolder ? std::optional(outputFolder) : std::nullopt));

        QVERIFY(run.texts.isEmpty());
        QCOMPARE(run.result.count(Status::Optimized), paths.size());
        for (int index = 0; index < paths.size(); ++index) {
            const QString &path = paths.at(index);
            const QString written =
                intoFolder ? QDir(outputFolder).filePath(QFileInfo(path).fileName()) : path;
            QCOMPARE(contents(written), expected.at(index));
            QVERIFY(expected.at(index).size() < originals.at(index).size());
            QCOMPARE(run.result.outcomes.at(index).sizeAfter, expected.at(index).size());
            QCOMPARE(run.result.outcomes.at(index).sizeBefore, originals.at(index).size());
            if (intoFolder)
                QCOMPARE(contents(path), originals.at(index));
        }
        QCOMPARE(modesAndGroups(), attributes);
        QCOMPARE(QFileInfo(link).isSymLink(), true);
        QCOMPARE(contents(target), intoFolder ? originals.last() : expected.last());
        // Only a replaced input has an original to keep.
        QCOMPARE(OriginalsBackup::originals(paths, OriginalsBackup::root()).size(),
                 intoFolder ? 0 : paths.size());
        QVERIFY(leftovers(inputs).isEmpty());
        QVERIFY(leftovers(elsewhere).isEmpty());
        QVERIFY(leftovers(outputFolder).isEmpty());
        // Each original comes back with its mode and group, the link's into its target.
        for (const OriginalsBackup::Original &original : OriginalsBackup::originals(paths))
            QCOMPARE(OriginalsBackup::restore(original), QString());
        QCOMPARE(contentsOf(paths), originals);
        QCOMPARE(modesAndGroups(), attributes);
        QVERIFY(QFileInfo(link).isSymLink());
    }

    // A second run into the same folder leaves outputs that are already there as they are (no
    // new file, no new time), and puts back one that was changed meanwhile; an icon svgo cannot
    // shrink arrives as it is, once, so the folder receives every input.
    void secondRunIntoTheSameFolder_data() {
        QTest::addColumn<bool>("editedMeanwhile");
        QTest::addColumn<bool>("cache");
        QTest::newRow("unchanged, from the cache") << false << true;
        QTest::newRow("unchanged, optimized again") << false << false;
        QTest::newRow("one output edited meanwhile") << true << true;
    }
    void secondRunIntoTheSameFolder() {
        QFETCH(bool, editedMeanwhile);
        QFETCH(bool, cache);
        QTemporaryDir work;
        const QString out = work.filePath(QStringLiteral("out"));
        QDir().mkpath(out);
        const QStringList paths = copyInto(
            work.path(), m_icons.mid(0, 3) + QStringList{dataFile(QStringLiteral("larger.svg"))});
        OptimizerOptions options;
        options.resultsCache = cache;
        options.cacheFolder = work.filePath(QStringLiteral("cache"));
        Profile profile = fileProfile(out);
        profile.keepOriginalWhenNotSmaller = true;
        const Run first = optimize(paths, profile, options);
        QCOMPARE(statuses(first.result),
                 (QList<Status>(3, Status::Optimized) << Status::AlreadyOptimal));
        QList<QByteArray> written;
        const QDateTime old = QDateTime::fromSecsSinceEpoch(1000000000);
        for (const QString &path : paths) {
            const QString output = QDir(out).filePath(QFileInfo(path).fileName());
            written.append(contents(output));
            QFile file(output);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
        }
        QCOMPARE(written.last(), contents(paths.last()));
        const QString edited = QDir(out).filePath(QFileInfo(paths.at(1)).fileName());
        if (editedMeanwhile) {
            QFile file(edited);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(QByteArray(written.at(1).size(), ' ')); // same size, other bytes
        }
        const Run second = optimize(paths, profile, options);
        QCOMPARE(statuses(second.result), statuses(first.result));
        QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), paths.size());
        for (int index = 0; index < paths.size(); ++index) {
            const QString output = QDir(out).filePath(QFileInfo(paths.at(index)).fileName());
            QCOMPARE(contents(output), written.at(index));
            QCOMPARE(QFileInfo(output).lastModified() == old, !(editedMeanwhile && index == 1));
        }
    }

    void sameNamesNeverReplaceEachOther() {
        QTemporaryDir work;
        const QStringList sources = m_icons.mid(0, 3);
        const QStringList paths{
            copyInto(work.filePath(QStringLiteral("in/one")), {sources.at(0)}, {"x.svg"}).first(),
            copyInto(work.filePath(QStringLiteral("in/two")), {sources.at(1)}, {"x.svg"}).first(),
            copyInto(work.filePath(QStringLiteral("in/two/sub")), {sources.at(2)}, {"x.svg"})
                .first()};
        // Into a folder, each file keeps its place below the folder that holds them all.
        const QString out = work.filePath(QStringLiteral("out"));
        QCOMPARE(optimize(paths, fileProfile(out)).result.count(Status::Optimized), 3);
        for (const QString relative : {"one/x.svg", "two/x.svg", "two/sub/x.svg"})
            QVERIFY2(QFileInfo::exists(QDir(out).filePath(relative)), qPrintable(relative));
        // A link and the file it points to are one destination: the later one is refused.
        const QString link = work.filePath(QStringLiteral("in/link.svg"));
        QVERIFY(QFile::link(paths.at(0), link));
        const Run run = optimize({paths.at(0), link}, fileProfile(std::nullopt));
        QCOMPARE(statuses(run.result), (QList{Status::Optimized, Status::Failed}));
        QVERIFY2(run.result.outcomes.at(1).message.contains(paths.at(0)),
                 qPrintable(run.result.outcomes.at(1).message));
    }

private:
    QTemporaryDir m_settings;
    QStringList m_icons;
    QList<QByteArray> m_reference; // svgo's output for each of m_icons alone
};

QTEST_GUILESS_MAIN(tst_Optimizer)
#include "tst_optimizer.moc"
