#include "engine/Optimizer.h"

#include "engine/OptimizerRun.h"
#include "engine/SvgoResolver.h"
#include "engine/SvgoWorkerPool.h"
#include "engine/TextOutputAssembler.h"
#include "model/Diagnostics.h"
#include "model/Settings.h"

#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>

#include <QCoreApplication>

#include <algorithm>
#include <exception>

namespace {

// Keeps the promises of a run that broke off: the caller still gets an outcome per file and, in
// text mode, its one text.
void abandon(QPromise<OptimizationResult> &promise, const QList<SVGFile> &files,
             const Profile &profile, const std::function<void(const QString &)> &onTextOutput,
             const OptimizerOptions &options, const char *reason) {
    qCWarning(lcMirandel) << "Optimizer: run aborted:" << reason;
    OptimizationResult result;
    result.files = files;
    result.outcomes.resize(files.size());
    result.cancelled = promise.isCanceled();
    if (!result.cancelled && profile.mode == OperationMode::Text && onTextOutput)
        onTextOutput(TextOutputAssembler(profile).finish());
    if (options.onFinished)
        options.onFinished(result);
    promise.addResult(std::move(result));
}

} // namespace

Optimizer::Optimizer() : m_workers(std::make_unique<SvgoWorkerPool>()) {
    m_pool.setMaxThreadCount(16);
}

Optimizer &Optimizer::shared() {
    static Optimizer *instance = [] {
        auto *created = new Optimizer; // lives as long as the application
        // No worker outlives the program.
        qAddPostRoutine([] { Optimizer::shared().stopWorkers(); });
        return created;
    }();
    return *instance;
}

void Optimizer::warmUp(const Profile &profile, std::optional<int> workers) {
    const int most = int(std::clamp<qint64>(Keys::maxConcurrentProcesses().get(), 1, 64));
    m_workers->warmUp(SvgoResolver::forRun().path, svgoConfigFile(profile),
                      std::min(most, workers.value_or(most)));
}

SvgoInstallation::Engine Optimizer::engineKind(const QString &svgoPath) const {
    const SvgoInstallation installation = SvgoInstallation::inspect(svgoPath);
    return m_workers->failedToLoad(installation.packageFolder)
               ? SvgoInstallation::Engine::CommandLine
               : installation.engine();
}

qint64 Optimizer::peakWorkerMemory() const {
    return m_workers->peakMemory();
}

void Optimizer::stopWorkers() {
    m_workers->shutDown();
}

QFuture<OptimizationResult> Optimizer::optimize(const QList<SVGFile> &files, const Profile &profile,
                                                std::function<void(const QString &)> onTextOutput) {
    return optimize(files, profile, std::move(onTextOutput), OptimizerOptions{});
}

QFuture<OptimizationResult> Optimizer::optimize(const QList<SVGFile> &files, const Profile &profile,
                                                std::function<void(const QString &)> onTextOutput,
                                                const OptimizerOptions &options) {
    return QtConcurrent::run(&m_pool, [this, files, profile, onTextOutput = std::move(onTextOutput),
                                       options](QPromise<OptimizationResult> &promise) {
        try {
            OptimizerRun run(files, profile, options, promise, *m_workers);
            OptimizationResult result = run.exec();
            if (!result.cancelled && profile.mode == OperationMode::Text && onTextOutput)
                onTextOutput(result.text);
            if (options.onFinished)
                options.onFinished(result);
            promise.addResult(std::move(result));
        } catch (const std::exception &error) {
            abandon(promise, files, profile, onTextOutput, options, error.what());
        } catch (...) {
            abandon(promise, files, profile, onTextOutput, options, "unknown error");
        }
    });
}
