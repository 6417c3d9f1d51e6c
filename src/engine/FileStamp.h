#pragma once

#include <QString>

// What tells one state of a file from another without reading it.
struct FileStamp {
    qint64 size = -1;
    qint64 modified = -1; // milliseconds since the epoch
    static FileStamp of(const QString &path);
    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};
