#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <functional>

// What tells one state of a file from another without reading it: a file replaced by
// another program meanwhile has a new inode or time stamp even when its size stayed.
struct FileIdentity {
    qint64 size = -1;
    qint64 modifiedNs = -1;
    quint64 inode = 0, device = 0;
    bool isValid() const { return size >= 0; }
    // Follows links; an invalid identity when the file cannot be looked at.
    static FileIdentity of(const QString &path);
    // Of an open file: the very file that was read, whatever its name points to now.
    static FileIdentity ofOpen(int descriptor);
    friend bool operator==(const FileIdentity &, const FileIdentity &) = default;
};

// The one way Mirandel puts a file's new contents in place: the run's outputs, "Use Optimized
// Anyway", a restore and every file it writes whole (configurations, exports).
//
// The new contents go to a private temporary file in the target's own folder, are written and
// flushed to disk, get the owner, group, mode bits and extended attributes of the file they
// replace, and then take its place in one rename: a reader sees the old file or the complete new
// one, never half of either. A symlink keeps its link; the file it points to is replaced.
class FileReplacement {
    Q_DECLARE_TR_FUNCTIONS(FileReplacement)
public:
    using Identity = FileIdentity;

    // Writes `contents` over `target` (or as a new file). With a valid `expected`, the target is
    // replaced only while it is still that file. Returns an error text naming the path and the
    // system's reason; empty on success.
    // `beforeReplacing`, when given, is called with the complete temporary file right before it
    // takes the target's place (to record what replaces what); an error text it returns stops
    // the replacement.
    static QString
    write(const QString &target, const QByteArray &contents, const Identity &expected = {},
          const std::function<QString(const QString &temporary)> &beforeReplacing = {});
    // Moves the complete file `temporary`, which must be in the target's folder, over `target`.
    // `temporary` is flushed to disk first, unless flush() already did; on error it stays where
    // it is.
    static QString place(const QString &temporary, const QString &target,
                         const Identity &expected = {}, bool flushed = false);
    // Flushes many complete temporaries to disk at once, as place() would one by one: a run puts
    // dozens of files in place at a time, and one flush of the file system they share costs a
    // fraction of one per file. Returns an error text (naming the file's target) per temporary,
    // empty for those now on disk.
    static QStringList flush(const QStringList &temporaries, const QStringList &targets);

    // The file a write to `path` lands in: a symlink's target, else the path itself.
    static QString resolved(const QString &path);

    // The row's text for a file that another program changed after the run read it.
    static QString changedMessage();
    // Whether the regular file at `path` already has exactly these bytes, so that writing them
    // would change nothing (its size is compared first, which settles most files that differ).
    static bool holds(const QString &path, const QByteArray &bytes);
};
