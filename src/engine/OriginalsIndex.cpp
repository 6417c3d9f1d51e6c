#include "engine/OriginalsIndex.h"

#include "model/Diagnostics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QMap>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QtConcurrent/QtConcurrentRun>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using Record = OriginalsIndex::Record;
using Stamp = FileStamp;

const QString oldManifestName = QStringLiteral("manifest.json");
const QString journalName = QStringLiteral("journal.jsonl");
const QString folderFormat = QStringLiteral("yyyyMMdd-HHmmss-zzz");

// Serializes every change on disk (and the loading); held while files are read and written.
QMutex diskMutex;
// Guards the memory copy; held only for moments, so the window never waits on the disk.
QMutex memoryMutex;
QString loadedRoot;
bool loading = false;
// One run's records in journal order, with the ones still unused found by target, so that using
// up one file's records costs the same however large the run.
struct Kept {
    QList<Record> records;
    QHash<QString, QList<qsizetype>> unused; // target -> indices in records

    void add(const QList<Record> &more) {
        for (const Record &record : more) {
            unused[record.target].append(records.size());
            records.append(record);
        }
    }
    QList<Record> live() const {
        QList<Record> result;
        for (qsizetype index = 0; index < records.size(); ++index)
            if (unused.value(records.at(index).target).contains(index))
                result.append(records.at(index));
        return result;
    }
};
QMap<QString, Kept> byFolder; // folder names sort by start time
QSet<QString> liveFolders;

QDateTime startOf(const QString &folder) {
    QDateTime time =
        QDateTime::fromString(QFileInfo(folder).fileName().left(folderFormat.size()), folderFormat);
    time.setTimeSpec(Qt::UTC);
    return time;
}

QJsonObject stampJson(const Stamp &stamp) {
    return {{QStringLiteral("size"), stamp.size}, {QStringLiteral("modified"), stamp.modified}};
}

Stamp stampFrom(const QJsonValue &value) {
    const QJsonObject object = value.toObject();
    return {qint64(object.value(QStringLiteral("size")).toDouble(-1)),
            qint64(object.value(QStringLiteral("modified")).toDouble(-1))};
}

Record recordFrom(const QString &folder, const QDateTime &started, const QJsonObject &object) {
    return {folder,
            started,
            object.value(QStringLiteral("path")).toString(),
            object.value(QStringLiteral("target")).toString(),
            QDir(folder).filePath(object.value(QStringLiteral("copy")).toString()),
            stampFrom(object.value(QStringLiteral("original"))),
            stampFrom(object.value(QStringLiteral("result"))),
            qint64(object.value(QStringLiteral("replaced")).toDouble(0))};
}

// What earlier versions wrote: one manifest rewritten whole. Still read, so their originals
// restore; never written again.
QList<Record> readOldManifest(const QString &folder) {
    QFile file(QDir(folder).filePath(oldManifestName));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    const QJsonValue files = document.object().value(QStringLiteral("files"));
    if (error.error != QJsonParseError::NoError || !files.isArray()) {
        qCWarning(lcMirandel).noquote()
            << QStringLiteral("OriginalsBackup: skipping the damaged manifest %1")
                   .arg(file.fileName());
        return {};
    }
    QList<Record> records;
    const QDateTime started = startOf(folder);
    for (const QJsonValue &value : files.toArray())
        records.append(recordFrom(folder, started, value.toObject()));
    return records;
}

