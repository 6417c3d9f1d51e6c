#pragma once

#include "engine/OptimizationResult.h"

#include <QString>

#include <functional>
#include <optional>

// Choices a caller may make for one run beyond the profile; absent values come from the settings.
struct OptimizerOptions {
    std::optional<qint64> chunkSize;              // default: the stored "chunkSize"
    std::optional<qint64> maxConcurrentProcesses; // default: the stored "maxConcurrentProcesses"
    std::optional<qint64> timeLimitMs; // per file; default: the stored "svgoTimeLimit" (seconds)
    // svgo's command line only: cut the list into chunks of exactly chunkSize files instead of
    // growing them for speed.
    bool exactChunks = false;
    // File mode: where the originals of replaced inputs are kept; default OriginalsBackup::root().
    std::optional<QString> originalsFolder;
    // Called once on the run's worker thread when the run is over, also after a cancel (a
    // cancelled QFuture drops its result, so this is where the per-file outcomes are then found).
    std::function<void(const OptimizationResult &)> onFinished;
};
