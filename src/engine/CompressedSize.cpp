#include "engine/CompressedSize.h"

#include "engine/RenderPool.h"

#include <QSet>
#include <QtConcurrent>

#include <brotli/encode.h>
#include <zlib.h>

#include <algorithm>
#include <memory>
#include <vector>

qint64 gzipSize(const QByteArray &bytes) {
    z_stream stream{};
    // 15 window bits plus 16 asks for gzip's header and trailer; memory level 9 as gzip -9.
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY) !=
        Z_OK)
        return -1;
    std::vector<Bytef> out(deflateBound(&stream, uLong(bytes.size())));
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = out.data();
    stream.avail_out = uInt(out.size());
    const int status = deflate(&stream, Z_FINISH);
    const qint64 size = status == Z_STREAM_END ? qint64(stream.total_out) : -1;
    deflateEnd(&stream);
    return size;
}

namespace {

// The command line reads its input in pieces of this size and says "finish" only once a read
// comes back short; where a piece ends can change the bytes it writes, so the same is done here.
constexpr qsizetype brotliReadSize = qsizetype(1) << 19;

// The command line's window for an input of `length` bytes: large enough to reach back over the
// whole input, and no larger, so that small files do not pay for a window they never use.
quint32 brotliWindowFor(qint64 length) {
    quint32 lgwin = BROTLI_MIN_WINDOW_BITS;
    while ((qint64(1) << lgwin) - 16 < length) {
        ++lgwin;
        if (lgwin == BROTLI_MAX_WINDOW_BITS)
            break;
    }
    return lgwin;
}

} // namespace

qint64 brotliSize(const QByteArray &bytes) {
    const std::unique_ptr<BrotliEncoderState, decltype(&BrotliEncoderDestroyInstance)> encoder(
        BrotliEncoderCreateInstance(nullptr, nullptr, nullptr), &BrotliEncoderDestroyInstance);
    if (!encoder)
        return -1;
    BrotliEncoderState *state = encoder.get();
    BrotliEncoderSetParameter(state, BROTLI_PARAM_QUALITY, BROTLI_MAX_QUALITY);
    BrotliEncoderSetParameter(state, BROTLI_PARAM_LGWIN, brotliWindowFor(bytes.size()));
    if (!bytes.isEmpty())
        BrotliEncoderSetParameter(state, BROTLI_PARAM_SIZE_HINT,
                                  quint32(std::min<qint64>(bytes.size(), qint64(1) << 30)));

    const auto *input = reinterpret_cast<const uint8_t *>(bytes.constData());
    const qsizetype total = bytes.size();
    qsizetype offset = 0;
    qint64 written = 0;
    std::vector<uint8_t> out(qsizetype(1) << 16);
    bool finishing = false;
    for (;;) {
        const qsizetype piece = std::min(brotliReadSize, total - offset);
        // A full read leaves the end unknown until the next one returns nothing.
        finishing = piece < brotliReadSize;
        size_t availableIn = size_t(piece);
        const uint8_t *nextIn = input + offset;
        offset += piece;
        const BrotliEncoderOperation operation =
            finishing ? BROTLI_OPERATION_FINISH : BROTLI_OPERATION_PROCESS;
        for (;;) {
            size_t availableOut = out.size();
            uint8_t *nextOut = out.data();
            if (!BrotliEncoderCompressStream(state, operation, &availableIn, &nextIn, &availableOut,
                                             &nextOut, nullptr))
                return -1;
            written += qint64(out.size() - availableOut);
            if (finishing ? BrotliEncoderIsFinished(state)
                          : availableIn == 0 && !BrotliEncoderHasMoreOutput(state))
                break;
        }
        if (finishing)
            return written;
    }
}

CompressedSizes compressedSizes(const QByteArray &bytes) {
    return {gzipSize(bytes), brotliSize(bytes)};
}

CompressedSizeReports::CompressedSizeReports(Report report, QList<FileResult> &outcomes)
    : m_state(std::make_shared<State>(State{std::move(report), &outcomes, {}})) {}

CompressedSizeReports &CompressedSizeReports::of(Report &report, QList<FileResult> &outcomes) {
    if (auto *installed = report.target<CompressedSizeReports>())
        return *installed;
    report = CompressedSizeReports(std::move(report), outcomes);
    return *report.target<CompressedSizeReports>();
}

void CompressedSizeReports::measure(int index, const QByteArray &input, const QByteArray &output) {
    Pending pending;
    pending.index = index;
    if (!input.isEmpty())
        pending.before = QtConcurrent::run(&renderPool(), compressedSizes, input);
    pending.after = QtConcurrent::run(&renderPool(), compressedSizes, output);
    m_state->pending.push_back(std::move(pending));
}

bool CompressedSizeReports::runIsOver() const {
    // A file's outcome stays "not run" until it is done, and never goes back to it; files done
    // out of order are passed over once the ones before them are done too.
    const QList<FileResult> &outcomes = *m_state->outcomes;
    qsizetype &first = m_state->firstUnfinished;
    while (first < outcomes.size() && outcomes.at(first).status != FileResult::Status::NotRun)
        ++first;
    return first == outcomes.size();
}

void CompressedSizeReports::take(const Pending &pending) const {
    FileResult &outcome = (*m_state->outcomes)[pending.index];
    if (pending.before.isValid()) {
        const CompressedSizes before = pending.before.result();
        outcome.gzipBefore = before.gzip;
        outcome.brotliBefore = before.brotli;
    }
    const CompressedSizes after = pending.after.result();
    outcome.gzipAfter = after.gzip;
    outcome.brotliAfter = after.brotli;
}

void CompressedSizeReports::operator()(
    const QList<std::pair<qsizetype, FileResult>> &settled) const {
    const QList<FileResult> &outcomes = *m_state->outcomes;
    QSet<qsizetype> named;
    for (const auto &entry : settled)
        named.insert(entry.first);
    QList<std::pair<qsizetype, FileResult>> report = settled;
    const bool over = runIsOver();
    std::deque<Pending> &pending = m_state->pending;
    qsizetype excess = qsizetype(pending.size()) - maximumPending;
    for (auto it = pending.begin(); it != pending.end();) {
        // The oldest ones are waited for when too many are measured at once.
        if (!over && excess <= 0 && !it->isReady()) {
            it->reported = it->reported || named.contains(it->index);
            ++it;
            continue;
        }
        take(*it);
        --excess;
        if (it->reported && !named.contains(it->index))
            report.append({it->index, outcomes.at(it->index)});
        it = pending.erase(it);
    }
    if (!m_state->report)
        return;
    // What the run reported was copied before these sizes were in.
    for (auto &[index, reported] : report) {
        const FileResult &outcome = outcomes.at(index);
        reported.gzipBefore = outcome.gzipBefore;
        reported.gzipAfter = outcome.gzipAfter;
        reported.brotliBefore = outcome.brotliBefore;
        reported.brotliAfter = outcome.brotliAfter;
    }
    m_state->report(report);
}
