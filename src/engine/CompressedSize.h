#pragma once

#include "model/FileResult.h"

#include <QByteArray>
#include <QFuture>
#include <QHash>
#include <QList>

#include <deque>
#include <functional>
#include <memory>
#include <utility>

// The size of `bytes` as `gzip -9 -n` would store them: zlib's deflate at its best level inside
// gzip's header and trailer (GNU gzip's own deflate may differ from it by a few bytes). What a
// browser downloads from a server that compresses SVG.
qint64 gzipSize(const QByteArray &bytes);

// The size of `bytes` as `brotli -q 11` writes them for a file of that size: quality 11, the
// window the command line picks from the input's length (the smallest from 10 to 24 bits whose
// reach covers it), the length as size hint, and the input handed over in the same 512 KiB reads.
// What a server that precompresses its files with brotli sends.
qint64 brotliSize(const QByteArray &bytes);

// Both sizes of one document; -1 where one could not be measured.
struct CompressedSizes {
    qint64 gzip = -1;
    qint64 brotli = -1;
};

CompressedSizes compressedSizes(const QByteArray &bytes);

// A run's compressed sizes while they are measured on the render pool. It stands in for the
// run's onFilesFinished (and calls the one it replaced), as every finished file passes through
// that report: a file whose sizes are not in yet is reported without them and named again, with
// them, in a later report, so the run's thread never waits for brotli while files are still
// coming. The report that finds every file of the run finished waits for the rest, and the sizes
// are also written into the run's own outcomes, so that those it returns have them all.
// Lives on the run's thread.
class CompressedSizeReports {
public:
    using Report = std::function<void(const QList<std::pair<qsizetype, FileResult>> &)>;

    // At most this many files are measured at once: the copies they hold are released in time
    // even where svgo is much faster than brotli.
    static constexpr qsizetype maximumPending = 512;

    // The one standing in for `report`, put in its place on first use; `outcomes` are the run's.
    static CompressedSizeReports &of(Report &report, QList<FileResult> &outcomes);

    // Starts measuring one file's input (none when it could not be read) and svgo's output.
    void measure(int index, const QByteArray &input, const QByteArray &output);

    void operator()(const QList<std::pair<qsizetype, FileResult>> &settled) const;

private:
    struct Pending {
        int index = -1;
        QFuture<CompressedSizes> before; // invalid: the input could not be read
        QFuture<CompressedSizes> after;
        bool reported = false; // reported without its sizes: to be named again with them
        bool isReady() const {
            return after.isFinished() && (!before.isValid() || before.isFinished());
        }
    };
    // Shared, as a std::function holds copies.
    struct State {
        Report report;
        QList<FileResult> *outcomes = nullptr;
        std::deque<Pending> pending;   // in the order measuring started
        qsizetype firstUnfinished = 0; // no file before it is still to be done
    };

    CompressedSizeReports(Report report, QList<FileResult> &outcomes);
    // Whether every file of the run has its outcome, so nothing is reported after this.
    bool runIsOver() const;
    void take(const Pending &pending) const; // waits for its sizes where they are not in yet

    std::shared_ptr<State> m_state;
};
