#pragma once

#include "engine/FileStamp.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The manifests of the kept originals, and what they say held in memory.
//
// Each run's folder has a journal that is only ever appended to, one line at a time: a kept file,
// or a file whose records a restore used up. A line is on disk before the replacement it records
// happens, appends from several programs never overwrite each other, and a line cut short by a
// crash costs that line only. The memory copy is loaded once on a worker and then kept up to date
// by every change, so the window can ask what is kept without touching a file.
//
// A run in progress holds its folder live: in this program by registering it, for other programs
// by a lock file held as long as the run lasts. Pruning and restoring never remove a live folder.
class OriginalsIndex {
public:
    struct Record {
        QString folder; // the run's folder
        QDateTime started;
        QString path, target, copy; // copy: absolute
        FileStamp original, result;
        qint64 replaced = 0; // when the replacement happened, in ms: orders runs that overlapped
    };

    // Adds `records` (all from the run in `folder`) to its journal and waits until they are on
    // disk. Returns 0, or the system's error number when they could not be written.
    static int append(const QString &folder, const QList<Record> &records);
    // Drops the records of `target` from the manifests in `folders` and deletes their copies; a
    // folder left with no record goes, unless its run is live.
    static void forget(const QStringList &folders, const QString &target);
    // Removes run folders (prune()'s choice), sparing live ones.
    static void remove(const QStringList &folders);

    // Every record under `root`, oldest run first. With `fresh` the manifests are read again
    // (for a worker); without, the memory copy answers and `ready` tells whether there is one
    // yet (when not, loading it starts on a worker).
    static QList<Record> records(const QString &root, bool fresh, bool *ready = nullptr);

    static void setLive(const QString &folder, bool live);
    // The run in `folder` is over: it is no longer live, and goes if restores used it all up.
    static void release(const QString &folder);
    static bool isLive(const QString &folder);
    // The lock file other programs see while a run is live.
    static QString liveLockPath(const QString &folder);
};
