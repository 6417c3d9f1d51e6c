#pragma once

#include "engine/OptimizationResult.h"

#include <QString>

#include <functional>
#include <optional>
#include <utility>

// Choices a caller may make for one run beyond the profile; absent values come from the settings.
struct OptimizerOptions {
    std::optional<qint64> chunkSize;              // default: the stored "chunkSize"
    std::optional<qint64> maxConcurrentProcesses; // default: the stored "maxConcurrentProcesses"
    std::optional<qint64> timeLimitMs; // per file; default: the stored "svgoTimeLimit" (seconds)
    // svgo's command line only: cut the list into chunks of exactly chunkSize files instead of
    // growing them for speed.
    bool exactChunks = false;
    // File mode: nothing is written, not even a temporary file; each file's outcome says what a
    // run in place would do with it (Optimized: it would be replaced by the smaller output).
    bool dryRun = false;
    // Also measure the gzip sizes of each input and output (FileResult::gzipBefore, gzipAfter).
    bool compressedSizes = false;
    // Answer files whose input, configuration and svgo are unchanged from what a run made of
    // them before (see ResultsCache); default: the stored "cacheResults".
    std::optional<bool> resultsCache;
    // Where those answers are kept; default ResultsCache::defaultFolder().
    std::optional<QString> cacheFolder;
    // File mode: where the originals of replaced inputs are kept; default OriginalsBackup::root().
    std::optional<QString> originalsFolder;
    // Called once on the run's worker thread when the run is over, also after a cancel (a
    // cancelled QFuture drops its result, so this is where the per-file outcomes are then found).
    std::function<void(const OptimizationResult &)> onFinished;
    // Called on the run's worker thread with the files whose outcome became final since the last
    // call (by their index in the list), a few at a time as they finish, so that a window can
    // show each row before the whole run is over. A file may be named twice; its last outcome
    // counts. Not called for files the run ends without doing.
    std::function<void(const QList<std::pair<qsizetype, FileResult>> &)> onFilesFinished;
};
