#pragma once

#include "engine/SvgoCheck.h"

#include <QFuture>
#include <QString>

// Which svgo the program runs: the stored "svgoExecutablePath" when it works, else the svgo the
// login shell finds, else the svgo shipped with Mirandel.
struct SvgoResolution {
    enum class Source { None, Stored, LoginShell, Shipped };

    Source source = Source::None;
    SvgoCheck chosen;          // the check of the svgo that works (path empty when none does)
    SvgoCheck storedCheck;     // the stored path's check (Verdict::Empty when nothing is stored)
    QString loginShellPath;    // the login shell's svgo, whether it works or not; empty if none
    QString loginShellProblem; // why the login shell gave no answer (a time-out), else empty
    QString shippedPath;       // the shipped svgo, empty when this copy of the program has none
    // The first of the login shell's and the shipped svgo that works, for "Use installed
    // version"; its path is empty when neither works.
    SvgoCheck installed;
    Source installedSource = Source::None;

    bool works() const { return source != Source::None; }
    // Where `path` comes from, as far as this resolution knows: the shipped svgo, the login
    // shell's, or (anything else) a custom one.
    Source sourceOf(const QString &path) const;
};

namespace SvgoResolver {

// Resolves against `stored` on the calling thread, which it blocks while the shell and the
// checks run.
SvgoResolution resolve(const QString &stored);
// Reads the stored path now and resolves on a worker thread.
QFuture<SvgoResolution> start();

// Stores the svgo found when nothing is stored yet, so the optimizer runs the svgo the Advanced
// tab shows. A path the user typed is never replaced. Returns whether it stored anything.
bool remember(const SvgoResolution &resolution);

// When nothing is stored, stores the shipped svgo at once (no program runs), so a press of
// Optimize before the first lookup ends has an svgo to run; remember() then replaces it with the
// svgo the lookup chose, or empties it again when none works. Both on the UI thread.
void prefill();

// The shipped svgo looked at; ShippedTools::svgoPath() unless a test set another (an empty path
// stands for a copy of the program without one).
QString shippedSvgo();
void setShippedSvgo(const QString &path);

} // namespace SvgoResolver
