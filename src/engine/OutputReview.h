#pragma once

#include "model/FileResult.h"
#include "model/Profile.h"

#include <QByteArray>
#include <QCoreApplication>

class VisualCheck;

// Decides what becomes of svgo's output for one file, before anything is written:
// - a lost structure (empty output, dropped symbols) or a changed rendering: "Looks different";
//   the result carries the output, which file mode holds back instead of writing;
// - file mode, the output not smaller than the input and the profile keeping such originals:
//   "Already optimal", the input stays;
// - the original or the output could not be drawn at all (the renderer crashed or ran out of
//   time): "Failed", the input stays;
// - otherwise "Optimized": file mode writes the output, text mode uses it.
// Text mode puts the original in the text for a file that looks different, and svgo's output for
// the others.
class OutputReview {
    Q_DECLARE_TR_FUNCTIONS(OutputReview)
public:
    // `original`: the file as read; `check`: made from what svgo was given, null when the
    // profile does not check renderings.
    static FileResult review(const Profile &profile, const QByteArray &original,
                             const QByteArray &output, const VisualCheck *check);
};