// The run's journal: one line per kept file, and one per file a restore (or a replacement that
// did not happen) used up. A line that cannot be understood, such as the last one of a run that
// was killed while writing it, is skipped; every other line still counts.
QList<Record> readManifest(const QString &folder) {
    QList<Record> records = readOldManifest(folder);
    QFile file(QDir(folder).filePath(journalName));
    if (!file.open(QIODevice::ReadOnly))
        return records; // a run still keeping its first copy has none yet
    const QDateTime started = startOf(folder);
    const QByteArray all = file.readAll();
    QList<QByteArray> lines = all.split('\n');
    // A piece after the last line break was being written when its run ended: no record yet.
    lines.removeLast();
    for (const QByteArray &line : std::as_const(lines)) {
        if (line.isEmpty())
            continue;
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        if (object.contains(QStringLiteral("used"))) {
            const QString target = object.value(QStringLiteral("used")).toString();
            records.removeIf([&](const Record &record) { return record.target == target; });
        } else if (object.contains(QStringLiteral("target"))) {
            records.append(recordFrom(folder, started, object));
        } else {
            qCWarning(lcMirandel).noquote()
                << QStringLiteral("OriginalsBackup: skipping a damaged line in %1")
                       .arg(file.fileName());
        }
    }
    return records;
}

// Appends `lines` in one write; with `durable`, waits until they are on disk: a replacement that
// follows may only happen once its record would survive a crash. A restore's note needs no wait:
// lost, it leaves a record of a file that is its original again, which restores to itself.
// Returns 0 or the system's error number.
int appendLines(const QString &folder, const QByteArray &lines, bool durable) {
#ifdef Q_OS_UNIX
    const int descriptor = ::open(QFile::encodeName(QDir(folder).filePath(journalName)).constData(),
                                  O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0)
        return errno;
    // A line cut short (a full disk, a killed run) would swallow the first of these lines, and a
    // record lost that way is an original no restore finds: they start on a line of their own.
    struct stat status {};
    char last = '\n';
    if (::fstat(descriptor, &status) == 0 && status.st_size > 0)
        (void)!::pread(descriptor, &last, 1, status.st_size - 1);
    const QByteArray text = last == '\n' ? lines : '\n' + lines;
    int error = 0;
    for (qsizetype written = 0; written < text.size() && error == 0;) {
        const ssize_t count =
            ::write(descriptor, text.constData() + written, size_t(text.size() - written));
        if (count < 0 && errno != EINTR)
            error = errno;
        else if (count > 0)
            written += count;
    }
    if (error == 0 && durable && ::fdatasync(descriptor) != 0)
        error = errno;
    if (::close(descriptor) != 0 && error == 0)
        error = errno;
    return error;
#else
    Q_UNUSED(durable);
    QFile file(QDir(folder).filePath(journalName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(lines) != lines.size() ||
        !file.flush())
        return EIO;
    return 0;
#endif
}

QByteArray lineOf(const QJsonObject &object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

// Whether a run, here or in another Mirandel, is still using `folder`.
bool live(const QString &folder) {
    {
        QMutexLocker lock(&memoryMutex);
        if (liveFolders.contains(folder))
            return true;
    }
    QLockFile other(OriginalsIndex::liveLockPath(folder));
    return !other.tryLock(0) && other.error() == QLockFile::LockFailedError;
}

// A folder goes only once no copy is left in it: a manifest that cannot be read must not take
// the originals with it.
bool removeIfUsedUp(const QString &folder) {
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString &name : names)
        if (name != journalName && name != oldManifestName &&
            !name.endsWith(QLatin1String(".lock")))
            return false;
    return QDir(folder).removeRecursively();
}

// The folder is gone: so are its records.
void dropFolder(const QString &folder) {
    QMutexLocker lock(&memoryMutex);
    byFolder.remove(folder);
}

// Reads every manifest under `root` into memory; call with diskMutex held.
void load(const QString &root) {
    QMap<QString, Kept> loaded;
    const QDir dir(root);
    for (const QString &name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        QList<Record> records = readManifest(dir.filePath(name));
        // A copy that went missing (removed by hand) is no original any more.
        records.removeIf([](const Record &record) { return !QFileInfo::exists(record.copy); });
        if (!records.isEmpty())
            loaded[dir.filePath(name)].add(records);
    }
    QMutexLocker lock(&memoryMutex);
    loadedRoot = QDir::cleanPath(root);
    byFolder = loaded;
    loading = false;
}

} // namespace

