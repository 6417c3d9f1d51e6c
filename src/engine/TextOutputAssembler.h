#pragma once

#include "engine/IdPrefixer.h"
#include "engine/OptimizationResult.h"
#include "model/Profile.h"

#include <QString>

// Turns the optimized documents of a text-mode run into the one text shown to the user, in the
// profile's output format: documents one after another in their wrappers, CSS rules with data
// URIs, one SVG sprite of symbols, or a JSON object from file name to markup. Optionally each
// document's ids get a prefix of its own, and the parts are laid out on lines with indentation.
//
// One assembler serves one run. Its cost is linear in the size of the text: every document is
// scanned once and only appended to the text assembled so far.
class TextOutputAssembler {
public:
    // Line breaks as the "lineEnding" setting says.
    explicit TextOutputAssembler(const Profile &profile);
    TextOutputAssembler(const Profile &profile, const QString &lineBreak);

    // The line break the "lineEnding" setting asks for.
    static QString configuredLineBreak();

    // The text of a run: the document of every file that went into it, in list order.
    static QString assemble(const Profile &profile, const OptimizationResult &result);
    // Whether a file with this outcome has a document in the text.
    static bool isInText(FileResult::Status status);

    // Adds one optimized file's markup; `fileName` names the CSS class, the symbol, the JSON key
    // and the ids' prefix, and fills the wrappers' {name}.
    void appendDocument(const QString &fileName, QStringView markup);

    // Adds the documents of one svgo process's whole standard output, written back to back, in
    // their order. They have no file names.
    void appendChunk(const QString &output);

    // The final text, with the whole-output framing applied. It shares its storage with the
    // assembler, so a text of hundreds of megabytes is not copied once more at the end.
    QString finish() const;

private:
    void ensureRoom(qsizetype additional);

    OutputFormat m_format;
    bool m_prettyPrint;
    bool m_uniqueIds;
    // Everything that goes before and after one wrapped document, worked out once for the run;
    // {name} is filled per document when they mention it.
    QString m_itemHead;
    QString m_itemTail;
    bool m_itemFrameNamed = false;
    // The other formats' indentation of one item.
    QString m_itemIndent;
    QString m_separator; // between two items
    // The text ends with the format's closing part and the output suffix; finish() appends it in
    // place and takes it off again if more documents follow.
    QString m_outputTail;
    mutable qsizetype m_finishedTail = 0;
    qsizetype m_items = 0;
    IdPrefixer::UniqueNames m_names; // the ids' prefixes, classes and symbols
    IdPrefixer::UniqueNames m_keys;  // the JSON keys
    mutable QString m_assembled;
    QString m_repaired; // appendChunk's document under repair
};
