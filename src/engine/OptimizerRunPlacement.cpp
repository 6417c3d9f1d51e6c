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
    const bool placed = !m_textMode && !m_options.dryRun && status == FileResult::Status::Optimized;
    if (placed && !slot.replacesInput &&
        // A second run into the same folder finds most outputs there already: left as they
        // are, which also spares the disk a flush per file.
        (m_alreadyThere.remove(index) || FileReplacement::holds(slot.destination, output))) {
        QFile::remove(slot.temporary);
    } else if (placed) {
        // Put in place with the others that are ready by the next report (see placePending);
        // counted as finished once it is there.
        m_toPlace.append({index, written});
        return;
    }
    ++m_finished;
    m_settled.append(index); // reported with the outcome it has by then
    if (!m_textMode && !m_options.dryRun && status != FileResult::Status::Optimized) {
        QFile::remove(slot.temporary); // held back: the input stays as it is
        leaveAsItWas(index);
    }
}

void OptimizerRun::placePending() {
    if (m_toPlace.isEmpty())
        return;
    const QList<Placement> ready = std::exchange(m_toPlace, {});
    QStringList temporaries, targets;
    for (const Placement &placement : ready) {
        temporaries.append(m_slots.at(placement.index).temporary);
        targets.append(m_slots.at(placement.index).destination);
    }
    const QStringList flushed = FileReplacement::flush(temporaries, targets);
    for (qsizetype at = 0; at < ready.size(); ++at) {
        const int index = ready.at(at).index;
        const SvgoOutputs::Slot &slot = m_slots.at(index);
        QString error = flushed.at(at);
        if (error.isEmpty())
            error = slot.replacesInput
                        ? replaceInput(index, ready.at(at).written)
                        : FileReplacement::place(slot.temporary, slot.destination, {}, true);
        if (!error.isEmpty()) {
            QFile::remove(slot.temporary);
            failFile(index, error);
            continue;
        }
        ++m_finished;
        m_settled.append(index);
    }
}

QString OptimizerRun::replaceInput(int index, const OriginalsBackup::Stamp &written) {
    // An input is replaced only once its original is kept and recorded on disk, and only while
    // it is still the file that was read: another program may have written it meanwhile.
    const SvgoOutputs::Slot &slot = m_slots.at(index);
    const QString target = slot.destination;
    const FileReplacement::Identity &read = m_read.at(index);
    const std::lock_guard turn(replacing);
    QString error;
    if (!m_stopped.isEmpty())
        error = tr("Left as it was: %1").arg(m_stopped);
    else if (read.isValid() && !(FileReplacement::Identity::of(target) == read))
        error = FileReplacement::changedMessage();
    else if (error = m_backup->keep(m_paths.at(index), target); error.isEmpty())
        error = m_backup->record(target, written);
    if (error.isEmpty()) {
        error = FileReplacement::place(slot.temporary, target, read, true);
        if (!error.isEmpty())
            m_backup->drop(target);
    } else if (m_stopped.isEmpty() && error != FileReplacement::changedMessage()) {
        // Without a record of the originals the run must not replace another file.
        m_stopped = m_backup->diskFull() ? tr("The disk is full.") : error;
    }
    return error;
}

void OptimizerRun::leaveAsItWas(int index) {
    // An output folder receives every input: one svgo could not improve arrives as it is.
    if (!m_intoFolder)
        return;
    const SvgoOutputs::Slot &slot = m_slots.at(index);
    QFile input(m_paths.at(index));
    std::optional<QByteArray> contents;
    if (input.open(QIODevice::ReadOnly))
        contents = InputGuard::read(input);
    const QString error =
        !contents ? tr("Cannot copy the file into the output folder: %1").arg(input.errorString())
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
