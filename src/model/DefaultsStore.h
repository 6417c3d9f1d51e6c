#pragma once

#include <QHash>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QVariant>

class QFileSystemWatcher;

namespace Defaults {

// The process-wide side of the settings layer: the registered defaults, and one change signal
// fed both by writes through any Key and by outside edits of the settings file.
// It lives on the application's main thread; its signal reaches observers through queued
// connections when they live elsewhere.
class Store : public QObject {
    Q_OBJECT
public:
    static Store &instance();

    // Thread-safe.
    static void registerDefault(const QString &name, const QVariant &stored);
    static QVariant registered(const QString &name);

    // Thread-safe: announces that the value under `name` was just written or removed.
    void notifyChanged(const QString &name);
    // Thread-safe: a write to the settings file `fileName` failed; the value lives on in memory.
    void notifyWriteFailed(const QString &fileName);
    // Starts watching the settings file (once); safe to call from any thread.
    void ensureWatching();

signals:
    // `name` is empty when the file changed from outside and any value may differ.
    void changed(const QString &name);
    // A setting could not be saved to `fileName`: it holds until the program quits.
    void writeFailed(const QString &fileName);

private:
    Store();
    void startWatching();
    void rearm();

    QPointer<QFileSystemWatcher> m_watcher;
    QPointer<QTimer> m_settle;
    QString m_fileName;
};

} // namespace Defaults
