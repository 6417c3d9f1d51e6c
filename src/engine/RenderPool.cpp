#include "engine/RenderPool.h"

#include <QThread>
#include <QThreadPool>

#include <algorithm>

QThreadPool &renderPool() {
    static QThreadPool *pool = [] {
        auto *created = new QThreadPool; // left to the end of the process, like Qt's own pool
        created->setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
        // Threads stay a while between drawings so their helper processes are reused.
        created->setExpiryTimeout(60000);
        return created;
    }();
    return *pool;
}
