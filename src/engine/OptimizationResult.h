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

    qsizetype count(FileResult::Status status) const;
};

Q_DECLARE_METATYPE(OptimizationResult)
