#pragma once

#include <QCoreApplication>
#include <QFuture>
#include <QPointer>

#include <type_traits>

// Runs `function` on the UI thread with the future's result once it is there, unless `receiver`
// is gone by then. (QFuture::then with the receiver as context asserts in Qt 6.4 when the
// receiver dies first, so the application object serves as the context.)
template <typename T, typename Function>
QFuture<void> whenFinished(QFuture<T> future, QObject *receiver, Function function) {
    QPointer<QObject> guard(receiver);
    if constexpr (std::is_void_v<T>) {
        return future.then(QCoreApplication::instance(), [guard, function] {
            if (guard)
                function();
        });
    } else {
        return future.then(QCoreApplication::instance(), [guard, function](const T &value) {
            if (guard)
                function(value);
        });
    }
}
