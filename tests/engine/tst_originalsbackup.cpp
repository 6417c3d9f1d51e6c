// Keeping and restoring the originals of files that a run overwrote, with the real svgo.

#include "engine/OriginalsBackup.h"
#include "tst_optimizer_support.h"

#include <unistd.h>

using namespace optimizer_test;
using Status = FileResult::Status;

class tst_OriginalsBackup : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void restoreGivesBackTheOriginals();
    void fileEditedAfterTheRunIsFlagged();
    void restoreAfterTwoRunsGivesTheFirstOriginal();
    void outputFolderKeepsNothing();
    void copyThatCannotBeKeptPreventsTheOverwrite_data();
    void copyThatCannotBeKeptPreventsTheOverwrite();
    void pruneRemovesOldAndOversizedRuns_data();
    void pruneRemovesOldAndOversizedRuns();

private:
    QStringList freshInputs(int count);
    OptimizationResult run(const QStringList &paths, const Profile &profile);

    QTemporaryDir m_settings;
    std::unique_ptr<QTemporaryDir> m_work;
    QString m_root;
};

void tst_OriginalsBackup::initTestCase() {
    QVERIFY(m_settings.isValid());
    isolateSettings(m_settings, QStringLiteral("tst_originalsbackup"));
    Keys::svgoExecutablePath().set(svgo());
}

void tst_OriginalsBackup::init() {
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(m_work->isValid());
    m_root = m_work->filePath(QStringLiteral("originals"));
    OriginalsBackup::setRoot(m_root);
}

QStringList tst_OriginalsBackup::freshInputs(int count) {
    const QString folder = m_work->filePath(QStringLiteral("icons"));
    QDir().mkpath(folder);
    return copyInto(folder, icons(count));
}

OptimizationResult tst_OriginalsBackup::run(const QStringList &paths, const Profile &profile) {
    return optimize(paths, profile).result;
}

void tst_OriginalsBackup::restoreGivesBackTheOriginals() {
    const QStringList paths = freshInputs(5);
    QList<QByteArray> before;
    for (const QString &path : paths)
        before.append(contents(path));
    const OptimizationResult result = run(paths, fileProfile(std::nullopt));
    QCOMPARE(result.count(Status::Optimized), 5);
    QVERIFY(contents(paths.first()) != before.first());

    const QList<OriginalsBackup::Original> originals = OriginalsBackup::originals(paths);
    QCOMPARE(originals.size(), 5);
    for (const OriginalsBackup::Original &original : originals) {
        QVERIFY(!original.changedSinceRun);
        QCOMPARE(OriginalsBackup::restore(original), QString());
    }
    for (int index = 0; index < paths.size(); ++index)
        QCOMPARE(contents(paths.at(index)), before.at(index));
    // Restored files have no original any more, and their run leaves nothing behind.
    QVERIFY(OriginalsBackup::originals(paths).isEmpty());
    QVERIFY(QDir(m_root).isEmpty());
}

void tst_OriginalsBackup::fileEditedAfterTheRunIsFlagged() {
    const QStringList paths = freshInputs(3);
    QCOMPARE(run(paths, fileProfile(std::nullopt)).count(Status::Optimized), 3);
    {
        QFile edited(paths.at(1));
        QVERIFY(edited.open(QIODevice::Append));
        edited.write("<!-- edited -->");
    }
    // Same size, other bytes, saved a moment later: the modification time tells.
    QByteArray same = contents(paths.at(2));
    same[same.size() - 2] = same.at(same.size() - 2) == 'x' ? 'y' : 'x';
    {
        QFile edited(paths.at(2));
        QVERIFY(edited.open(QIODevice::WriteOnly));
        edited.write(same);
        edited.flush();
        QVERIFY(edited.setFileTime(QFileInfo(paths.at(2)).lastModified().addSecs(2),
                                   QFileDevice::FileModificationTime));
    }
    QList<bool> changed;
    for (const OriginalsBackup::Original &original : OriginalsBackup::originals(paths))
        changed.append(original.changedSinceRun);
    QCOMPARE(changed, (QList<bool>{false, true, true}));
}

void tst_OriginalsBackup::restoreAfterTwoRunsGivesTheFirstOriginal() {
    const QStringList paths = freshInputs(2);
    const QList<QByteArray> first{contents(paths.at(0)), contents(paths.at(1))};
    QCOMPARE(run(paths, fileProfile(std::nullopt)).count(Status::Optimized), 2);
    // Between the runs the second file is edited: its original is then the edit.
    QFile edited(paths.at(1));
    QVERIFY(edited.open(QIODevice::WriteOnly));
    edited.write(first.at(1));
    edited.close();
    QTest::qWait(5); // the second run needs a folder of its own
    QCOMPARE(run(paths, fileProfile(std::nullopt)).count(Status::Optimized), 2);

    for (const OriginalsBackup::Original &original : OriginalsBackup::originals(paths))
        QCOMPARE(OriginalsBackup::restore(original), QString());
    QCOMPARE(contents(paths.at(0)), first.at(0));
    QCOMPARE(contents(paths.at(1)), first.at(1));
    QVERIFY(QDir(m_root).isEmpty());
}

