#include "engine/SvgoResolver.h"

#include "engine/ShippedTools.h"
#include "engine/Utilities.h"
#include "model/Settings.h"

#include <QFileInfo>
#include <QMutex>
#include <QtConcurrent>

#include <optional>

namespace {

QMutex s_shippedMutex;
std::optional<QString> s_shippedOverride;
QString s_prefilled; // the stored path prefill() set, until remember() has replaced it
QMutex s_latestMutex;
std::optional<SvgoResolution> s_latest;

// A path a process can be started from: absolute, a file, executable. Starts nothing.
bool isProgram(const QString &path) {
    const QFileInfo info(path);
    return !path.isEmpty() && info.isAbsolute() && info.isFile() && info.isExecutable();
}

} // namespace

SvgoResolution::Source SvgoResolution::sourceOf(const QString &path) const {
    const QString expanded = SvgoCheck::expandedPath(path);
    if (!expanded.isEmpty() && expanded == shippedPath)
        return Source::Shipped;
    if (!expanded.isEmpty() && expanded == loginShellPath)
        return Source::LoginShell;
    return Source::Stored;
}

namespace SvgoResolver {

QString shippedSvgo() {
    {
        QMutexLocker lock(&s_shippedMutex);
        if (s_shippedOverride)
            return *s_shippedOverride;
    }
    return ShippedTools::svgoPath();
}

void setShippedSvgo(const QString &path) {
    QMutexLocker lock(&s_shippedMutex);
    s_shippedOverride = path;
}

SvgoResolution resolve(const QString &stored) {
    SvgoResolution resolution;
    resolution.loginShellPath =
        Utilities::shared().locateSVGO(&resolution.loginShellProblem).value_or(QString());
    resolution.shippedPath = shippedSvgo();

    for (const auto &[path, source] :
         {std::pair{resolution.loginShellPath, SvgoResolution::Source::LoginShell},
          std::pair{resolution.shippedPath, SvgoResolution::Source::Shipped}}) {
        if (path.isEmpty())
            continue;
        SvgoCheck check = SvgoCheck::run(path);
        if (check.works()) {
            resolution.installed = std::move(check);
            resolution.installedSource = source;
            break;
        }
    }

    // The stored path is often the very svgo found just now: checked once.
    if (!stored.isEmpty())
        resolution.storedCheck = SvgoCheck::expandedPath(stored) == resolution.installed.path
                                     ? resolution.installed
                                     : SvgoCheck::run(stored);
    if (resolution.storedCheck.works()) {
        resolution.chosen = resolution.storedCheck;
        resolution.source = SvgoResolution::Source::Stored;
    } else if (resolution.installed.works()) {
        resolution.chosen = resolution.installed;
        resolution.source = resolution.installedSource;
    }
    QMutexLocker lock(&s_latestMutex);
    s_latest = resolution;
    return resolution;
}

std::optional<SvgoResolution> latest() {
    QMutexLocker lock(&s_latestMutex);
    return s_latest;
}

void takeCheck(const SvgoCheck &check) {
    QMutexLocker lock(&s_latestMutex);
    if (!s_latest)
        return;
    SvgoResolution &resolution = *s_latest;
    resolution.storedCheck = check;
    if (check.works()) {
        resolution.chosen = check;
        resolution.source = SvgoResolution::Source::Stored;
    } else {
        resolution.chosen = resolution.installed;
        resolution.source = resolution.installedSource;
    }
}

SvgoChoice forRun() {
    const QString stored = Keys::svgoExecutablePath().get();
    const std::optional<SvgoResolution> last = latest();
    // A program on disk may still not be a usable svgo (a Node version switched away, an old
    // svgo): what the resolution found by running this very path counts too. Whether it exists
    // is looked at anew, since it may have been installed again since.
    bool refused = false;
    if (last && !stored.isEmpty() && last->storedCheck.path == stored) {
        using Verdict = SvgoCheck::Verdict;
        const Verdict verdict = last->storedCheck.verdict;
        refused = verdict == Verdict::NotSvgo || verdict == Verdict::TooOld ||
                  verdict == Verdict::TimedOut;
    }
    if (isProgram(stored) && !refused)
        return {stored, last ? last->sourceOf(stored) : SvgoResolution::Source::Stored};
    if (last && last->installed.works() && isProgram(last->installed.path))
        return {last->installed.path, last->installedSource};
    const QString shipped = shippedSvgo();
    if (isProgram(shipped))
        return {shipped, SvgoResolution::Source::Shipped};
    return {stored,
            stored.isEmpty() ? SvgoResolution::Source::None : SvgoResolution::Source::Stored};
}

QFuture<SvgoResolution> start() {
    return QtConcurrent::run(resolve, Keys::svgoExecutablePath().get());
}

bool remember(const SvgoResolution &resolution) {
    // Looked at again: the user may have typed a path while the lookup ran.
    const QString stored = Keys::svgoExecutablePath().get();
    const bool prefilled = !s_prefilled.isEmpty() && stored == s_prefilled;
    s_prefilled.clear();
    if (!stored.isEmpty() && !prefilled)
        return false;
    const QString found = resolution.installed.works() ? resolution.installed.path : QString();
    if (found == stored)
        return false;
    Keys::svgoExecutablePath().set(found);
    return !found.isEmpty();
}

void prefill() {
    if (!Keys::svgoExecutablePath().get().isEmpty())
        return;
    s_prefilled = shippedSvgo();
    if (!s_prefilled.isEmpty())
        Keys::svgoExecutablePath().set(s_prefilled);
}

} // namespace SvgoResolver
