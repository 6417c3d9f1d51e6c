#pragma once

#include "engine/FileStamp.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QLockFile;

// Copies of files that a run overwrote, so that an overwrite can be taken back.
//
// Each run that replaces inputs gets a folder of its own under the backup root (by default
// "originals" in the application's cache folder), named after the time it started, holding the
// original of every replaced file and a journal of them. On the same file system the original is
// a hard link, so keeping it costs no copy. The journal also records the size and modification time
// of what the run left in each file, so a later restore can tell whether the file was changed
// since. Old runs are removed after a week, and the oldest ones go first when all copies together
// grow past a limit.
//
// One object serves one run; keep(), record() and drop() may be called from the run's thread only.
// The run's folder is live while the object exists: pruning spares it and restores leave it. The
// manifests and the memory copy of them are OriginalsIndex's.
class OriginalsBackup {
    Q_DECLARE_TR_FUNCTIONS(OriginalsBackup)
public:
    static constexpr qint64 defaultSizeLimit = 500LL * 1024 * 1024;
    static constexpr qint64 maximumAgeDays = 7;

    using Stamp = FileStamp;

    // The folder that holds the runs: `setRoot()`'s choice, else "originals" in the cache folder.
    static QString root();
    // Puts the copies elsewhere (tests, a cache on another disk); empty returns to the default.
    static void setRoot(const QString &folder);

    explicit OriginalsBackup(QString root = OriginalsBackup::root(),
                             qint64 sizeLimit = defaultSizeLimit);
    ~OriginalsBackup();
    OriginalsBackup(const OriginalsBackup &) = delete;
    OriginalsBackup &operator=(const OriginalsBackup &) = delete;

    // Keeps `target` (the file about to be replaced) before it is overwritten. `listed` is the
    // path as the file list knows it (a symlink's own path, say). Returns an error text, empty
    // when the original is safely kept; on error the caller must leave the file alone.
    QString keep(const QString &listed, const QString &target);
    // Records on disk that the kept `target` is about to be replaced by a file of stamp `result`.
    // Call it right before the replacement; on error the file must be left as it is, since its
    // original could not be found again.
    QString record(const QString &target, const Stamp &result);
    // The same for several kept targets and their results, in one write to the journal (one
    // flush of the disk for all of them). On error none of them is recorded.
    QString record(const QList<std::pair<QString, Stamp>> &replacements);
    // The replacement of a kept `target` did not happen after all: its copy and record go.
    void drop(const QString &target);
    // The last error of keep() or record() came from a full disk (or a used-up quota).
    bool diskFull() const { return m_diskFull; }
    // Ends the run's use of its folder: a run that recorded nothing leaves no folder behind.
    void save();

    QString runFolder() const { return m_folder; }

    // Removes runs older than a week, then the oldest runs until the rest fit `sizeLimit`.
    static void prune(const QString &root, const QDateTime &now, qint64 sizeLimit,
                      const QString &keepFolder = {});

    // A file that can be put back as it was before the runs that replaced it.
    struct Original {
        QString path;          // the file to put back (the path the list knows)
        QString target;        // the file actually written (a symlink's target)
        QString copy;          // the kept original
        QDateTime runTime;     // when the run that kept it started
        bool changedSinceRun;  // the file is no longer what the last run left in it
        QStringList manifests; // runs whose records of this file a restore uses up
    };
    // The originals known for `paths` (list paths or their targets); paths without one are left
    // out. Without `checkChanges` nothing is read from disk: the answer comes from memory (empty
    // until it has been loaded on a worker), so the window may ask at every click. When several
    // runs replaced a file one after another, the copy from before the first of them is the
    // original, as long as nothing else changed the file between the runs. Without `checkChanges`
    // the files are not looked at and changedSinceRun stays false.
    static QList<Original> originals(const QStringList &paths,
                                     const QString &root = OriginalsBackup::root(),
                                     bool checkChanges = true);
    // originals() from memory, for the window: no file is read.
    static QList<Original> known(const QStringList &paths) {
        return originals(paths, root(), false);
    }
    // Starts loading the memory copy on a worker, so the window's first question finds it.
    static void preload();
    // Puts an original back in one step (a half-written file is never visible) and forgets it.
    // Returns an error text, empty on success.
    static QString restore(const Original &original);

private:
    struct Entry {
        QString listed, target, copy;
        Stamp original;
        Stamp result; // size -1 until the replacement is in place
    };
    bool ensureFolder(QString *error);

    QString m_root;
    qint64 m_sizeLimit;
    QDateTime m_started;
    QString m_folder;
    QList<Entry> m_entries; // kept, not yet recorded
    int m_recorded = 0;
    bool m_diskFull = false;
    std::unique_ptr<QLockFile> m_liveLock;
    int m_nextCopy = 0;
};
