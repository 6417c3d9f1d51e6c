#pragma once

#include "model/SVGFile.h"

#include <QList>
#include <QMetaType>
#include <QString>

// What one run did to one file.
struct FileOutcome {
    enum class Status {
        Optimized, // the output is complete: written to its destination, or part of the text
        Failed,    // svgo refused the file (or could not be run for it); `message` says why
        NotRun,    // the run was cancelled before the file was done; the file is untouched
    };
    Status status = Status::NotRun;
    QString message;        // svgo's error text for a failed file, without colours or stack frames
    qint64 sizeBefore = -1; // bytes of the input when the run started; -1 when it could not be read
    qint64 sizeAfter = -1;  // bytes of the optimized output; -1 unless optimized

    friend bool operator==(const FileOutcome &, const FileOutcome &) = default;
};

// The outcome of one run, one entry per file, in the order of the list that was passed in.
struct OptimizationResult {
    QList<SVGFile> files;
    QList<FileOutcome> outcomes; // outcomes[i] belongs to files[i]
    QString text;                // text mode: the assembled documents of the optimized files
    bool cancelled = false;

    qsizetype count(FileOutcome::Status status) const;
};

Q_DECLARE_METATYPE(FileOutcome)
Q_DECLARE_METATYPE(OptimizationResult)
