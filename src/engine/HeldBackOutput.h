#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <optional>

class OriginalsBackup;

// "Use Optimized Anyway": writes an output the visual check held back where the run would have
// written it, keeping the original first as every overwrite does.
class HeldBackOutput {
    Q_DECLARE_TR_FUNCTIONS(HeldBackOutput)
public:
    // `input` is the path as the file list knows it; `destination` where the run would have
    // written it (the result's destination). The caller saves `backup` once all files are
    // written. Returns an error text, empty on success; on error the file is as it was.
    static QString write(const QString &input, const QString &destination, const QByteArray &output,
                         OriginalsBackup &backup);
};
