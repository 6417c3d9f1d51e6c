// Keeping and restoring the originals of files that a run overwrote, with the real svgo.

#include "engine/OriginalsBackup.h"
#include "engine/OriginalsIndex.h"
#include "tst_optimizer_support.h"

#include <QLockFile>

#include <unistd.h>

using namespace optimizer_test;
using Status = FileResult::Status;

class tst_OriginalsBackup : public QObject {
    Q_OBJECT

    QTemporaryDir m_settings;
    std::unique_ptr<QTemporaryDir> m_work;
    QString m_root;

    QStringList freshInputs(int count, const QString &folder = QStringLiteral("icons")) {
        return copyInto(m_work->filePath(folder), icons(count));
    }

    // Restores every original known for `paths`; returns the errors.
    static QStringList restoreAll(const QStringList &paths) {
        QStringList errors;
        for (const OriginalsBackup::Original &original : OriginalsBackup::originals(paths))
            errors.append(OriginalsBackup::restore(original));
        errors.removeAll(QString());
        return errors;
    }

private slots:
    void initTestCase() { isolateSettings(m_settings, QStringLiteral("tst_originalsbackup")); }

    void init() {
        m_work = std::make_unique<QTemporaryDir>();
        QVERIFY(m_work->isValid());
        m_root = m_work->filePath(QStringLiteral("originals"));
        OriginalsBackup::setRoot(m_root);
    }

    void runsAndARestoreAtOnce() {
        const QStringList earlier = freshInputs(4, "earlier"), whole = freshInputs(6, "whole"),
                          cut = freshInputs(30, "cut"), all = earlier + whole + cut;
        const QList<QByteArray> before = contentsOf(all);
        QCOMPARE(optimize(earlier, fileProfile(std::nullopt)).result.count(Status::Optimized), 4);
        // Two runs on their threads, one cancelled early, while this one restores: none undoes or
        // drops another's copies.
        std::optional<OptimizationResult> cancelled; // a cancelled future holds no result
        OptimizerOptions options;
        options.maxConcurrentProcesses = 1;
        options.onFinished = [&](const OptimizationResult &result) { cancelled = result; };
        QFuture<OptimizationResult> first =
            Optimizer::shared().optimize(entries(whole), fileProfile(std::nullopt), {});
        QFuture<OptimizationResult> second =
            Optimizer::shared().optimize(entries(cut), fileProfile(std::nullopt), {}, options);
        QCOMPARE(restoreAll(earlier), QStringList());
        QTRY_VERIFY_WITH_TIMEOUT(second.progressValue() > 0 || second.isFinished(), 60000);
        second.cancel();
        second.waitForFinished();
        QCOMPARE(first.result().count(Status::Optimized), 6);
        QVERIFY(cancelled);
        // The memory copy kept up; the cancelled run kept the originals of finished files only.
        QCOMPARE(OriginalsBackup::known(whole).size(), 6);
        QSet<QString> kept;
        for (const OriginalsBackup::Original &original : OriginalsBackup::known(cut))
            kept.insert(original.path);
        for (int index = 0; index < cut.size(); ++index)
            QCOMPARE(kept.contains(cut.at(index)),
                     cancelled->outcomes.at(index).status == Status::Optimized);
        QCOMPARE(restoreAll(all), QStringList());
        QCOMPARE(contentsOf(all), before);
        QVERIFY(QDir(m_root).isEmpty());
    }

