#include "engine/OriginalsIndex.h"

#include "model/Diagnostics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QMap>
#include <QMutex>
#include <QMutexLocker>
#include <QSaveFile>
#include <QSet>
#include <QtConcurrent/QtConcurrentRun>

namespace {

using Record = OriginalsIndex::Record;
using Stamp = OriginalsBackup::Stamp;

const QString manifestName = QStringLiteral("manifest.json");
const QString folderFormat = QStringLiteral("yyyyMMdd-HHmmss-zzz");

// Serializes every change on disk (and the loading); held while files are read and written.
QMutex diskMutex;
// Guards the memory copy; held only for moments, so the window never waits on the disk.
QMutex memoryMutex;
QString loadedRoot;
bool loading = false;
QMap<QString, QList<Record>> byFolder; // folder names sort by start time
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

// A manifest that cannot be understood is skipped with a note; its run's originals are then
// unknown, but every other run's still restore.
QList<Record> readManifest(const QString &folder) {
    QFile file(QDir(folder).filePath(manifestName));
    if (!file.open(QIODevice::ReadOnly))
        return {}; // a run still keeping its first copy has none yet
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    const QJsonValue files = document.object().value(QStringLiteral("files"));
    if (error.error != QJsonParseError::NoError || !files.isArray()) {
        qCWarning(lcMirandel).noquote()
            << QStringLiteral("OriginalsBackup: skipping the damaged manifest %1 (%2)")
                   .arg(file.fileName(), error.error != QJsonParseError::NoError
                                             ? error.errorString()
                                             : QStringLiteral("no list of files"));
        return {};
    }
    QList<Record> records;
    const QDateTime started = startOf(folder);
    for (const QJsonValue &value : files.toArray()) {
        const QJsonObject object = value.toObject();
        records.append({folder, started, object.value(QStringLiteral("path")).toString(),
                        object.value(QStringLiteral("target")).toString(),
                        QDir(folder).filePath(object.value(QStringLiteral("copy")).toString()),
                        stampFrom(object.value(QStringLiteral("original"))),
                        stampFrom(object.value(QStringLiteral("result")))});
    }
    return records;
}

// Replaced in one rename, so a reader never sees half a manifest; not synced to disk, which
// would cost more than a small run (the originals beside it are not synced either).
bool writeManifest(const QString &folder, const QList<Record> &records) {
    QJsonArray files;
    for (const Record &record : records)
        files.append(QJsonObject{{QStringLiteral("path"), record.path},
                                 {QStringLiteral("target"), record.target},
                                 {QStringLiteral("copy"), QFileInfo(record.copy).fileName()},
                                 {QStringLiteral("original"), stampJson(record.original)},
                                 {QStringLiteral("result"), stampJson(record.result)}});
    const QJsonObject manifest{
        {QStringLiteral("started"), startOf(folder).toString(Qt::ISODateWithMs)},
        {QStringLiteral("files"), files}};
    QSaveFile file(QDir(folder).filePath(manifestName));
    if (file.open(QIODevice::WriteOnly) &&
        file.write(QJsonDocument(manifest).toJson(QJsonDocument::Indented)) >= 0 && file.commit())
        return true;
    qCWarning(lcMirandel).noquote()
        << QStringLiteral("OriginalsBackup: cannot write the manifest in %1: %2")
               .arg(folder, file.errorString());
    return false;
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
        if (!name.endsWith(QLatin1String(".json")) && !name.endsWith(QLatin1String(".lock")))
            return false;
    return QDir(folder).removeRecursively();
}

void remember(const QString &folder, const QList<Record> &records) {
    QMutexLocker lock(&memoryMutex);
    if (loadedRoot != QDir::cleanPath(QFileInfo(folder).path()))
        return;
    if (records.isEmpty())
        byFolder.remove(folder);
    else
        byFolder.insert(folder, records);
}

// Reads every manifest under `root` into memory; call with diskMutex held.
void load(const QString &root) {
    QMap<QString, QList<Record>> loaded;
    const QDir dir(root);
    for (const QString &name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        QList<Record> records = readManifest(dir.filePath(name));
        // A copy that went missing (removed by hand) is no original any more.
        records.removeIf([](const Record &record) { return !QFileInfo::exists(record.copy); });
        if (!records.isEmpty())
            loaded.insert(dir.filePath(name), records);
    }
    QMutexLocker lock(&memoryMutex);
    loadedRoot = QDir::cleanPath(root);
    byFolder = loaded;
    loading = false;
}

// Holds the manifest of one folder against other programs for one change.
class ManifestLock {
public:
    explicit ManifestLock(const QString &folder)
        : m_file(QDir(folder).filePath(QStringLiteral("manifest.lock"))) {
        m_file.setStaleLockTime(30000);
        if (!m_file.tryLock(10000) && m_file.error() == QLockFile::LockFailedError)
            qCWarning(lcMirandel).noquote()
                << QStringLiteral("OriginalsBackup: %1 stays locked; changing it anyway")
                       .arg(m_file.fileName());
    }

private:
    QLockFile m_file;
};

} // namespace

bool OriginalsIndex::append(const QString &folder, const QList<Record> &records) {
    QMutexLocker disk(&diskMutex);
    ManifestLock lock(folder);
    QList<Record> all = readManifest(folder);
    all += records;
    const bool written = writeManifest(folder, all);
    remember(folder, all);
    return written;
}

void OriginalsIndex::forget(const QStringList &folders, const QString &target) {
    QMutexLocker disk(&diskMutex);
    for (const QString &folder : folders) {
        QList<Record> kept;
        {
            ManifestLock lock(folder);
            for (const Record &record : readManifest(folder)) {
                if (record.target == target)
                    QFile::remove(record.copy);
                else
                    kept.append(record);
            }
            if (!kept.isEmpty() || live(folder))
                writeManifest(folder, kept);
        }
        if (kept.isEmpty() && !live(folder))
            removeIfUsedUp(folder);
        remember(folder, kept);
    }
}

void OriginalsIndex::remove(const QStringList &folders) {
    QMutexLocker disk(&diskMutex);
    for (const QString &folder : folders) {
        if (live(folder) || !QDir(folder).removeRecursively())
            continue;
        remember(folder, {});
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
        for (const QList<Record> &records : std::as_const(byFolder))
            all += records;
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
        remember(folder, {});
}

bool OriginalsIndex::isLive(const QString &folder) {
    return live(folder);
}

QString OriginalsIndex::liveLockPath(const QString &folder) {
    return QDir(folder).filePath(QStringLiteral("run.lock"));
}