int OriginalsIndex::append(const QString &folder, const QList<Record> &records) {
    QByteArray lines;
    for (const Record &record : records)
        lines += lineOf({{QStringLiteral("path"), record.path},
                         {QStringLiteral("target"), record.target},
                         {QStringLiteral("copy"), QFileInfo(record.copy).fileName()},
                         {QStringLiteral("original"), stampJson(record.original)},
                         {QStringLiteral("result"), stampJson(record.result)},
                         {QStringLiteral("replaced"), record.replaced}});
    QMutexLocker disk(&diskMutex);
    const int error = appendLines(folder, lines, true);
    if (error != 0) {
        qCWarning(lcMirandel).noquote()
            << QStringLiteral("OriginalsBackup: cannot record in %1: %2")
                   .arg(folder, QString::fromLocal8Bit(std::strerror(error)));
        return error;
    }
    QMutexLocker lock(&memoryMutex);
    if (loadedRoot == QDir::cleanPath(QFileInfo(folder).path()))
        byFolder[folder].add(records);
    return 0;
}

void OriginalsIndex::forget(const QStringList &folders, const QString &target) {
    QMutexLocker disk(&diskMutex);
    for (const QString &folder : folders) {
        // The copies come from the memory copy when there is one: restoring thousands of files
        // must not read a journal per file.
        QStringList copies;
        bool known = false, usedUp = false;
        {
            QMutexLocker lock(&memoryMutex);
            if (loadedRoot == QDir::cleanPath(QFileInfo(folder).path())) {
                known = true;
                auto found = byFolder.find(folder);
                if (found != byFolder.end()) {
                    for (qsizetype index : found->unused.take(target))
                        copies.append(found->records.at(index).copy);
                    usedUp = found->unused.isEmpty();
                    if (usedUp)
                        byFolder.erase(found);
                }
            }
        }
        if (!known)
            for (const Record &record : readManifest(folder))
                if (record.target == target)
                    copies.append(record.copy);
        if (appendLines(folder, lineOf({{QStringLiteral("used"), target}}), false) != 0)
            qCWarning(lcMirandel).noquote()
                << QStringLiteral("OriginalsBackup: cannot note a restore in %1").arg(folder);
        for (const QString &copy : std::as_const(copies))
            QFile::remove(copy);
        // Looking at the folder's files for every restored file would make a restore of a
        // large run quadratic: the memory copy tells when its last record went.
        if ((usedUp || !known) && !live(folder))
            removeIfUsedUp(folder);
    }
}

void OriginalsIndex::remove(const QStringList &folders) {
    QMutexLocker disk(&diskMutex);
    for (const QString &folder : folders) {
        if (live(folder) || !QDir(folder).removeRecursively())
            continue;
        dropFolder(folder);
    }
}

QList<Record> OriginalsIndex::records(const QString &root, bool fresh, bool *ready) {
    if (fresh) {
        QMutexLocker disk(&diskMutex);
        load(root);
    }
    QMutexLocker lock(&memoryMutex);
    const bool loaded = loadedRoot == QDir::cleanPath(root);
    if (ready)
        *ready = loaded;
    if (!loaded && !loading) {
        loading = true;
        (void)QtConcurrent::run([root] {
            QMutexLocker disk(&diskMutex);
            load(root);
        });
    }
    QList<Record> all;
    if (loaded)
        for (const Kept &kept : std::as_const(byFolder))
            all += kept.live();
    return all;
}

void OriginalsIndex::setLive(const QString &folder, bool isLive) {
    QMutexLocker lock(&memoryMutex);
    if (isLive)
        liveFolders.insert(folder);
    else
        liveFolders.remove(folder);
}

void OriginalsIndex::release(const QString &folder) {
    setLive(folder, false);
    QMutexLocker disk(&diskMutex);
    if (QFileInfo::exists(folder) && !live(folder) && removeIfUsedUp(folder))
        dropFolder(folder);
}

bool OriginalsIndex::isLive(const QString &folder) {
    return live(folder);
}

QString OriginalsIndex::liveLockPath(const QString &folder) {
    return QDir(folder).filePath(QStringLiteral("run.lock"));
}
