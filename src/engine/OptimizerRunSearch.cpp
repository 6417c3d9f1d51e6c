// The searches that follow a file's first output (OptimizerRun.cpp has the rest of a run).
//
// An output that looks different is made again with svgo's plugins left out. The first try leaves
// out all of them, which tells whether any set of them can help at all. Then the plugins are
// lined up likeliest culprit first, and the shortest front of that line whose absence looks the
// same is found by halving: its last plugin is a culprit. The search goes on with that one left
// out, for the rest of the line in front of it, until leaving out the culprits found is enough.
// One culprit among svgo's 34 plugins takes at most eight tries; when the tries run out, the
// smallest set that was seen to look the same is what the file gets.
//
// Automatic precision tries 1, then 0 or 2, below svgo's default of 3: the lowest that still
// looks the same wins.
#include "engine/OptimizerRun.h"

#include "engine/OutputReview.h"
#include "engine/RenderPool.h"
#include "engine/SvgoWorkerPool.h"
#include "engine/VisualCheck.h"

#include <QtConcurrent>

namespace {

// The plugins that change drawings most often: rounding, path rewriting, merging and moving
// attributes between groups and their children.
const QStringList likelyCulprits{QStringLiteral("convertPathData"),
                                 QStringLiteral("cleanupNumericValues"),
                                 QStringLiteral("convertTransform"),
                                 QStringLiteral("mergePaths"),
                                 QStringLiteral("convertShapeToPath"),
                                 QStringLiteral("collapseGroups"),
                                 QStringLiteral("moveGroupAttrsToElems"),
                                 QStringLiteral("moveElemsAttrsToGroup"),
                                 QStringLiteral("inlineStyles"),
                                 QStringLiteral("minifyStyles"),
                                 QStringLiteral("convertColors"),
                                 QStringLiteral("removeHiddenElems"),
                                 QStringLiteral("removeUselessStrokeAndFill"),
                                 QStringLiteral("removeUnknownsAndDefaults"),
                                 QStringLiteral("removeNonInheritableGroupAttrs"),
                                 QStringLiteral("convertEllipseToCircle")};

QStringList likeliestFirst(const QStringList &plugins) {
    QStringList ordered;
    for (const QString &plugin : likelyCulprits)
        if (plugins.contains(plugin))
            ordered.append(plugin);
    for (const QString &plugin : plugins)
        if (!ordered.contains(plugin))
            ordered.append(plugin);
    return ordered;
}

bool looksTheSame(const FileResult &review) {
    return review.status == FileResult::Status::Optimized ||
           review.status == FileResult::Status::AlreadyOptimal;
}

} // namespace

bool OptimizerRun::startSearch(int index, const QByteArray &output,
                               const OriginalsBackup::Stamp &written, const FileResult &review,
                               const std::shared_ptr<VisualCheck> &check) {
    if (!m_tryTemplate || !check || m_cancelled)
        return false;
    Search search;
    search.check = check;
    search.written = written;
    search.firstOutput = output;
    search.firstReview = review;
    if (review.status == FileResult::Status::LooksDifferent) {
        if (!m_profile.findBreakingPlugins || m_plugins.isEmpty())
            return false;
        search.forPlugins = true;
        search.candidates = likeliestFirst(m_plugins);
        search.low = 0;   // the first output: nothing left out
        search.high = -1; // leaving out everything is tried first
    } else if (looksTheSame(review) && m_profile.automaticPrecision) {
        search.lowest = 0;
        search.highest = svgoDefaultPrecision - 1;
        search.bestOutput = output;
        search.bestReview = review;
        search.bestPrecision = svgoDefaultPrecision;
    } else {
        return false;
    }
    ++m_reviewing; // the run is not over while a file is searched
    m_searches.insert(index, std::move(search));
    tryNext(index);
    return true;
}

void OptimizerRun::tryNext(int index) {
    Search &search = m_searches[index];
    if (m_cancelled || search.spent >= searchBound)
        return endSearch(index);
    if (!search.forPlugins) {
        if (search.lowest > search.highest)
            return endSearch(index);
        // 1 first: from there one more try settles it either way.
        const int middle = (search.lowest + search.highest + 1) / 2;
        search.tryingPrecision = middle;
        return submitTry(index, {}, middle);
    }
    int count = 0;
    if (search.high < 0) {
        count = int(search.candidates.size());
    } else if (search.high == 0) {
        return endSearch(index); // the culprits found are all there is
    } else if (search.low < 0) {
        count = 0; // are the culprits found enough?
    } else if (search.high - search.low == 1) {
        // Leaving out one more made the difference: that one is a culprit.
        search.needed.append(search.candidates.at(search.high - 1));
        search.candidates = search.candidates.first(search.high - 1);
        if (search.candidates.isEmpty())
            return endSearch(index);
        search.low = -1;
        search.high = int(search.candidates.size());
        return tryNext(index);
    } else {
        count = (search.low + search.high) / 2;
    }
    search.tryingCount = count;
    search.trying = search.needed + search.candidates.first(count);
    submitTry(index, search.trying, -1);
}

