#include "model/DefaultsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSettings>
#include <QThread>

namespace Defaults {

namespace {

struct Registration {
    QMutex mutex;
    QHash<QString, QVariant> values;
};

Registration &registration() {
    static Registration instance;
    return instance;
}

// Outside writers (another instance saving through QSettings, an editor) replace the file in
// several steps; waiting a moment lets one burst of events become one re-read.
constexpr int settleMilliseconds = 50;

} // namespace

Store &Store::instance() {
    // Never destroyed: observers may still disconnect from it while the application shuts down.
    static Store *store = new Store;
    return *store;
}

Store::Store() {
    if (QCoreApplication *app = QCoreApplication::instance(); app && thread() != app->thread())
        moveToThread(app->thread());
}

void Store::registerDefault(const QString &name, const QVariant &stored) {
    Registration &r = registration();
    QMutexLocker lock(&r.mutex);
    r.values.insert(name, stored);
}

QVariant Store::registered(const QString &name) {
    Registration &r = registration();
    QMutexLocker lock(&r.mutex);
    return r.values.value(name);
}

void Store::notifyChanged(const QString &name) {
    emit changed(name);
}

void Store::notifyWriteFailed(const QString &fileName) {
    emit writeFailed(fileName);
}

void Store::ensureWatching() {
    if (QThread::currentThread() == thread()) {
        if (!m_watcher)
            startWatching();
        return;
    }
    QMetaObject::invokeMethod(this, [this] {
        if (!m_watcher)
            startWatching();
    });
}

void Store::startWatching() {
    m_fileName = QFileInfo(QSettings().fileName()).absoluteFilePath();
    m_settle = new QTimer(this);
    m_settle->setSingleShot(true);
    m_settle->setInterval(settleMilliseconds);
    connect(m_settle, &QTimer::timeout, this, [this] { emit changed(QString()); });
    m_watcher = new QFileSystemWatcher(this);
    auto onEvent = [this] {
        rearm();
        m_settle->start();
    };
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, onEvent);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, onEvent);
    rearm();
}

// A save through QSettings writes a new file and renames it over the old one, which ends the
// watch on the old file; so the file is watched afresh after every event, and its folder (or,
// before the first save, the nearest existing ancestor) tells when it appears or is replaced.
void Store::rearm() {
    if (!m_watcher)
        return;
    if (!m_watcher->files().isEmpty())
        m_watcher->removePaths(m_watcher->files());
    QString folder = QFileInfo(m_fileName).absolutePath();
    while (!QFileInfo::exists(folder) && !QDir(folder).isRoot())
        folder = QFileInfo(folder).absolutePath();
    const QStringList folders = m_watcher->directories();
    for (const QString &watched : folders)
        if (watched != folder)
            m_watcher->removePath(watched);
    if (!folders.contains(folder))
        m_watcher->addPath(folder);
    if (QFileInfo::exists(m_fileName))
        m_watcher->addPath(m_fileName);
}

} // namespace Defaults
