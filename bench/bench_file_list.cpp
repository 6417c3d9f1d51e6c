// Adding a folder of many SVG files must stay close to the cost of merely listing it: prints the
// time of a bare listing, of SVGFileList::addFolder and their ratio (target: at most 2x).
#include "model/SVGFileList.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <limits>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int fileCount = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    constexpr int rounds = 9;

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::printf("cannot create a temporary folder\n");
        return 1;
    }
    for (int i = 0; i < fileCount; ++i) {
        QFile file(dir.filePath(QStringLiteral("icon-%1.svg").arg(i, 6, 10, QLatin1Char('0'))));
        if (!file.open(QIODevice::WriteOnly)) {
            std::printf("cannot create %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }

    // Best of several rounds each, interleaved, so that a cold directory cache or a busy
    // neighbour on the machine does not decide the outcome.
    qint64 listingBest = std::numeric_limits<qint64>::max();
    qint64 addBest = std::numeric_limits<qint64>::max();
    qsizetype listed = 0;
    qsizetype added = 0;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        const QStringList names = QDir(dir.path()).entryList(QDir::Files, QDir::Unsorted);
        listingBest = std::min(listingBest, timer.nsecsElapsed());
        listed = names.size();

        SVGFileList list;
        timer.restart();
        list.addFolder(QUrl::fromLocalFile(dir.path()));
        addBest = std::min(addBest, timer.nsecsElapsed());
        added = list.files().size();
    }

    std::printf("files: %d (listed %lld, added %lld), best of %d rounds\n", fileCount,
                qlonglong(listed), qlonglong(added), rounds);
    std::printf("bare listing (QDir::entryList): %8.1f ms\n", listingBest / 1e6);
    std::printf("SVGFileList::addFolder:         %8.1f ms\n", addBest / 1e6);
    std::printf("ratio: %.2fx (target <= 2x)\n", double(addBest) / double(listingBest));
    return 0;
}
