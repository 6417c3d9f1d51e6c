#include "engine/OutputReview.h"

#include "engine/VisualCheck.h"

FileResult OutputReview::review(const Profile &profile, const QByteArray &original,
                                const QByteArray &output, const VisualCheck *check) {
    const bool fileMode = profile.mode == OperationMode::File;
    FileResult result;
    result.status = FileResult::Status::Optimized;
    result.sizeBefore = original.size();
    result.sizeAfter = output.size();
    const auto looksDifferent = [&](const QString &reason) {
        result.status = FileResult::Status::LooksDifferent;
        result.message = reason;
        result.differentOutput = output;
        return result;
    };

    if (const QString change = VisualCheck::structuralChange(original, output); !change.isEmpty())
        return looksDifferent(change);
    if (fileMode && profile.keepOriginalWhenNotSmaller && output.size() >= original.size()) {
        result.status = FileResult::Status::AlreadyOptimal;
        result.message = tr("svgo could not make the file smaller; it stays as it was.");
        return result;
    }
    if (check) {
        const VisualCheck::Verdict verdict = check->compare(output);
        if (verdict.couldNotDraw) {
            // Unjudged, so not written: a file that breaks the renderer may just as well have
            // been broken by svgo.
            result.status = FileResult::Status::Failed;
            result.message = verdict.reason;
            return result;
        }
        if (verdict.looksDifferent) {
            result.changedPixels = verdict.changedPixels;
            result.comparedAt = verdict.comparedAt;
            return looksDifferent(verdict.reason);
        }
    }
    return result;
}