void OptimizerRun::submitTry(int index, const QStringList &without, int precision) {
    auto job = std::make_shared<SvgoJob>(*m_tryTemplate);
    job->workersToStart = 1;
    SvgoJob *raw = job.get();
    job->deliver = [this, raw](const SvgoJobUpdate &update) { takeTryUpdate(raw, update); };
    SvgoRequest request;
    request.index = index;
    request.input = m_inputs.at(index);
    request.without = without;
    request.precision = precision;
    job->queue.push_back(request);
    m_tryJobs.append(job);
    ++m_searches[index].spent;
    m_workers.submit(job);
}

void OptimizerRun::takeTryUpdate(SvgoJob *job, const SvgoJobUpdate &update) {
    for (const SvgoAnswer &answer : update.answers) {
        if (!answer.ok || m_cancelled) {
            tried(answer.index, {}, std::nullopt);
            continue;
        }
        const QByteArray output = withFileIds(answer.index, answer.document);
        const Search &search = m_searches[answer.index];
        reviewOnPool(QtConcurrent::run(
                         &renderPool(),
                         [profile = m_profile, original = m_originals.at(answer.index), output,
                          check = search.check] {
                             return OutputReview::review(profile, original, output, check.get());
                         }),
                     [this, index = answer.index, output](const FileResult &review) {
                         tried(index, output, review);
                     });
    }
    // The command line cannot leave plugins out: a try it would take counts as one that failed.
    for (const SvgoRequest &request : update.fallback)
        tried(request.index, {}, std::nullopt);
    if (update.over)
        m_tryJobs.removeIf([job](const std::shared_ptr<SvgoJob> &own) { return own.get() == job; });
    startMore();
}

void OptimizerRun::tried(int index, const QByteArray &output,
                         const std::optional<FileResult> &review) {
    const auto found = m_searches.find(index);
    if (found == m_searches.end())
        return;
    Search &search = *found;
    const bool same = review && looksTheSame(*review);
    // A smaller output wins; an equal one too, since it leaves out fewer plugins or rounds more.
    const auto better = [&] {
        return same && (search.bestOutput.isEmpty() || output.size() <= search.bestOutput.size());
    };
    if (!search.forPlugins) {
        if (same) {
            if (better()) {
                search.bestOutput = output;
                search.bestReview = review;
                search.bestPrecision = search.tryingPrecision;
            }
            search.highest = search.tryingPrecision - 1;
        } else {
            search.lowest = search.tryingPrecision + 1;
        }
        return tryNext(index);
    }
    if (same) {
        search.high = search.tryingCount;
        if (search.bestWithout.isEmpty() || search.trying.size() < search.bestWithout.size()) {
            search.bestOutput = output;
            search.bestReview = review;
            search.bestWithout = search.trying;
        }
    } else if (search.high < 0) {
        return endSearch(index); // no set of svgo's plugins keeps the drawing
    } else {
        search.low = search.tryingCount;
    }
    tryNext(index);
}

void OptimizerRun::endSearch(int index) {
    Search search = m_searches.take(index);
    --m_reviewing;
    // An output that keeps the drawing only by saving nothing is no better than the original.
    if (!search.bestReview || m_cancelled ||
        (search.forPlugins && search.bestReview->status != FileResult::Status::Optimized)) {
        // Nothing better was found: what the first output's review said stands.
        placeReviewed(index, search.firstOutput, search.written, search.firstReview);
        return;
    }
    FileResult review = *search.bestReview;
    if (search.forPlugins) {
        // Named in the order svgo runs them.
        for (const QString &plugin : std::as_const(m_plugins))
            if (search.bestWithout.contains(plugin))
                review.withoutPlugins.append(plugin);
        review.sizeWithAllPlugins = search.firstOutput.size();
        review.message =
            review.withoutPlugins.size() <= 3
                ? tr("Optimized without %1").arg(review.withoutPlugins.join(QStringLiteral(", ")))
                : tr("Optimized without %n of svgo's plugins", nullptr,
                     int(review.withoutPlugins.size()));
        if (m_profile.automaticPrecision)
            review.precisionUsed = svgoDefaultPrecision;
    } else {
        review.precisionUsed = search.bestPrecision;
    }
    OriginalsBackup::Stamp written = search.written;
    if (!m_inMemory && search.bestOutput != search.firstOutput) {
        // The first output is in the temporary file; the one found replaces it there.
        if (const QString error = writeTemporary(index, search.bestOutput); !error.isEmpty()) {
            failFile(index, tr("Cannot write the output: %1").arg(error));
            return;
        }
        written = OriginalsBackup::Stamp::of(m_slots.at(index).temporary);
    }
    placeReviewed(index, search.bestOutput, written, review);
}
