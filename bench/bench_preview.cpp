// How long the window waits while the preview shows a large drawing: an 8 MiB SVG of many paths
// selected, the window resized a few times while it is drawn, and the same file held back as
// looking different (its output drawn and compared). For each, the longest gap between the ticks
// of a 5 ms timer on the window's thread, how much of that gap the thread was on the CPU or
// waited for one (a busy shared machine makes every program wait), the longest gap without that
// waiting, how long the call that showed the file took, and how long until the drawing was there.
// Run with QT_QPA_PLATFORM=offscreen (set by default).

#include "model/FileResult.h"
#include "ui/main/SvgPreview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <utility>

namespace {

// Many small filled triangles over a grey square, as a detailed map or a traced picture has.
QByteArray largeDrawing(qsizetype bytes, const char *fill) {
    QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1000 1000\">\n"
                     "<rect width=\"1000\" height=\"1000\" fill=\"#ccc\"/>\n";
    svg.reserve(bytes + 256);
    for (int path = 0; svg.size() < bytes; ++path) {
        const int x = (path * 37) % 997, y = (path * 91) % 991;
        svg += "<path fill=\"" + QByteArray(fill) + "\" d=\"M" + QByteArray::number(x) + ' ' +
               QByteArray::number(y) + "l7.25 1.5-3.5 6.75z\"/>\n";
    }
    svg += "</svg>\n";
    return svg;
}

// The longest time the window's thread went without running its timers.
class StallMeter : public QObject {
public:
    StallMeter() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, &StallMeter::tick);
    }
    void start() {
        m_longest = m_longestBusy = 0;
        m_longestWaited = m_longestOwn = 0;
        m_sinceTick.start();
        m_busyAtTick = threadCpu();
        m_waitedAtTick = waitedForCpu();
        m_timer.start();
    }
    // The longest gap in ms, and how much of it this thread spent on the CPU: on a machine
    // shared with other work, a long gap with little CPU time is the system's scheduling, not
    // work done on the window's thread.
    std::pair<double, double> stop() {
        tick();
        m_timer.stop();
        return {m_longest / 1e6, m_longestBusy / 1e6};
    }

private:
    static qint64 threadCpu() {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
    }
    // Nanoseconds this thread was ready to run but waited for a CPU (Linux's scheduler
    // statistics); 0 where they are not available.
    static qint64 waitedForCpu() {
        QFile stats(QStringLiteral("/proc/thread-self/schedstat"));
        if (!stats.open(QIODevice::ReadOnly))
            return 0;
        const QList<QByteArray> fields = stats.readAll().simplified().split(' ');
        return fields.size() > 1 ? fields.at(1).toLongLong() : 0;
    }
    void tick() {
        const qint64 gap = m_sinceTick.nsecsElapsed(), busy = threadCpu();
        const qint64 waited = waitedForCpu();
        m_longestOwn = std::max(m_longestOwn, gap - (waited - m_waitedAtTick));
        if (gap > m_longest) {
            m_longest = gap;
            m_longestBusy = busy - m_busyAtTick;
            m_longestWaited = waited - m_waitedAtTick;
        }
        m_sinceTick.restart();
        m_busyAtTick = busy;
        m_waitedAtTick = waited;
    }

    QTimer m_timer;
    QElapsedTimer m_sinceTick;
    qint64 m_busyAtTick = 0;
    qint64 m_longest = 0, m_longestBusy = 0;
    qint64 m_waitedAtTick = 0, m_longestWaited = 0, m_longestOwn = 0;

public:
    // How long of the longest gap this thread waited for a CPU, in ms.
    double waitedMs() const { return m_longestWaited / 1e6; }
    // The longest gap not counting the time spent waiting for a CPU, in ms: the stall this
    // program causes itself.
    double ownMs() const { return m_longestOwn / 1e6; }
};

// Runs the window's events until `pane` shows what it should; false after a minute.
bool waitUntilDrawn(SvgPane *pane) {
    QElapsedTimer waited;
    waited.start();
    while (pane->isDrawing() && waited.elapsed() < 60000) {
        QEventLoop loop;
        QObject::connect(pane, &SvgPane::drawn, &loop, &QEventLoop::quit);
        QTimer::singleShot(100, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return !pane->isDrawing();
}

// `call`: how long the call that showed the file took by itself.
void report(const char *step, StallMeter &meter, const QElapsedTimer &timer, double call,
            bool drawn) {
    const auto [stall, busy] = meter.stop();
    std::printf("%-30s longest stall %6.1f ms (on the CPU %5.1f, waiting for one %6.1f), "
                "without waiting %5.1f ms   call %5.1f ms   drawn after %7.1f ms%s\n",
                step, stall, busy, meter.waitedMs(), meter.ownMs(), call,
                timer.nsecsElapsed() / 1e6, drawn ? "" : "   (no drawing within a minute)");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("large.svg"));
    const QByteArray svg = largeDrawing(8 << 20, "#147");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(svg) != svg.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    file.close();
    std::printf("drawing of %.1f MiB, %lld paths\n", svg.size() / 1048576.0,
                static_cast<long long>(svg.count("<path")));

    QWidget window;
    window.resize(520, 420);
    SvgPreview preview(&window);
    preview.resize(window.size());
    window.show();
    QCoreApplication::processEvents();
    StallMeter meter;
    QElapsedTimer timer;

    // What the machine's other work costs the window by itself, for comparison.
    meter.start();
    timer.start();
    while (timer.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const auto [idle, idleBusy] = meter.stop();
    std::printf("%-30s longest stall %6.1f ms (on the CPU %5.1f, waiting for one %6.1f), "
                "without waiting %5.1f ms\n",
                "nothing shown, 2 s", idle, idleBusy, meter.waitedMs(), meter.ownMs());

    meter.start();
    timer.start();
    preview.showFiles(path, QString(), QString());
    double call = timer.nsecsElapsed() / 1e6;
    report("selected", meter, timer, call, waitUntilDrawn(preview.originalPane()));

    meter.start();
    timer.start();
    // A splitter dragged: sizes in quick succession, then the last one held.
    for (const int width : {480, 440, 400, 360, 420, 500}) {
        window.resize(width, 420);
        preview.resize(window.size());
        QElapsedTimer step;
        step.start();
        while (step.elapsed() < 40)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    report("resized six times", meter, timer, 0, waitUntilDrawn(preview.originalPane()));

    meter.start();
    timer.start();
    preview.clear();
    preview.showFiles(path, QString(), QString());
    call = timer.nsecsElapsed() / 1e6;
    report("selected again", meter, timer, call, waitUntilDrawn(preview.originalPane()));

    FileResult result{FileResult::Status::LooksDifferent, QStringLiteral("Looks different.")};
    result.differentOutput = largeDrawing(8 << 20, "#a13");
    meter.start();
    timer.start();
    preview.showLooksDifferent(path, result);
    call = timer.nsecsElapsed() / 1e6;
    const bool shown = waitUntilDrawn(preview.optimizedPane()) &&
                       waitUntilDrawn(preview.differencePane()) &&
                       waitUntilDrawn(preview.originalPane());
    report("held back as looking different", meter, timer, call, shown);
    return 0;
}
