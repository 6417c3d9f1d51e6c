#include "engine/SvgoChunkPlanner.h"

#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

SvgoChunkLimits SvgoChunkLimits::forThisSystem() {
    SvgoChunkLimits limits;
#ifdef Q_OS_WIN
    // CreateProcess takes at most 32,767 characters, all arguments together.
    limits.maxCommandLine = 28 * 1024;
    limits.maxFiles = 400;
#else
    // Far below ARG_MAX (1 MiB on macOS, 2 MiB on Linux), which also has to hold the environment.
    limits.maxCommandLine = 256 * 1024;
    // Each input holds a descriptor while it is read and its output another one while it is
    // written; leave room for Node's own. svgo processes are started with the soft limit raised
    // to what the hard limit allows (see the process set-up), so plan with that.
    qint64 descriptors = 256;
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0) {
        const rlim_t wanted = std::min<rlim_t>(limit.rlim_max, rlim_t(10240));
        descriptors = qint64(std::max(limit.rlim_cur, wanted));
    }
    limits.maxFiles = std::clamp<qint64>(descriptors / 2 - 64, 16, 2000);
#endif
    return limits;
}

QList<QList<int>> planSvgoChunks(const QList<SvgoChunkInput> &inputs,
                                 const SvgoChunkLimits &limits) {
    const qint64 count = inputs.size();
    QList<QList<int>> chunks;
    if (count == 0)
        return chunks;
    const qint64 maxFiles = std::max<qint64>(1, limits.maxFiles);
    const qint64 minFiles = std::clamp<qint64>(limits.minFiles, 1, maxFiles);
    qint64 perChunk = minFiles;
    if (!limits.exact) {
        // Grow the chunks until every process that may run has one, but no further: each extra
        // process start costs as much as optimizing hundreds of icons.
        const qint64 processes = std::max<qint64>(1, limits.processes);
        perChunk = std::clamp<qint64>((count + processes - 1) / processes, minFiles, maxFiles);
        qint64 chunkCount = (count + perChunk - 1) / perChunk;
        // More chunks than processes run in waves; equal waves keep every process busy to the end.
        if (chunkCount > processes)
            chunkCount = (chunkCount + processes - 1) / processes * processes;
        perChunk = std::max<qint64>(minFiles, (count + chunkCount - 1) / chunkCount);
        perChunk = std::min(perChunk, maxFiles);
    }

    QList<int> current;
    qint64 bytes = 0;
    qint64 commandLine = 0;
    for (int index = 0; index < count; ++index) {
        const SvgoChunkInput &input = inputs.at(index);
        const bool full = current.size() >= perChunk ||
                          bytes + input.bytes > limits.maxInputBytes ||
                          commandLine + input.commandLineCost > limits.maxCommandLine;
        if (full && !current.isEmpty()) {
            chunks.append(current);
            current.clear();
            bytes = 0;
            commandLine = 0;
        }
        current.append(index);
        bytes += input.bytes;
        commandLine += input.commandLineCost;
    }
    chunks.append(current);
    return chunks;
}
