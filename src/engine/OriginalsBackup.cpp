#include "engine/OriginalsBackup.h"

#include "engine/FileReplacement.h"
#include "engine/OriginalsIndex.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMutex>
#include <QMutexLocker>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QString folderFormat = QStringLiteral("yyyyMMdd-HHmmss-zzz");
QMutex rootMutex;
QString chosenRoot;

qint64 folderSize(const QString &folder) {
    qint64 total = 0;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo &file : files)
        total += file.size();
    return total;
}

QDateTime startOf(const QString &folderName) {
    QDateTime time = QDateTime::fromString(folderName.left(folderFormat.size()), folderFormat);
    time.setTimeSpec(Qt::UTC);
    return time;
}

// Pruning looks at every kept file; once an hour per program is plenty.
QMutex pruneMutex;
QHash<QString, QDateTime> lastPrune; // by root

} // namespace

QString OriginalsBackup::root() {
    QMutexLocker lock(&rootMutex);
    if (!chosenRoot.isEmpty())
        return chosenRoot;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
        .filePath(QStringLiteral("originals"));
}

void OriginalsBackup::setRoot(const QString &folder) {
    QMutexLocker lock(&rootMutex);
    chosenRoot = folder;
}

OriginalsBackup::OriginalsBackup(QString root, qint64 sizeLimit)
    : m_root(std::move(root)), m_sizeLimit(sizeLimit), m_started(QDateTime::currentDateTimeUtc()) {}

OriginalsBackup::~OriginalsBackup() {
    save();
    m_liveLock.reset();
    if (!m_folder.isEmpty())
        OriginalsIndex::release(m_folder);
}

bool OriginalsBackup::ensureFolder(QString *error) {
    if (!m_folder.isEmpty())
        return true;
    if (!QDir().mkpath(m_root)) {
        *error = tr("The original could not be kept: cannot create the folder %1.")
                     .arg(QDir::toNativeSeparators(m_root));
        return false;
    }
    {
        QMutexLocker lock(&pruneMutex);
        QDateTime &last = lastPrune[m_root];
        if (!last.isValid() || last.secsTo(m_started) > 3600 || last > m_started) {
            last = m_started;
            lock.unlock();
            prune(m_root, m_started, m_sizeLimit);
        }
    }
    // Two runs may start in the same millisecond; each needs a folder of its own.
    const QString base = QDir(m_root).filePath(m_started.toString(folderFormat));
    for (int attempt = 1; attempt < 100; ++attempt) {
        const QString folder =
            attempt == 1 ? base : base + QLatin1Char('-') + QString::number(attempt);
        if (QFileInfo::exists(folder))
            continue;
        // Live from the start: no prune, here or in another Mirandel, takes it meanwhile.
        OriginalsIndex::setLive(folder, true);
        if (QDir().mkdir(folder)) {
            m_liveLock = std::make_unique<QLockFile>(OriginalsIndex::liveLockPath(folder));
            m_liveLock->setStaleLockTime(0); // held as long as the run lasts
            m_liveLock->tryLock(0);
            m_folder = folder;
            return true;
        }
        OriginalsIndex::setLive(folder, false);
        break;
    }
    *error = tr("The original could not be kept: cannot create a folder in %1.")
                 .arg(QDir::toNativeSeparators(m_root));
    return false;
}

