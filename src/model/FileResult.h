#pragma once

#include <QMetaType>
#include <QString>

#include <optional>

// What a run did to one file: the engine reports it, the file table shows it.
struct FileResult {
    enum class Status {
        Optimized, // the output is complete: written to its destination, or part of the text
        Failed,    // svgo refused the file (or could not be run for it); `message` says why
        NotRun,    // the run was cancelled before the file was done; the file is untouched
    };
    Status status = Status::NotRun;
    QString message; // why the file failed: svgo's error text without colours or stack frames
    qint64 sizeBefore = -1; // bytes of the input when the run started; -1 when it could not be read
    qint64 sizeAfter = -1;  // bytes of the optimized output; -1 unless optimized

    // The share saved in percent, known only for an optimized file with both sizes.
    std::optional<double> savedPercent() const;

    friend bool operator==(const FileResult &, const FileResult &) = default;
};

Q_DECLARE_METATYPE(FileResult)
