#include "engine/Optimizer.h"

#include "engine/OptimizerRun.h"
#include "engine/TextOutputAssembler.h"

#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>

#include <cstdio>
#include <exception>

namespace {

// Keeps the promises of a run that broke off: the caller still gets an outcome per file and, in
// text mode, its one text.
void abandon(QPromise<OptimizationResult> &promise, const QList<SVGFile> &files,
             const Profile &profile, const std::function<void(const QString &)> &onTextOutput,
             const OptimizerOptions &options, const char *reason) {
    std::printf("Optimizer: run aborted: %s\n", reason);
    std::fflush(stdout);
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

Optimizer::Optimizer() {
    m_pool.setMaxThreadCount(16);
}

Optimizer &Optimizer::shared() {
    static Optimizer *instance = new Optimizer; // lives as long as the application
    return *instance;
}

QFuture<OptimizationResult> Optimizer::optimize(const QList<SVGFile> &files, const Profile &profile,
                                                std::function<void(const QString &)> onTextOutput) {
    return optimize(files, profile, std::move(onTextOutput), OptimizerOptions{});
}

QFuture<OptimizationResult> Optimizer::optimize(const QList<SVGFile> &files, const Profile &profile,
                                                std::function<void(const QString &)> onTextOutput,
                                                const OptimizerOptions &options) {
    return QtConcurrent::run(&m_pool, [files, profile, onTextOutput = std::move(onTextOutput),
                                       options](QPromise<OptimizationResult> &promise) {
        try {
            OptimizerRun run(files, profile, options, promise);
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
