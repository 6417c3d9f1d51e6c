#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QString>

#include <optional>

// Looks at an input before svgo gets it. svgo turns a document that is not SVG into an empty
// element and calls that a saving, passes an empty file through as optimized, and reads every
// file as UTF-8, so a Latin-1 file loses its umlauts. Such files fail here with a clear message,
// and text in another encoding reaches svgo as UTF-8.
class InputGuard {
    Q_DECLARE_TR_FUNCTIONS(InputGuard)
public:
    // The largest input read: icons and illustrations are far smaller, and a run holds every
    // input in memory until its output is reviewed.
    static constexpr qint64 maximumSize = 64LL * 1024 * 1024;

    // Opens `file` (constructed with its path) for reading without ever waiting on it: only a
    // regular file opens. A named pipe under an SVG's name would make its reader wait for ever,
    // and a link to a device such as /dev/zero would be read until memory runs out. Returns why
    // it did not open, empty when it did; `notRegular` tells that the path names something
    // other than a regular file (as opposed to nothing, or nothing this user may read).
    static QString open(QFile &file, bool *notRegular = nullptr);
    // Reads an open file of at most maximumSize bytes; no value when it is larger. Memory is
    // taken for what the file holds, not for the limit.
    static std::optional<QByteArray> read(QFile &file);
    // open() and read() in one: the bytes of the regular file at `path`, or no value and (in
    // `failure`) why not.
    static std::optional<QByteArray> readFile(const QString &path, QString *failure = nullptr);
    static QString tooLargeMessage();

    struct Checked {
        QByteArray svg;  // what svgo gets: the input in UTF-8, declared as such
        QString failure; // why the file cannot be optimized; empty when svgo may have it
    };
    static Checked check(const QByteArray &input);
};