QString OriginalsBackup::keep(const QString &listed, const QString &target) {
    QString error;
    if (!ensureFolder(&error))
        return error;
    const Stamp original = Stamp::of(target);
    // Numbered, so equal file names from two folders never meet; the number alone when the name
    // is long, so the copy's name never passes the file system's limit.
    const QString name = QFileInfo(target).fileName();
    const QString copy = QDir(m_folder).filePath(
        QString::number(m_nextCopy++) +
        (QFile::encodeName(name).size() > 200 ? QString() : QLatin1Char('-') + name));
#ifdef Q_OS_UNIX
    // The replacement gets a new file, so a second name for the old one is all it takes.
    if (::link(QFile::encodeName(target).constData(), QFile::encodeName(copy).constData()) == 0) {
        m_entries.append({listed, target, QFileInfo(copy).fileName(), original, {}});
        return QString();
    }
#endif
    // Another file system (or one without links): a copy, written through and on disk before
    // the file it keeps may be replaced.
    QFile source(target);
    if (!source.open(QIODevice::ReadOnly))
        return tr("The original could not be kept, so the file was not overwritten: %1")
            .arg(source.errorString());
    QFile destination(copy);
    const bool opened = destination.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    bool ok = opened;
    while (ok && !source.atEnd()) {
        const QByteArray block = source.read(1 << 20);
        if (block.isEmpty() && source.error() != QFile::NoError)
            break;
        ok = destination.write(block) == block.size();
    }
    ok = ok && source.error() == QFile::NoError && destination.flush();
#ifdef Q_OS_UNIX
    if (ok && ::fsync(destination.handle()) != 0) {
        m_diskFull = errno == ENOSPC || errno == EDQUOT;
        ok = false;
    }
#endif
    if (ok) {
        destination.close();
        ok = destination.error() == QFile::NoError;
    }
    if (ok) {
        m_entries.append({listed, target, QFileInfo(copy).fileName(), original, {}});
        return QString();
    }
    const QString reason =
        source.error() != QFile::NoError ? source.errorString() : destination.errorString();
    if (destination.error() == QFile::ResourceError)
        m_diskFull = true;
    if (opened)
        destination.remove();
    return tr("The original could not be kept, so the file was not overwritten: %1").arg(reason);
}

QString OriginalsBackup::record(const QString &target, const Stamp &result) {
    return record({{target, result}});
}

QString OriginalsBackup::record(const QList<std::pair<QString, Stamp>> &replacements) {
    QList<OriginalsIndex::Record> records;
    QList<qsizetype> entries; // of m_entries, one per record
    for (const auto &[target, result] : replacements) {
        const auto entry = std::find_if(m_entries.cbegin(), m_entries.cend(),
                                        [&](const Entry &kept) { return kept.target == target; });
        if (entry == m_entries.cend())
            return tr("The original of %1 was not kept.").arg(QDir::toNativeSeparators(target));
        entries.append(entry - m_entries.cbegin());
        records.append({m_folder, m_started, entry->listed, entry->target,
                        QDir(m_folder).filePath(entry->copy), entry->original, result,
                        QDateTime::currentMSecsSinceEpoch()});
    }
    const int error = OriginalsIndex::append(m_folder, records);
    if (error != 0) {
        m_diskFull = error == ENOSPC || error == EDQUOT;
        for (const OriginalsIndex::Record &record : std::as_const(records))
            QFile::remove(record.copy);
    } else {
        m_recorded += int(records.size());
    }
    // Recorded or gone with their copies: kept no longer either way.
    std::sort(entries.begin(), entries.end(), std::greater<>());
    entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
    for (const qsizetype entry : std::as_const(entries))
        m_entries.removeAt(entry);
    if (error != 0)
        return tr("The original could not be recorded, so the file was not overwritten: %1")
            .arg(QString::fromLocal8Bit(std::strerror(error)));
    return QString();
}

void OriginalsBackup::drop(const QString &target) {
    const auto entry = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const Entry &kept) { return kept.target == target; });
    if (entry != m_entries.end()) {
        QFile::remove(QDir(m_folder).filePath(entry->copy));
        m_entries.erase(entry);
    } else if (!m_folder.isEmpty()) {
        OriginalsIndex::forget({m_folder}, target);
    }
}

void OriginalsBackup::save() {
    if (m_folder.isEmpty())
        return;
    // A copy whose file was not replaced after all is no original of anything.
    for (const Entry &entry : std::as_const(m_entries))
        QFile::remove(QDir(m_folder).filePath(entry.copy));
    m_entries.clear();
    if (m_recorded == 0) {
        m_liveLock.reset();
        QDir(m_folder).removeRecursively();
        OriginalsIndex::setLive(m_folder, false);
        m_folder.clear();
    }
}

