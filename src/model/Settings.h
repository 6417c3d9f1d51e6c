#pragma once

#include "model/Defaults.h"
#include "model/Profile.h"

// The application's persistent settings; each key is created on first use and lives for the run.
namespace Keys {
const Defaults::Key<QString> &svgoExecutablePath();
const Defaults::Key<bool> &copyTextOutputAutomatically();
const Defaults::Key<Profile> &defaultProfile();
const Defaults::Key<QList<Profile>> &profiles();
const Defaults::Key<QString> &selectedProfile();
const Defaults::Key<qint64> &chunkSize();
const Defaults::Key<qint64> &maxConcurrentProcesses();
// The line break written between the parts of text output: "crlf" or "lf".
const Defaults::Key<QString> &lineEnding();
// Whether runs answer unchanged files from what they made of them before (ResultsCache).
const Defaults::Key<bool> &cacheResults();
// The file table's compressed-size columns the user chose to show, by name ("gzip", "brotli"),
// separated by commas; window runs measure compressed sizes only while one is shown.
const Defaults::Key<QString> &shownCompressedColumns();
// Seconds one file may take in svgo. No limit at all (0 or less) would fail every file at once, so
// such a stored value reads as the default.
class TimeLimitKey : public Defaults::Key<qint64> {
public:
    using Defaults::Key<qint64>::Key;
    qint64 get() const;
};
const TimeLimitKey &svgoTimeLimit();
// The contact sheet: icon size in pixels, background ("light", "dark", "checkerboard"), the
// colour currentColor stands for ("auto" or a colour such as "#0a84ff"), and whether it shows
// the optimized version of a file where there is one.
const Defaults::Key<qint64> &contactSheetIconSize();
const Defaults::Key<QString> &contactSheetBackground();
const Defaults::Key<QString> &contactSheetTint();
const Defaults::Key<bool> &contactSheetShowsOptimized();
} // namespace Keys
