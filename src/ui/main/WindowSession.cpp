#include "ui/main/WindowSession.h"

bool WindowSession::begin(Work work) {
    if (isBusy() || work == Work::None)
        return false;
    m_work = work;
    emit busyChanged(true);
    return true;
}

void WindowSession::end() {
    if (!isBusy())
        return;
    m_work = Work::None;
    m_run = {};
    emit busyChanged(false);
}

void WindowSession::cancel() {
    if (m_work == Work::Optimizing && !m_run.isFinished())
        m_run.cancel();
}

void WindowSession::finishRun(const Profile &profile, qint64 milliseconds,
                              const OptimizationResult &result) {
    const bool replaced = profile.mode == OperationMode::File &&
                          (profile.overwrite || !profile.outputFolder) &&
                          result.count(FileResult::Status::Optimized) > 0;
    m_lastRun = LastRun{profile, milliseconds, replaced};
    if (m_work == Work::Optimizing)
        end();
    emit runFinished(result);
}