void OriginalsBackup::prune(const QString &root, const QDateTime &now, qint64 sizeLimit,
                            const QString &keepFolder) {
    const QStringList names =
        QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name); // oldest first
    QList<qint64> sizes;
    qint64 total = 0;
    for (const QString &name : names) {
        const QString folder = QDir(root).filePath(name);
        // A run in progress can be neither pruned nor made to fit: counting it would only make
        // every younger run go for its sake.
        sizes.append(folder == keepFolder || OriginalsIndex::isLive(folder) ? 0
                                                                            : folderSize(folder));
        total += sizes.last();
    }
    const QDateTime oldest = now.addDays(-maximumAgeDays);
    QStringList removed;
    for (qsizetype index = 0; index < names.size(); ++index) {
        const QString folder = QDir(root).filePath(names.at(index));
        if (folder == keepFolder || OriginalsIndex::isLive(folder))
            continue; // a run in progress still needs its copies
        const QDateTime started = startOf(names.at(index));
        const bool tooOld = !started.isValid() || started < oldest;
        if (!tooOld && total <= sizeLimit)
            break; // the rest are newer and fit
        removed.append(folder);
        total -= sizes.at(index);
    }
    OriginalsIndex::remove(removed);
}

QList<OriginalsBackup::Original>
OriginalsBackup::originals(const QStringList &paths, const QString &root, bool checkChanges) {
    // Every kept file by the paths it can be asked for, oldest run first. Without checkChanges
    // the memory copy answers (the window asks on every click); with it the manifests are read
    // again, which also brings in what other programs kept meanwhile.
    const QList<OriginalsIndex::Record> found = OriginalsIndex::records(root, checkChanges);
    QHash<QString, QList<int>> byPath;
    for (int index = 0; index < found.size(); ++index) {
        byPath[found.at(index).target].append(index);
        if (found.at(index).path != found.at(index).target)
            byPath[found.at(index).path].append(index);
    }

    QList<Original> result;
    for (const QString &path : paths) {
        QList<int> chain = byPath.value(path);
        if (chain.isEmpty() && checkChanges) {
            const QString canonical = QFileInfo(path).canonicalFilePath();
            if (!canonical.isEmpty())
                chain = byPath.value(canonical);
        }
        if (chain.isEmpty())
            continue;
        // Runs that overlapped replaced files in another order than they started in.
        std::stable_sort(chain.begin(), chain.end(), [&](int left, int right) {
            return found.at(left).replaced < found.at(right).replaced;
        });
        const OriginalsIndex::Record &last = found.at(chain.last());
        // A restore uses up every record of the file, also those older than a break in the
        // chain: the file is then as it was before the most recent runs, which supersedes them.
        QStringList manifests;
        for (int index : std::as_const(chain))
            if (!manifests.contains(found.at(index).folder))
                manifests.append(found.at(index).folder);
        Original original{path, last.target, last.copy, last.started, false, manifests};
        // Walk back through runs that each started from what the one before had left.
        Stamp start = last.original;
        for (qsizetype index = chain.size() - 2; index >= 0; --index) {
            const OriginalsIndex::Record &earlier = found.at(chain.at(index));
            if (!(earlier.result == start))
                break;
            original.copy = earlier.copy;
            original.runTime = earlier.started;
            start = earlier.original;
        }
        // A file that is still its original (the program stopped between the record and the
        // replacement) was not changed by anyone either.
        const Stamp now = checkChanges ? Stamp::of(last.target) : Stamp{};
        original.changedSinceRun = checkChanges && !(now == last.result) && !(now == start);
        result.append(original);
    }
    return result;
}

void OriginalsBackup::preload() {
    OriginalsIndex::records(root(), false);
}

QString OriginalsBackup::restore(const Original &original) {
    QFile copy(original.copy);
    if (!copy.open(QIODevice::ReadOnly))
        return tr("The original of %1 cannot be read: %2")
            .arg(QDir::toNativeSeparators(original.path), copy.errorString());
    const QByteArray contents = copy.readAll();
    if (copy.error() != QFile::NoError)
        return tr("The original of %1 cannot be read: %2")
            .arg(QDir::toNativeSeparators(original.path), copy.errorString());
    if (const QString error = FileReplacement::write(original.target, contents); !error.isEmpty())
        return tr("%1 could not be restored: %2")
            .arg(QDir::toNativeSeparators(original.path), error);

    // The file is its original again: the runs' records of it are used up.
    OriginalsIndex::forget(original.manifests, original.target);
    return QString();
}