void tst_OriginalsBackup::outputFolderKeepsNothing() {
    const QStringList paths = freshInputs(2);
    const QString out = m_work->filePath(QStringLiteral("out"));
    QCOMPARE(run(paths, fileProfile(out)).count(Status::Optimized), 2);
    QVERIFY(OriginalsBackup::originals(paths).isEmpty());
    QVERIFY(!QFileInfo::exists(m_root) || QDir(m_root).isEmpty());
}

void tst_OriginalsBackup::copyThatCannotBeKeptPreventsTheOverwrite_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("backup folder is a file") << "file";
    QTest::newRow("backup folder inside a file") << "inside file";
    if (geteuid() != 0) // permissions do not stop the superuser
        QTest::newRow("read-only backup folder") << "read-only";
}

void tst_OriginalsBackup::copyThatCannotBeKeptPreventsTheOverwrite() {
    QFETCH(QString, kind);
    const QString blocker = m_work->filePath(QStringLiteral("blocker"));
    if (kind == QLatin1String("read-only")) {
        QVERIFY(QDir().mkpath(blocker));
        QFile::setPermissions(blocker, QFile::ReadOwner | QFile::ExeOwner);
        OriginalsBackup::setRoot(blocker);
    } else {
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        OriginalsBackup::setRoot(kind == QLatin1String("file") ? blocker : blocker + "/originals");
    }
    const QStringList paths = freshInputs(3);
    QList<QByteArray> before;
    for (const QString &path : paths)
        before.append(contents(path));

    const OptimizationResult result = run(paths, fileProfile(std::nullopt));
    QFile::setPermissions(blocker, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(result.count(Status::Failed), 3);
    for (const FileResult &outcome : result.outcomes)
        QVERIFY2(outcome.message.contains(QLatin1String("not overwritten")) ||
                     outcome.message.contains(QLatin1String("could not be kept")),
                 qPrintable(outcome.message));
    for (int index = 0; index < paths.size(); ++index)
        QCOMPARE(contents(paths.at(index)), before.at(index));
    QVERIFY(leftovers(QFileInfo(paths.first()).path()).isEmpty());
}

void tst_OriginalsBackup::pruneRemovesOldAndOversizedRuns_data() {
    QTest::addColumn<QList<int>>("ageDays"); // one run each, oldest first
    QTest::addColumn<QList<int>>("sizeKiB");
    QTest::addColumn<int>("limitKiB");
    QTest::addColumn<QList<bool>>("kept");

    QTest::newRow("a week is the limit") << QList<int>{9, 8, 6, 0} << QList<int>{1, 1, 1, 1} << 100
                                         << QList<bool>{false, false, true, true};
    QTest::newRow("oldest go first when too big")
        << QList<int>{3, 2, 1, 0} << QList<int>{40, 40, 40, 40} << 100
        << QList<bool>{false, false, true, true};
    QTest::newRow("all fit") << QList<int>{1, 0} << QList<int>{10, 10} << 100
                             << QList<bool>{true, true};
}

void tst_OriginalsBackup::pruneRemovesOldAndOversizedRuns() {
    QFETCH(QList<int>, ageDays);
    QFETCH(QList<int>, sizeKiB);
    QFETCH(int, limitKiB);
    QFETCH(QList<bool>, kept);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QStringList folders;
    for (int index = 0; index < ageDays.size(); ++index) {
        const QString folder = QDir(m_root).filePath(
            now.addDays(-ageDays.at(index)).addSecs(-index).toString("yyyyMMdd-HHmmss-zzz"));
        QVERIFY(QDir().mkpath(folder));
        QFile copy(QDir(folder).filePath(QStringLiteral("0-a.svg")));
        QVERIFY(copy.open(QIODevice::WriteOnly));
        copy.write(QByteArray(sizeKiB.at(index) * 1024, 'a'));
        folders.append(folder);
    }
    OriginalsBackup::prune(m_root, now, qint64(limitKiB) * 1024);
    for (int index = 0; index < folders.size(); ++index)
        QCOMPARE(QFileInfo::exists(folders.at(index)), kept.at(index));
}

QTEST_GUILESS_MAIN(tst_OriginalsBackup)
#include "tst_originalsbackup.moc"
