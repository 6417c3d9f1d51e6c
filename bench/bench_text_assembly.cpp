// Throughput of text assembly over synthetic svgo output of 1, 10 and 100 MB: documents of about
// 1 KB written back to back, handed over in chunks of 50 documents as a run of svgo processes
// would. Prints MB/s of svgo output per size and layout, and how the cost per byte at 100 MB
// compares to 1 MB (a ratio near 1 means the assembly stays linear).
//
// Two figures per line. "warm": the allocator keeps the memory it got back from earlier rounds,
// as in a long-running application; this is the assembler's own cost. "cold": every round gets
// its memory fresh from the operating system, so the first write to each page is paid too; on a
// virtual machine that alone can be slower than the assembly, which the "fresh memory" line shows
// (writing a block the size of the text, two bytes per character, into fresh pages).

#include "engine/TextOutputAssembler.h"

#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef Q_OS_UNIX
#include <time.h>
#endif

namespace {

constexpr qsizetype megabyte = 1000 * 1000;
constexpr int documentsPerChunk = 50;

// One optimized icon of about a kilobyte; the path data varies so no two neighbours are equal.
QString document(int index) {
    QString pathData;
    for (int step = 0; pathData.size() < 900; ++step)
        pathData += QStringLiteral("M%1 %2h%3v%4l-%5 %6z")
                        .arg((index * 7 + step) % 97)
                        .arg(step % 13)
                        .arg(index % 31 + 1)
                        .arg(step % 17 + 2)
                        .arg(step % 5)
                        .arg(index % 11);
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\" "
                          "fill=\"currentColor\" viewBox=\"0 0 16 16\"><path d=\"%1\"/></svg>")
        .arg(pathData);
}

QStringList chunksOf(qsizetype totalSize) {
    QStringList samples;
    for (int i = 0; i < 64; ++i)
        samples << document(i);
    QStringList chunks;
    QString chunk;
    qsizetype size = 0;
    for (int i = 0; size < totalSize; ++i) {
        const QString &next = samples.at(i % samples.size());
        chunk += next;
        size += next.size();
        if ((i + 1) % documentsPerChunk == 0) {
            chunks << chunk;
            chunk.clear();
        }
    }
    if (!chunk.isEmpty())
        chunks << chunk;
    return chunks;
}

struct Layout {
    const char *name;
    Profile profile;
};

QList<Layout> layouts() {
    Profile plain = Profile::builtInDefault();
    plain.mode = OperationMode::Text;
    Profile pretty = plain;
    pretty.prettyPrint = true;
    Profile wrapped = pretty;
    wrapped.wrapOutput = true;
    wrapped.wrapOutputPrefix = QStringLiteral("<ul>");
    wrapped.wrapOutputSuffix = QStringLiteral("</ul>");
    wrapped.wrapIndividual = true;
    wrapped.wrapIndividualPrefix = QStringLiteral("<li>");
    wrapped.wrapIndividualSuffix = QStringLiteral("</li>");
    return {{"pretty, both wrappings", wrapped},
            {"pretty, no wrapping", pretty},
            {"plain, no wrapping", plain}};
}

// Processor time of this thread where the system tells it: the machine is shared, and time spent
// waiting for another program's turn is not the assembler's cost.
class Stopwatch {
public:
    Stopwatch() : m_start(now()) {}
    double seconds() const { return now() - m_start; }

private:
    static double now() {
#if defined(Q_OS_UNIX) && defined(CLOCK_THREAD_CPUTIME_ID)
        timespec time{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
        return double(time.tv_sec) + double(time.tv_nsec) / 1e9;
#else
        static QElapsedTimer timer;
        if (!timer.isValid())
            timer.start();
        return double(timer.nsecsElapsed()) / 1e9;
#endif
    }
    double m_start;
};

// Hands freed memory back to the operating system, so the next round starts on fresh pages.
void releaseFreeMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

// Keeps large blocks in the heap instead of mapping and unmapping them each time.
void keepFreedMemory() {
#ifdef __GLIBC__
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
}

// Best of several rounds, in seconds: the least disturbed by whatever else runs on the machine.
double bestSeconds(const Profile &profile, const QStringList &chunks, int rounds, bool cold) {
    double best = 1e300;
    for (int round = 0; round < rounds; ++round) {
        if (cold)
            releaseFreeMemory();
        const Stopwatch stopwatch;
        TextOutputAssembler assembler(profile);
        for (const QString &chunk : chunks)
            assembler.appendChunk(chunk);
        const QString text = assembler.finish();
        const double seconds = stopwatch.seconds();
        if (text.isEmpty())
            std::puts("unexpected empty text");
        best = std::min(best, seconds);
    }
    return best;
}

double freshMemorySeconds(qsizetype bytes) {
    double best = 1e300;
    for (int round = 0; round < 3; ++round) {
        releaseFreeMemory();
        const Stopwatch stopwatch;
        const std::unique_ptr<char[]> block(new char[bytes]);
        std::memset(block.get(), round + 1, bytes);
        const double seconds = stopwatch.seconds();
        if (block[bytes / 2] != round + 1)
            std::puts("unexpected block content");
        best = std::min(best, seconds);
    }
    return best;
}

} // namespace

int main() {
    keepFreedMemory();
    const QList<Layout> all = layouts();
    const qsizetype sizes[] = {1, 10, 100};
    QList<QList<double>> warmCost(all.size());
    QList<QList<double>> coldCost(all.size());

    std::printf("%-8s %-24s %12s %12s %12s\n", "size", "layout", "warm MB/s", "cold MB/s",
                "warm ns/B");
    for (const qsizetype megabytes : sizes) {
        const QStringList chunks = chunksOf(megabytes * megabyte);
        qsizetype bytes = 0; // ASCII, so one byte per character
        for (const QString &chunk : chunks)
            bytes += chunk.size();
        const QString size = QStringLiteral("%1 MB").arg(megabytes);
        const int rounds = megabytes >= 100 ? 3 : megabytes >= 10 ? 10 : 50;
        for (qsizetype i = 0; i < all.size(); ++i) {
            const double cold = bestSeconds(all[i].profile, chunks, 3, true);
            const double warm = bestSeconds(all[i].profile, chunks, rounds, false);
            warmCost[i] << warm * 1e9 / bytes;
            coldCost[i] << cold * 1e9 / bytes;
            std::printf("%-8s %-24s %12.0f %12.0f %12.3f\n", qPrintable(size), all[i].name,
                        bytes / warm / megabyte, bytes / cold / megabyte, warmCost[i].last());
            std::fflush(stdout);
        }
        const double fresh = freshMemorySeconds(2 * bytes);
        std::printf("%-8s %-24s %12s %12.0f\n", qPrintable(size), "fresh memory only", "",
                    bytes / fresh / megabyte);
    }
    std::printf("\nper-byte cost at 100 MB relative to 1 MB (target at most 1.5):\n");
    for (qsizetype i = 0; i < all.size(); ++i)
        std::printf("  %-24s warm %.2f   cold %.2f\n", all[i].name,
                    warmCost[i].last() / warmCost[i].first(),
                    coldCost[i].last() / coldCost[i].first());
    std::printf("target throughput: at least 200 MB/s\n");
    return 0;
}
