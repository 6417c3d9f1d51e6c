#pragma once

#include "model/Profile.h"

#include <QFlags>
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

// A typed layer over the per-user QSettings of the application (native format, the domain
// named by QCoreApplication's organization and application names). Every setting is one
// Key with a store name and a default; reads, writes and observation go through it.
// Reading and writing are safe from any thread.
namespace Defaults {

template <typename T> class Key {
public:
    // Registers the default's stored form under `name`, so raw reads of the store see it too.
    Key(QString name, std::function<T()> defaultValue);

    const QString &name() const { return m_name; }
    T defaultValue() const { return m_defaultValue(); }

    // The stored value; the default when nothing is stored or the stored data cannot be read.
    // Never writes back: damaged data stays until the next set().
    T get() const;
    void set(const T &value) const;
    // Makes the key read its default again.
    void remove() const;

private:
    QString m_name;
    std::function<T()> m_defaultValue;
};

enum class ObserveOption { Initial = 1, Prior = 2 };
Q_DECLARE_FLAGS(ObserveOptions, ObserveOption)

namespace detail {
// Runs `handler` on the context's thread whenever the value under `name` may have changed.
QMetaObject::Connection connectChanges(const QString &name, QObject *context,
                                       std::function<void()> handler);
} // namespace detail

// Calls `callback(value)` on the context's thread whenever the stored value changes, whether
// this process changed it through any Key or another process edited the settings file.
// A write on the context's own thread is delivered before set() returns; writes elsewhere and
// file edits arrive through the event loop.
// Initial: deliver the current value at once. Prior: precede each new value with a call carrying
// the old one; as changes from other processes are only seen once made, that call comes right
// before the new value, never while the old value is still stored.
// Disconnect the returned connection (or delete the context) to stop observing.
template <typename T>
QMetaObject::Connection observe(const Key<T> &key, QObject *context,
                                std::function<void(const T &)> callback,
                                ObserveOptions options = {}) {
    // Change signals may repeat or arrive for writes that left the value as it was; comparing
    // with the last delivered value makes every callback a real change.
    auto last = std::make_shared<T>(key.get());
    if (options.testFlag(ObserveOption::Initial))
        callback(*last);
    const bool prior = options.testFlag(ObserveOption::Prior);
    return detail::connectChanges(key.name(), context, [key, last, callback, prior] {
        T now = key.get();
        if (now == *last)
            return;
        if (prior)
            callback(*last);
        *last = std::move(now);
        callback(*last);
    });
}

// The raw stored object under `name`, falling back to its registered default; invalid if neither.
QVariant storedObject(const QString &name);
// The stored form of the default registered for `name`; invalid if none.
QVariant registeredDefault(const QString &name);
// Where the settings live on disk (the file that is watched for outside changes).
QString settingsFileName();

extern template class Key<QString>;
extern template class Key<bool>;
extern template class Key<qint64>;
extern template class Key<Profile>;
extern template class Key<QList<Profile>>;

} // namespace Defaults

Q_DECLARE_OPERATORS_FOR_FLAGS(Defaults::ObserveOptions)
