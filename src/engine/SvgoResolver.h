#pragma once

#include "engine/SvgoCheck.h"

#include <QFuture>
#include <QString>

#include <optional>

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

// The svgo a run starts and where it comes from.
struct SvgoChoice {
    QString path;
    SvgoResolution::Source source = SvgoResolution::Source::None;
};

namespace SvgoResolver {

// Resolves against `stored` on the calling thread, which it blocks while the shell and the
// checks run. The answer is kept for forRun().
SvgoResolution resolve(const QString &stored);
// The answer of the last resolve(), on any thread; none before the first one ends.
std::optional<SvgoResolution> latest();
// A newer check of the stored path (the Advanced tab checks each path typed) replaces the one in
// the latest resolution, and with it the resolution's choice.
void takeCheck(const SvgoCheck &check);

// The svgo a run starts now, in the resolution's order: the stored path while it is a program on
// disk (unless the latest resolution of that same path found it unusable), else the svgo that
// resolution found instead while it is still there, else the shipped one. Only looks at files,
// never starts a program or the login shell, so any thread may ask, before every process.
// When nothing can be run, the stored path, so that the failure names it.
SvgoChoice forRun();
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