    void damagedRecordsCostOnlyThemselves_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("damage");
        QTest::addColumn<bool>("warned");
        // A run killed while writing a line leaves it cut short, without its line break.
        QTest::newRow("torn last line")
            << "journal.jsonl" << QByteArray("{\"path\":\"/x\",\"tar") << false;
        QTest::newRow("garbage line")
            << "journal.jsonl" << QByteArray("\x01\xffnot json\n") << true;
        QTest::newRow("an earlier version's damaged manifest")
            << "manifest.json" << QByteArray("{\"started\": \"x\", \"files\": [{\"path\":") << true;
    }

    void damagedRecordsCostOnlyThemselves() {
        QFETCH(QString, file);
        QFETCH(QByteArray, damage);
        QFETCH(bool, warned);
        const QStringList paths = freshInputs(3);
        const QList<QByteArray> before = contentsOf(paths);
        QCOMPARE(optimize(paths, fileProfile(std::nullopt)).result.count(Status::Optimized), 3);
        const QString folder = QFileInfo(OriginalsBackup::originals(paths).first().copy).path();
        writeFile(QDir(folder).filePath(file), contents(QDir(folder).filePath(file)) + damage);

        if (warned)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("damaged"));
        QCOMPARE(OriginalsBackup::originals(paths).size(), 3);
        QCOMPARE(restoreAll(paths), QStringList());
        QCOMPARE(contentsOf(paths), before);
    }

    void twoRunsOverTheSameFilesRestoreTheFirstOriginals_data() {
        QTest::addColumn<bool>("atOnce");
        QTest::newRow("one after the other, a file edited between") << false;
        QTest::newRow("at once") << true;
    }

    void twoRunsOverTheSameFilesRestoreTheFirstOriginals() {
        QFETCH(bool, atOnce);
        const QStringList paths = freshInputs(atOnce ? 40 : 2);
        const QList<QByteArray> before = contentsOf(paths);
        OptimizerOptions options;
        options.maxConcurrentProcesses = 1;
        const auto start = [&] {
            return Optimizer::shared().optimize(entries(paths), fileProfile(std::nullopt), {},
                                                options);
        };
        QFuture<OptimizationResult> first = start();
        if (!atOnce) {
            first.waitForFinished();
            // The second file is edited between the runs: its original is then the edit.
            writeFile(paths.at(1), before.at(1));
        }
        QFuture<OptimizationResult> second = start();
        first.waitForFinished();
        second.waitForFinished();
        // Each file is replaced once or, when the runs took turns, by the second from the first's
        // output; a run never replaces a file the other changed after it was read.
        for (int index = 0; index < paths.size(); ++index) {
            const FileResult &a = first.result().outcomes.at(index),
                             &b = second.result().outcomes.at(index);
            QVERIFY2(atOnce ? a.status == Status::Optimized || b.status == Status::Optimized
                            : a.status == Status::Optimized && b.status == Status::Optimized,
                     qPrintable(a.message + " / " + b.message));
        }
        const QList<OriginalsBackup::Original> originals = OriginalsBackup::originals(paths);
        QCOMPARE(originals.size(), paths.size());
        for (const OriginalsBackup::Original &original : originals)
            QVERIFY2(!original.changedSinceRun, qPrintable(original.path));
        QCOMPARE(restoreAll(paths), QStringList());
        QCOMPARE(contentsOf(paths), before);
        QVERIFY(QDir(m_root).isEmpty());
    }

    void liveRunIsSparedByPruneAndRestore() {
        const QStringList paths = freshInputs(2);
        const QDateTime later = QDateTime::currentDateTimeUtc().addDays(30); // all runs too old
        auto live = std::make_unique<OriginalsBackup>(m_root);
        auto overwrite = [&](const QString &path) {
            QCOMPARE(live->keep(path, path), QString());
            QSaveFile file(path); // a new file, as a run's replacement is
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("<svg/>");
            QVERIFY(file.commit());
            QCOMPARE(live->record(path, OriginalsBackup::Stamp::of(path)), QString());
        };
        const QByteArray first = contents(paths.at(0));
        overwrite(paths.at(0));
        QCOMPARE(restoreAll({paths.at(0)}), QStringList());
        QCOMPARE(contents(paths.at(0)), first);
        // A record cut short (the disk was full) must not swallow the run's next one.
        QFile journal(QDir(live->runFolder()).filePath(QStringLiteral("journal.jsonl")));
        QVERIFY(journal.open(QIODevice::Append));
        journal.write("{\"path\":\"/x\",\"tar");
        journal.close();
        overwrite(paths.at(1)); // the run's next record must not bring the restored one back
        OriginalsBackup::prune(m_root, later, 0);
        QCOMPARE(OriginalsBackup::originals(paths).size(), 1);
        live.reset();
        QCOMPARE(restoreAll(paths), QStringList());
        QVERIFY(QDir(m_root).isEmpty());

        // Another program's run shows only by the lock file it holds; pruning spares that too.
        const QString other = QDir(m_root).filePath("20000101-000000-000");
        QVERIFY(QDir().mkpath(other));
        QLockFile lock(OriginalsIndex::liveLockPath(other));
        QVERIFY(lock.tryLock(0));
        OriginalsBackup::prune(m_root, later, 0);
        QVERIFY(QFileInfo::exists(other));
        lock.unlock();
        OriginalsBackup::prune(m_root, later, 0);
        QVERIFY(!QFileInfo::exists(other));
    }

    void copyThatCannotBeKeptPreventsTheOverwrite_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("backup folder is a file") << "file";
        QTest::newRow("backup folder inside a file") << "inside file";
        if (geteuid() != 0) // permissions do not stop the superuser
            QTest::newRow("read-only backup folder") << "read-only";
    }

    void copyThatCannotBeKeptPreventsTheOverwrite() {
        QFETCH(QString, kind);
        const QString blocker = m_work->filePath(QStringLiteral("blocker"));
        if (kind == QLatin1String("read-only")) {
            QVERIFY(QDir().mkpath(blocker));
            QFile::setPermissions(blocker, QFile::ReadOwner | QFile::ExeOwner);
            OriginalsBackup::setRoot(blocker);
        } else {
            writeFile(blocker, {});
            OriginalsBackup::setRoot(kind == QLatin1String("file") ? blocker
                                                                   : blocker + "/originals");
        }
        const QStringList paths = freshInputs(3);
        const QList<QByteArray> before = contentsOf(paths);

        const OptimizationResult result = optimize(paths, fileProfile(std::nullopt)).result;
        QFile::setPermissions(blocker, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(result.count(Status::Failed), 3);
        for (const FileResult &outcome : result.outcomes)
            QVERIFY2(outcome.message.contains(QLatin1String("not overwritten")) ||
                         outcome.message.contains(QLatin1String("could not be kept")),
                     qPrintable(outcome.message));
        QCOMPARE(contentsOf(paths), before);
        QVERIFY(leftovers(QFileInfo(paths.first()).path()).isEmpty());
    }

    void pruneRemovesOldAndOversizedRuns_data() {
        QTest::addColumn<QList<int>>("ageDays"); // one run each, oldest first
        QTest::addColumn<QList<int>>("sizeKiB");
        QTest::addColumn<int>("limitKiB");
        QTest::addColumn<QList<bool>>("kept");

        QTest::newRow("a week is the limit") << QList<int>{9, 8, 6, 0} << QList<int>{1, 1, 1, 1}
                                             << 100 << QList<bool>{false, false, true, true};
        QTest::newRow("a live run's size takes no younger run")
            << QList<int>{2, 1, 0} << QList<int>{40, 40, 400} << 100
            << QList<bool>{true, true, true};
        QTest::newRow("oldest go first when too big")
            << QList<int>{3, 2, 1, 0} << QList<int>{40, 40, 40, 40} << 100
            << QList<bool>{false, false, true, true};
    }

    void pruneRemovesOldAndOversizedRuns() {
        QFETCH(QList<int>, ageDays);
        QFETCH(QList<int>, sizeKiB);
        QFETCH(int, limitKiB);
        QFETCH(QList<bool>, kept);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        QStringList folders;
        for (int index = 0; index < ageDays.size(); ++index) {
            const QString folder = QDir(m_root).filePath(
                now.addDays(-ageDays.at(index)).addSecs(-index).toString("yyyyMMdd-HHmmss-zzz"));
            writeFile(QDir(folder).filePath(QStringLiteral("0-a.svg")),
                      QByteArray(sizeKiB.at(index) * 1024, 'a'));
            folders.append(folder);
        }
        // The row that names a live run has its last run still going.
        const bool lastLive = QByteArray(QTest::currentDataTag()).contains("live");
        if (lastLive)
            OriginalsIndex::setLive(folders.last(), true);
        OriginalsBackup::prune(m_root, now, qint64(limitKiB) * 1024);
        if (lastLive)
            OriginalsIndex::setLive(folders.last(), false);
        for (int index = 0; index < folders.size(); ++index)
            QCOMPARE(QFileInfo::exists(folders.at(index)), kept.at(index));
    }
};

QTEST_GUILESS_MAIN(tst_OriginalsBackup)
#include "tst_originalsbackup.moc"
