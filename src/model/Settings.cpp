#include "model/Settings.h"

#include <QThread>

#include <algorithm>

namespace Keys {

const Defaults::Key<QString> &svgoExecutablePath() {
    static const Defaults::Key<QString> key(QStringLiteral("svgoExecutablePath"),
                                            [] { return QString(); });
    return key;
}

const Defaults::Key<bool> &copyTextOutputAutomatically() {
    static const Defaults::Key<bool> key(QStringLiteral("copyTextOutputAutomatically"),
                                         [] { return false; });
    return key;
}

const Defaults::Key<Profile> &defaultProfile() {
    static const Defaults::Key<Profile> key(QStringLiteral("defaultProfile"),
                                            [] { return Profile::builtInDefault(); });
    return key;
}

const Defaults::Key<QList<Profile>> &profiles() {
    static const Defaults::Key<QList<Profile>> key(QStringLiteral("profiles"),
                                                   [] { return QList<Profile>(); });
    return key;
}

const Defaults::Key<QString> &selectedProfile() {
    static const Defaults::Key<QString> key(QStringLiteral("selectedProfile"),
                                            [] { return Profile::defaultId; });
    return key;
}

const Defaults::Key<qint64> &chunkSize() {
    static const Defaults::Key<qint64> key(QStringLiteral("chunkSize"), [] { return qint64(50); });
    return key;
}

// More parallel svgo processes than cores only adds memory pressure; eight keeps a big machine
// from spawning dozens of Node processes at once.
const Defaults::Key<qint64> &maxConcurrentProcesses() {
    static const Defaults::Key<qint64> key(QStringLiteral("maxConcurrentProcesses"), [] {
        return qint64(std::clamp(QThread::idealThreadCount(), 1, 8));
    });
    return key;
}

const Defaults::Key<QString> &lineEnding() {
    static const Defaults::Key<QString> key(QStringLiteral("lineEnding"),
                                            [] { return QStringLiteral("crlf"); });
    return key;
}

const Defaults::Key<bool> &cacheResults() {
    static const Defaults::Key<bool> key(QStringLiteral("cacheResults"), [] { return true; });
    return key;
}

// Hidden at first: measuring brotli at its best costs time a run without them does not spend.
const Defaults::Key<QString> &shownCompressedColumns() {
    static const Defaults::Key<QString> key(QStringLiteral("shownCompressedColumns"),
                                            [] { return QString(); });
    return key;
}

// Long enough for any sane drawing; a file that takes longer is more likely stuck than big.
const TimeLimitKey &svgoTimeLimit() {
    static const TimeLimitKey key(QStringLiteral("svgoTimeLimit"), [] { return qint64(60); });
    return key;
}

qint64 TimeLimitKey::get() const {
    const qint64 stored = Defaults::Key<qint64>::get();
    return stored > 0 ? stored : defaultValue();
}

const Defaults::Key<qint64> &contactSheetIconSize() {
    static const Defaults::Key<qint64> key(QStringLiteral("contactSheetIconSize"),
                                           [] { return qint64(32); });
    return key;
}

const Defaults::Key<QString> &contactSheetBackground() {
    static const Defaults::Key<QString> key(QStringLiteral("contactSheetBackground"),
                                            [] { return QStringLiteral("light"); });
    return key;
}

const Defaults::Key<QString> &contactSheetTint() {
    static const Defaults::Key<QString> key(QStringLiteral("contactSheetTint"),
                                            [] { return QStringLiteral("auto"); });
    return key;
}

const Defaults::Key<bool> &contactSheetShowsOptimized() {
    static const Defaults::Key<bool> key(QStringLiteral("contactSheetShowsOptimized"),
                                         [] { return true; });
    return key;
}

} // namespace Keys
