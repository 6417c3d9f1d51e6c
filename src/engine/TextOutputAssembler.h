#pragma once

#include "model/Profile.h"

#include <QString>
#include <optional>

// Turns the standard output of text-mode svgo runs into the one text shown to the user: svgo
// writes the optimized documents back to back, so they are cut apart, optionally framed per
// document and as a whole, and optionally laid out on lines with indentation.
//
// One assembler serves one run. Its cost is linear in the size of the text: every chunk is scanned
// once and only appended to the text assembled so far.
class TextOutputAssembler {
public:
    explicit TextOutputAssembler(const Profile &profile);

    // Adds the documents of one svgo process's whole output, in the order they were written.
    void appendChunk(const QString &output);

    // The final text, with the whole-output framing applied. It shares its storage with the
    // assembler, so a text of hundreds of megabytes is not copied once more at the end.
    QString finish() const;

private:
    void appendDocument(QStringView piece);
    void ensureRoom(qsizetype additional);

    bool m_prettyPrint;
    // With the output framing in force, the text starts with its prefix from the beginning
    // and finish() appends the suffix in place.
    QString m_outputTail;
    qsizetype m_bodyStart = 0;
    // Everything that goes before and after one document, worked out once for the whole run.
    QString m_itemHead;
    QString m_itemTail;
    // Length of the output tail finish() has appended; taken off again if more chunks follow.
    mutable qsizetype m_finishedTail = 0;
    mutable QString m_assembled;
};
