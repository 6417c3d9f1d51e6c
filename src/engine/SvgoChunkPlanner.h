#pragma once

#include <QList>
#include <QtGlobal>

// How the files of a run are spread over svgo processes.
//
// Starting svgo costs far more than optimizing an icon (Node has to load first), so a process
// should get as many files as is safe, while the list is still shared evenly by all the
// processes that may run at once. The safety bounds: svgo opens every input at the same time,
// the command line has a platform limit, and all inputs of a process are held in its memory.
struct SvgoChunkLimits {
    qint64 minFiles = 50;  // the stored chunk size; values below 1 count as 1
    qint64 processes = 1;  // processes that may run at once
    qint64 maxFiles = 256; // inputs one process may have open
    qint64 maxInputBytes = 32 * 1024 * 1024;
    qint64 maxCommandLine = 256 * 1024; // bytes of arguments one process may get
    // Every chunk exactly minFiles files (the last one the rest), except where a bound forces a
    // smaller one; no growing and no balancing.
    bool exact = false;

    // The bounds that hold on this machine for this process.
    static SvgoChunkLimits forThisSystem();
};

struct SvgoChunkInput {
    qint64 bytes = 0;           // size of the input file
    qint64 commandLineCost = 0; // bytes its input and output arguments add to the command line
};

// Consecutive chunks of list indices covering 0..inputs.size()-1 in order. A file that alone
// exceeds a byte bound still gets a chunk of its own.
QList<QList<int>> planSvgoChunks(const QList<SvgoChunkInput> &inputs,
                                 const SvgoChunkLimits &limits);
