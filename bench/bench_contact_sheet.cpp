// How quickly the contact sheet shows a large set: 10,000 icons (Bootstrap's 2,078, copied under
// other names until there are enough) in a 1000×700 sheet at 32 px. Printed: the time until the
// first screen is drawn, the time to scroll through the whole set a screen at a time with every
// screen drawn before the next, the time until the last screen is drawn after jumping straight
// to it, and the longest time the window's thread went without handling its events meanwhile.
// Run with QT_QPA_PLATFORM=offscreen (set by default).

#include "model/SVGFileList.h"
#include "ui/main/ContactSheet.h"
#include "ui/main/ContactSheetDrawer.h"
#include "ui/main/ContactSheetModel.h"
#include "ui/main/WindowSession.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

constexpr int iconCount = 10000;

// The longest gap between ticks of a 5 ms timer on the window's thread, and how much of it the
// thread spent on the CPU: on a machine shared with builds, a long gap with little CPU time is
// the system's scheduling, not work done on the window's thread.
class StallMeter : public QObject {
public:
    StallMeter() {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, &StallMeter::tick);
        m_since.start();
        m_cpuAtTick = threadCpu();
        m_timer.start();
    }
    // The longest gap since the last call, and its CPU time, both in ms.
    std::pair<qint64, qint64> take() {
        tick();
        const std::pair<qint64, qint64> longest{m_longest / 1000000, m_longestCpu / 1000000};
        m_longest = m_longestCpu = 0;
        return longest;
    }

private:
    static qint64 threadCpu() {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
    }
    void tick() {
        const qint64 gap = m_since.nsecsElapsed(), cpu = threadCpu();
        if (gap > m_longest) {
            m_longest = gap;
            m_longestCpu = cpu - m_cpuAtTick;
        }
        m_since.restart();
        m_cpuAtTick = cpu;
    }

    QTimer m_timer;
    QElapsedTimer m_since;
    qint64 m_cpuAtTick = 0;
    qint64 m_longest = 0, m_longestCpu = 0;
};

QString stallText(std::pair<qint64, qint64> stall) {
    return QStringLiteral("longest wait of the window's thread %1 ms, %2 ms of it on the CPU")
        .arg(stall.first)
        .arg(stall.second);
}

// The rows whose cells show in the viewport now.
std::pair<int, int> shownRows(const ContactSheet &sheet) {
    const QListView *view = sheet.view();
    const QModelIndex first = view->indexAt(QPoint(2, 2));
    if (!first.isValid())
        return {0, -1};
    int last = first.row();
    const int bottom = view->viewport()->height();
    while (last + 1 < sheet.model()->rowCount() &&
           view->visualRect(sheet.model()->index(last + 1)).top() < bottom)
        ++last;
    return {first.row(), last};
}

bool screenDrawn(const ContactSheet &sheet) {
    const auto [first, last] = shownRows(sheet);
    for (int row = first; row <= last; ++row)
        if (!sheet.model()->drawingOf(row))
            return false;
    return last >= first;
}

