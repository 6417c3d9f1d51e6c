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
    bool cancelled = false;
    // Why the run stopped replacing files before the end (a full disk, say), with what was done
    // and what was left; empty when it did not stop.
    QString stopped;

    qsizetype count(FileResult::Status status) const;
};

Q_DECLARE_METATYPE(OptimizationResult)
