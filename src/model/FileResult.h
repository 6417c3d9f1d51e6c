#pragma once

#include <QMetaType>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

// What a run did to one file: the engine reports it, the file table shows it.
struct FileResult {
    enum class Status {
        Optimized, // the output is complete: written to its destination, or part of the text
        Failed,    // svgo refused the file (or could not be run for it); `message` says why
        NotRun,    // the run was cancelled before the file was done; the file is untouched
        // svgo's output draws differently or lost a sprite's structure: in file mode it is held
        // back (the input stays), in text mode its original goes into the text instead
        LooksDifferent,
        AlreadyOptimal, // file mode: svgo's output was not smaller, so the input stays as it was
    };
    Status status = Status::NotRun;
    // Why the file failed, looks different or stayed: for a failure svgo's error text without
    // colours or stack frames
    QString message;
    qint64 sizeBefore = -1; // bytes of the input when the run started; -1 when it could not be read
    qint64 sizeAfter = -1;  // bytes of svgo's output; -1 when there is none
    // The same compressed with gzip and with brotli at their best levels, where the run was asked
    // to measure them
    qint64 gzipBefore = -1;
    qint64 gzipAfter = -1;
    qint64 brotliBefore = -1;
    qint64 brotliAfter = -1;
    // "Looks different": svgo's output, for the preview and, in file mode where it was not
    // written, for writing it anyway
    QByteArray differentOutput;
    // "Looks different" by its drawing: how many pixels changed in the rendering of
    // `comparedAt` pixels; -1 when the verdict came from the markup alone.
    qint64 changedPixels = -1;
    QSize comparedAt;
    // svgo's preset plugins switched off because the output with all of them looked different
    // ("Optimized without convertPathData"); empty when none were.
    QStringList withoutPlugins;
    // With plugins switched off: the bytes svgo's output with all of them had, for "−31 %
    // instead of −38 %"; -1 otherwise.
    qint64 sizeWithAllPlugins = -1;
    // The float precision the output was made with when the profile chose it per file; -1
    // otherwise.
    int precisionUsed = -1;
    // File mode: where the run writes (or, for a held-back output, would write) this file.
    QString destination;

    // The share saved in percent, known for an optimized file with both sizes, and for output
    // that looks different: what writing it anyway would save.
    std::optional<double> savedPercent() const;

    friend bool operator==(const FileResult &, const FileResult &) = default;
};

Q_DECLARE_METATYPE(FileResult)
