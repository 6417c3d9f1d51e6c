#include "ui/main/WindowSession.h"

#include "engine/OriginalsBackup.h"

#include <utility>

WindowSession::WindowSession(QObject *parent) : QObject(parent) {
    m_passOn.setSingleShot(true);
    m_passOn.setInterval(250);
    connect(&m_passOn, &QTimer::timeout, this,
            [this] { emit fileResultsArrived(std::exchange(m_arrived, {})); });
}

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

void WindowSession::takeFileResults(const QList<std::pair<QString, FileResult>> &results) {
    // Only while the run they belong to is going: its end brings every outcome anyway.
    if (m_work != Work::Optimizing)
        return;
    m_arrived.append(results);
    if (!m_passOn.isActive())
        m_passOn.start();
}

void WindowSession::finishRun(const Profile &profile, qint64 milliseconds,
                              const OptimizationResult &result) {
    m_passOn.stop();
    m_arrived.clear();
    const bool replaced = profile.mode == OperationMode::File &&
                          (profile.overwrite || !profile.outputFolder) &&
                          result.count(FileResult::Status::Optimized) > 0;
    m_lastRun = LastRun{profile, milliseconds, replaced, {}};
    if (profile.mode == OperationMode::Text)
        keepTextRun(result);
    if (m_work == Work::Optimizing)
        end();
    emit runFinished(result);
}

void WindowSession::keepTextRun(const OptimizationResult &run) {
    if (!m_lastRun)
        return;
    m_lastRun->textRun = run;
    m_lastRun->textRun.text.clear(); // the output windows have it; it is put together anew
}

std::pair<QString, QString> WindowSession::shownFiles(const QString &id,
                                                      const FileResult *result) const {
    // The optimized version exists as a file only in file mode: over the input, whose original
    // is then the kept copy, or in the output folder.
    if (!result || result->status != FileResult::Status::Optimized || !m_lastRun ||
        m_lastRun->profile.mode != OperationMode::File)
        return {id, QString()};
    if (!m_lastRun->profile.overwrite && m_lastRun->profile.outputFolder)
        return {id, result->destination};
    const QList<OriginalsBackup::Original> kept = OriginalsBackup::known({id});
    if (kept.isEmpty())
        return {id, QString()};
    return {kept.first().copy, id};
}
