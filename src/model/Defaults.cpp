#include "model/Defaults.h"

#include "model/DefaultsStore.h"

#include <QHash>
#include <QMutex>
#include <QSettings>

#include <cstdio>

namespace Defaults {

namespace {

// Each value type's stored form and the way back. Reading is lenient where the INI format
// loses type information (everything comes back as text) and strict otherwise: anything that
// is not recognisably the right kind of value reads as absent, so the caller falls back to
// the default.
template <typename T> struct Bridge;

template <> struct Bridge<QString> {
    static QVariant store(const QString &value) { return value; }
    static std::optional<QString> read(const QVariant &stored) {
        if (stored.typeId() == QMetaType::QString)
            return stored.toString();
        return std::nullopt;
    }
};

template <> struct Bridge<bool> {
    static QVariant store(bool value) { return value; }
    static std::optional<bool> read(const QVariant &stored) {
        if (stored.typeId() == QMetaType::Bool)
            return stored.toBool();
        if (stored.typeId() == QMetaType::QString) {
            const QString text = stored.toString();
            if (text == QLatin1String("true"))
                return true;
            if (text == QLatin1String("false"))
                return false;
        }
        return std::nullopt;
    }
};

template <> struct Bridge<qint64> {
    static QVariant store(qint64 value) { return QVariant::fromValue<qlonglong>(value); }
    static std::optional<qint64> read(const QVariant &stored) {
        switch (stored.typeId()) {
        case QMetaType::Int:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::Short:
            return stored.toLongLong();
        case QMetaType::UInt:
        case QMetaType::ULong:
        case QMetaType::ULongLong:
        case QMetaType::QString: {
            bool ok = false;
            const qint64 value = stored.toLongLong(&ok);
            return ok ? std::optional<qint64>(value) : std::nullopt;
        }
        default:
            return std::nullopt;
        }
    }
};

template <> struct Bridge<Profile> {
    static QVariant store(const Profile &value) { return QString::fromUtf8(value.toJson()); }
    static std::optional<Profile> read(const QVariant &stored) {
        if (stored.typeId() != QMetaType::QString)
            return std::nullopt;
        return Profile::fromJson(stored.toString().toUtf8());
    }
};

template <> struct Bridge<QList<Profile>> {
    // One JSON text per element, never one JSON array text.
    static QVariant store(const QList<Profile> &value) {
        QStringList texts;
        texts.reserve(value.size());
        for (const Profile &profile : value)
            texts.append(QString::fromUtf8(profile.toJson()));
        return texts;
    }
    static std::optional<QList<Profile>> read(const QVariant &stored) {
        QVariantList elements;
        switch (stored.typeId()) {
        case QMetaType::QStringList:
        case QMetaType::QVariantList:
            elements = stored.toList();
            break;
        case QMetaType::QString:
            // The INI format writes a one-element list as a plain string.
            elements = {stored};
            break;
        default:
            return std::nullopt;
        }
        QList<Profile> profiles;
        profiles.reserve(elements.size());
        for (const QVariant &element : std::as_const(elements))
            if (std::optional<Profile> profile = Bridge<Profile>::read(element))
                profiles.append(std::move(*profile));
        return profiles;
    }
};

// Values whose write did not reach the settings file (a read-only or full ~/.config): the
// program goes on with them for as long as it runs, and says once that they will not last.
QMutex unsavedMutex;
QHash<QString, QVariant> unsaved; // an invalid value: removed

void reportFailedWrite(const QString &name, const QSettings &settings, const QVariant &value) {
    {
        QMutexLocker lock(&unsavedMutex);
        unsaved.insert(name, value);
    }
    // Standard error: standard output may be a batch run's text.
    std::fprintf(stderr, "Could not save setting \"%s\" to %s (QSettings status %d)\n",
                 qPrintable(name), qPrintable(settings.fileName()), int(settings.status()));
    std::fflush(stderr);
    Store::instance().notifyWriteFailed(settings.fileName());
}

void forgetUnsaved(const QString &name) {
    QMutexLocker lock(&unsavedMutex);
    unsaved.remove(name);
}

} // namespace

QVariant storedObject(const QString &name) {
    // A fresh QSettings per call: instances are reentrant, so this is what makes reads and
    // writes safe from any thread without a lock of our own.
    {
        QMutexLocker lock(&unsavedMutex);
        if (const auto found = unsaved.constFind(name); found != unsaved.constEnd())
            return found->isValid() ? *found : Store::registered(name);
    }
    const QSettings settings;
    const QVariant stored = settings.value(name);
    return stored.isValid() ? stored : Store::registered(name);
}

QVariant registeredDefault(const QString &name) {
    return Store::registered(name);
}

QString settingsFileName() {
    return QSettings().fileName();
}

template <typename T>
Key<T>::Key(QString name, std::function<T()> defaultValue)
    : m_name(std::move(name)), m_defaultValue(std::move(defaultValue)) {
    Store::registerDefault(m_name, Bridge<T>::store(m_defaultValue()));
}

template <typename T> T Key<T>::get() const {
    const QVariant stored = storedObject(m_name);
    if (stored.isValid())
        if (std::optional<T> value = Bridge<T>::read(stored))
            return std::move(*value);
    return defaultValue();
}

template <typename T> void Key<T>::set(const T &value) const {
    QSettings settings;
    settings.setValue(m_name, Bridge<T>::store(value));
    settings.sync();
    if (settings.status() != QSettings::NoError)
        reportFailedWrite(m_name, settings, Bridge<T>::store(value));
    else
        forgetUnsaved(m_name);
    Store::instance().notifyChanged(m_name);
}

template <typename T> void Key<T>::remove() const {
    QSettings settings;
    settings.remove(m_name);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        reportFailedWrite(m_name, settings, QVariant());
    else
        forgetUnsaved(m_name);
    Store::instance().notifyChanged(m_name);
}

template class Key<QString>;
template class Key<bool>;
template class Key<qint64>;
template class Key<Profile>;
template class Key<QList<Profile>>;

namespace detail {

QMetaObject::Connection connectChanges(const QString &name, QObject *context,
                                       std::function<void()> handler) {
    Store &store = Store::instance();
    store.ensureWatching();
    return QObject::connect(&store, &Store::changed, context,
                            [name, handler = std::move(handler)](const QString &changed) {
                                if (changed.isEmpty() || changed == name)
                                    handler();
                            });
}

} // namespace detail

} // namespace Defaults
