#pragma once

#include "model/FileResult.h"
#include "model/SVGFile.h"

#include <QList>
#include <QMetaType>
#include <QString>

// The outcome of one run, one entry per file, in the order of the list that was passed in.
struct OptimizationResult {
    QList<SVGFile> files;
    QList<FileResult> outcomes; // outcomes[i] belongs to files[i]
    QString text;               // text mode: the assembled documents of the optimized files
    // Text mode: each file's document as it went into the text (for a file that looks different,
    // its original); empty for the others. Kept so the text can be put together again.
    QList<QByteArray> documents;
    bool cancelled = false;
    // Why the run stopped replacing files before the end (a full disk, say), with what was done
    // and what was left; empty when it did not stop.
    QString stopped;

    qsizetype count(FileResult::Status status) const;
};

Q_DECLARE_METATYPE(OptimizationResult)
