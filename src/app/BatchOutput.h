#pragma once

#include <QString>

#include <cstdio>

// What batch mode says and how it ends, shared by its parts.
namespace BatchOutput {

enum ExitStatus { AllOptimized = 0, SomeFailed = 1, BadUsage = 2, WouldChange = 3 };

inline void write(FILE *stream, const QString &text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

// A name as messages show it.
inline QString quoted(const QString &name) {
    return u'"' + name + u'"';
}

inline void complain(const QString &message) {
    write(stderr, QStringLiteral("mirandel: ") + message + u'\n');
}

inline void note(const QString &message) {
    write(stderr, QStringLiteral("mirandel: note: ") + message + u'\n');
}

} // namespace BatchOutput