// Runs the window until the screen is drawn; the milliseconds it took, -1 after two minutes.
qint64 untilDrawn(const ContactSheet &sheet) {
    QElapsedTimer timer;
    timer.start();
    while (!screenDrawn(sheet)) {
        if (timer.elapsed() > 120000)
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
    }
    return timer.elapsed();
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir settings, icons;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QCoreApplication::setOrganizationName(QStringLiteral("MirandelBench"));

    const QDir source(
        QStringLiteral(MIRANDEL_SOURCE_DIR "/tools/node_modules/bootstrap-icons/icons"));
    const QStringList names = source.entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name);
    if (names.isEmpty()) {
        std::fprintf(stderr, "no icons in %s\n", qPrintable(source.path()));
        return 1;
    }
    QList<QByteArray> documents;
    for (const QString &name : names) {
        QFile file(source.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            documents.append(file.readAll());
    }
    SVGFileList files;
    for (int i = 0; i < iconCount; ++i) {
        const QString path = icons.filePath(QStringLiteral("%1-%2.svg")
                                                .arg(names.at(i % names.size()).chopped(4))
                                                .arg(i / names.size()));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(documents.at(i % documents.size())) < 0)
            return 1;
        file.close();
        files.addFile(QUrl::fromLocalFile(path));
    }
    WindowSession session;
    std::printf("%d icons (%lld distinct), 1000x700 window, 32 px, %d drawing threads\n",
                int(files.files().size()), qlonglong(documents.size()),
                QThread::idealThreadCount());

    StallMeter stalls;
    QElapsedTimer timer;
    timer.start();
    ContactSheet sheet(&files, &session);
    sheet.resize(1000, 700);
    sheet.show();
    const qint64 firstScreen = untilDrawn(sheet);
    const qint64 opened = timer.elapsed();
    const auto [first, last] = shownRows(sheet);
    std::printf("first screen (%d icons) drawn: %lld ms after opening (%s)\n", last - first + 1,
                qlonglong(opened), qPrintable(stallText(stalls.take())));
    if (firstScreen < 0)
        return 1;

    // A screen at a time, each drawn before the next: what looking through the set costs.
    QScrollBar *bar = sheet.view()->verticalScrollBar();
    timer.restart();
    int screens = 1;
    while (bar->value() < bar->maximum()) {
        bar->setValue(std::min(bar->maximum(), bar->value() + bar->pageStep()));
        if (untilDrawn(sheet) < 0)
            return 1;
        ++screens;
    }
    const qint64 through = timer.elapsed();
    std::printf("all %d icons drawn scrolling through %d screens: %lld ms (%.0f icons/s; %s)\n",
                iconCount, screens, qlonglong(through), iconCount * 1000.0 / through,
                qPrintable(stallText(stalls.take())));

    // A look not drawn yet, and a jump from top to bottom: only the last screen is drawn.
    sheet.backgroundBox()->setCurrentIndex(
        sheet.backgroundBox()->findData(SheetLook::backgroundName(SheetLook::Background::Dark)));
    bar->setValue(0);
    untilDrawn(sheet);
    timer.restart();
    for (int value = 0; value < bar->maximum(); value += bar->pageStep()) {
        bar->setValue(value);
        QCoreApplication::processEvents();
    }
    bar->setValue(bar->maximum());
    const qint64 jumped = untilDrawn(sheet);
    std::printf("flung through all screens without waiting, last screen drawn: %lld ms after\n",
                qlonglong(timer.elapsed()));
    std::printf("  (%lld ms of it waiting for the last screen)\n", qlonglong(jumped));
    std::printf("  (%s)\n", qPrintable(stallText(stalls.take())));

    // The export: once with the dark look's drawings mostly still to make, once with every
    // drawing of the light look kept from scrolling through.
    for (const auto background : {SheetLook::Background::Dark, SheetLook::Background::Light}) {
        sheet.backgroundBox()->setCurrentIndex(
            sheet.backgroundBox()->findData(SheetLook::backgroundName(background)));
        QCoreApplication::processEvents();
        bool done = false;
        QString error;
        const QMetaObject::Connection connection = QObject::connect(
            &sheet, &ContactSheet::exportFinished, [&](const QString &, const QString &why) {
                done = true;
                error = why;
            });
        timer.restart();
        sheet.exportTo(icons.filePath(QStringLiteral("sheet.png")));
        while (!done)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QObject::disconnect(connection);
        if (!error.isEmpty())
            return 1;
        const QImage written(icons.filePath(QStringLiteral("sheet.png")));
        std::printf("export on %s (%dx%d px PNG): %lld ms\n",
                    qPrintable(SheetLook::backgroundName(background)), written.width(),
                    written.height(), qlonglong(timer.elapsed()));
    }
    return 0;
}
