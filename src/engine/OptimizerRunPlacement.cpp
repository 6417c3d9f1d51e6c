// What becomes of a file once its output is reviewed: its outcome, and in file mode the output
// put in place (over the input, or into the output folder) or the input left as it was.

#include "engine/FileReplacement.h"
#include "engine/InputGuard.h"
#include "engine/OptimizerRun.h"

#include <QFile>

#include <mutex>

namespace {

// Runs of this program that replace the same file at once (two windows, or a run over the
// files another is still writing) take turns from the look at the file to its replacement:
// otherwise both could find it unchanged, and the record of the one that renamed first would
// be taken for the last.
std::mutex replacing;

} // namespace

void OptimizerRun::placeReviewed(int index, const QByteArray &output,
                                 const OriginalsBackup::Stamp &written,
                                 const std::optional<FileResult> &review) {
    const SvgoOutputs::Slot &slot = m_slots.at(index);
    const FileResult::Status status = reviewOutput(index, output, review);
    if (m_textMode) {
        // A document svgo damaged goes into the text as it was (its ids still made unique); the
        // row offers svgo's output anyway.
        m_documents[index] =
            status == FileResult::Status::LooksDifferent && !m_originals.at(index).isEmpty()
                ? std::move(m_originals[index])
                : output;
    }
    // Not needed again: a run over many files holds only the inputs still in flight.
    m_originals[index] = QByteArray();
    const bool writesFiles = !m_textMode && !m_options.dryRun;
    if (writesFiles && status == FileResult::Status::Optimized) {
        // A second run into the same folder finds most outputs there already: left as they
        // are, which also spares the disk a flush per file.
        if (slot.replacesInput ||
            !(m_alreadyThere.remove(index) || FileReplacement::holds(slot.destination, output))) {
            // Put in place together with the others reviewed meanwhile (see placePending);
            // counted as finished once it is there.
            m_toPlace.append({index, written});
            if (m_toPlace.size() >= placeAtOnce)
                placePending();
            else if (!m_placeTimer.isActive())
                m_placeTimer.start();
            return;
        }
        QFile::remove(slot.temporary);
    }
    ++m_finished;
    m_settled.append(index); // reported with the outcome it has by then
    if (writesFiles && status != FileResult::Status::Optimized) {
        QFile::remove(slot.temporary); // held back: the input stays as it is
        leaveAsItWas(index);
    }
}

void OptimizerRun::placePending() {
    m_placeTimer.stop();
    if (m_toPlace.isEmpty())
        return;
    const QList<Placement> ready = std::exchange(m_toPlace, {});
    QStringList temporaries, targets;
    for (const Placement &placement : ready) {
        temporaries.append(m_slots.at(placement.index).temporary);
        targets.append(m_slots.at(placement.index).destination);
    }
    QStringList errors = FileReplacement::flush(temporaries, targets);
    QList<qsizetype> inputs; // of `ready`: the flushed outputs that replace their inputs
    for (qsizetype at = 0; at < ready.size(); ++at) {
        if (!errors.at(at).isEmpty())
            continue;
        if (m_slots.at(ready.at(at).index).replacesInput)
            inputs.append(at);
        else
            errors[at] = FileReplacement::place(temporaries.at(at), targets.at(at), {}, true);
    }
    if (!inputs.isEmpty())
        replaceInputs(ready, inputs, errors);
    for (qsizetype at = 0; at < ready.size(); ++at) {
        const int index = ready.at(at).index;
        if (!errors.at(at).isEmpty()) {
            QFile::remove(temporaries.at(at));
            failFile(index, errors.at(at));
            continue;
        }
        ++m_finished;
        m_settled.append(index);
    }
}

void OptimizerRun::replaceInputs(const QList<Placement> &ready, const QList<qsizetype> &inputs,
                                 QStringList &errors) {
    // An input is replaced only once its original is kept and recorded on disk, and only while
    // it is still the file that was read: another program may have written it meanwhile.
    const std::lock_guard turn(replacing);
    QList<std::pair<QString, OriginalsBackup::Stamp>> kept;
    QList<qsizetype> keptAt; // of `ready`, one per kept original
    for (const qsizetype at : inputs) {
        const int index = ready.at(at).index;
        const QString &target = m_slots.at(index).destination;
        const FileReplacement::Identity &read = m_read.at(index);
        QString &error = errors[at];
        if (!m_stopped.isEmpty())
            error = tr("Left as it was: %1").arg(m_stopped);
        else if (read.isValid() && !(FileReplacement::Identity::of(target) == read))
            error = FileReplacement::changedMessage();
        else if (error = m_backup->keep(m_paths.at(index), target); error.isEmpty()) {
            kept.append({target, ready.at(at).written});
            keptAt.append(at);
        } else {
            stopReplacing(error);
        }
    }
    // One record, on disk before any of them is replaced.
    if (const QString error = kept.isEmpty() ? QString() : m_backup->record(kept);
        !error.isEmpty()) {
        for (const qsizetype at : std::as_const(keptAt))
            errors[at] = error;
        stopReplacing(error);
        return;
    }
    for (const qsizetype at : std::as_const(keptAt)) {
        const int index = ready.at(at).index;
        const QString &target = m_slots.at(index).destination;
        errors[at] =
            FileReplacement::place(m_slots.at(index).temporary, target, m_read.at(index), true);
        if (!errors.at(at).isEmpty())
            m_backup->drop(target);
    }
}

void OptimizerRun::stopReplacing(const QString &error) {
    // Without a record of the originals the run must not replace another file.
    if (m_stopped.isEmpty())
        m_stopped = m_backup->diskFull() ? tr("The disk is full.") : error;
}

void OptimizerRun::leaveAsItWas(int index) {
    // An output folder receives every input: one svgo could not improve arrives as it is.
    if (!m_intoFolder)
        return;
    const SvgoOutputs::Slot &slot = m_slots.at(index);
    QString failure;
    const std::optional<QByteArray> contents = InputGuard::readFile(m_paths.at(index), &failure);
    const QString error = !contents
                              ? tr("Cannot copy the file into the output folder: %1").arg(failure)
                          : FileReplacement::holds(slot.destination, *contents)
                              ? QString()
                              : FileReplacement::write(slot.destination, *contents);
    if (!error.isEmpty()) {
        --m_finished;
        failFile(index, error);
    }
}

QString OptimizerRun::writeTemporary(int index, const QByteArray &bytes) {
    QFile file(m_slots.at(index).temporary);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        file.write(bytes) == bytes.size() && file.flush())
        return {};
    const QString error = file.errorString();
    file.close();
    file.remove();
    return error;
}
