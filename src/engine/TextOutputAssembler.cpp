#include "engine/TextOutputAssembler.h"

#include "engine/IdPrefixer.h"
#include "engine/TextOutputFormats.h"
#include "model/Settings.h"

#include <QFileInfo>
#include <QStringMatcher>

#include <algorithm>

namespace {

const QString documentStart = QStringLiteral("<svg");
const QString documentEnd = QStringLiteral("</svg>");
// svgo writes documents back to back, so the end of one and the start of the next meet here.
constexpr QStringView boundary = u"</svg><svg";

QString indentUnitOf(const Profile &profile) {
    if (profile.indentationStyle == IndentationStyle::Tabs)
        return QStringLiteral("\t");
    return QString(profile.effectiveIndentationWidth(), QLatin1Char(' '));
}

} // namespace

QString TextOutputAssembler::configuredLineBreak() {
    return Keys::lineEnding().get() == u"lf" ? QStringLiteral("\n") : QStringLiteral("\r\n");
}

TextOutputAssembler::TextOutputAssembler(const Profile &profile)
    : TextOutputAssembler(profile, configuredLineBreak()) {}

TextOutputAssembler::TextOutputAssembler(const Profile &profile, const QString &lineBreak)
    : m_format(profile.outputFormat), m_prettyPrint(profile.prettyPrint),
      m_uniqueIds(profile.uniqueIds) {
    using TextOutputFormats::expandTemplate;
    const QString newLine = m_prettyPrint ? lineBreak : QString();
    const QString indentUnit = indentUnitOf(profile);
    // CSS, a sprite and JSON are documents of their own kind that a frame around them would
    // break, whatever a stored profile says.
    const bool wrapsOutput = m_format == OutputFormat::Wrapped && profile.wrapOutput &&
                             profile.wrapOutputPrefix && profile.wrapOutputSuffix;
    if (wrapsOutput) {
        // No single file stands behind the whole output, so its {name} stays empty.
        m_assembled = expandTemplate(*profile.wrapOutputPrefix, {}) + newLine;
        m_outputTail = newLine + expandTemplate(*profile.wrapOutputSuffix, {});
    }
    m_separator = (m_format == OutputFormat::JSON ? QStringLiteral(",") : QString()) + newLine;

    if (m_format != OutputFormat::Wrapped) {
        // One line each for the format's opening part, every item and its closing part, each
        // nested one level deeper than what encloses it.
        QString opening;
        QString closing;
        if (m_format == OutputFormat::Sprite) {
            opening = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\">");
            closing = QStringLiteral("</svg>");
        } else if (m_format == OutputFormat::JSON) {
            opening = QStringLiteral("{");
            closing = QStringLiteral("}");
        }
        const QString outer = m_prettyPrint && wrapsOutput ? indentUnit : QString();
        m_itemIndent = outer + (m_prettyPrint && !opening.isEmpty() ? indentUnit : QString());
        if (!opening.isEmpty()) {
            m_assembled += outer + opening + newLine;
            m_outputTail.prepend(newLine + outer + closing);
        }
        return;
    }

    const bool keepTogether = profile.keepItemAndWrapperTogether;
    const bool wrapsElements =
        profile.wrapIndividual && profile.wrapIndividualPrefix && profile.wrapIndividualSuffix;
    // The element frame is indented by the plain output flag, even where the output frame itself
    // is not complete enough to be written.
    const bool indentsFrame = profile.wrapOutput && profile.prettyPrint;
    const QString elementPrefix =
        (indentsFrame ? indentUnit : QString()) + profile.wrapIndividualPrefix.value_or(QString());
    const QString elementSuffix = (indentsFrame && !keepTogether ? indentUnit : QString()) +
                                  profile.wrapIndividualSuffix.value_or(QString());

    if (!m_prettyPrint) {
        // Without pretty printing whatever part of the element frame is there is used, whether or
        // not element wrapping is switched on.
        m_itemHead = elementPrefix;
        m_itemTail = elementSuffix;
    } else {
        if (wrapsElements) {
            m_itemHead = elementPrefix + (keepTogether ? QString() : lineBreak);
            m_itemTail = (keepTogether ? QString() : lineBreak) + elementSuffix;
        }
        if (!keepTogether) {
            if (wrapsOutput)
                m_itemHead += indentUnit;
            if (wrapsElements)
                m_itemHead += indentUnit;
        }
    }
    m_itemFrameNamed = m_itemHead.contains(u'{') || m_itemTail.contains(u'{');
}

void TextOutputAssembler::appendChunk(const QString &output) {
    static const QStringMatcher matcher(boundary);
    ensureRoom(output.size() + m_itemHead.size() + m_itemTail.size() + m_separator.size() +
               documentStart.size() + documentEnd.size());
    qsizetype from = 0;
    for (;;) {
        const qsizetype found = matcher.indexIn(output, from);
        const qsizetype end = found < 0 ? output.size() : found;
        const QStringView piece = QStringView(output).sliced(from, end - from);
        // The cut removed the end of one document and the start of the next; put them back.
        if (piece.startsWith(documentStart) && piece.endsWith(documentEnd)) {
            appendDocument(QString(), piece);
        } else {
            // One buffer for every repaired piece: no allocation per document.
            m_repaired.resize(0);
            if (!piece.startsWith(documentStart))
                m_repaired += documentStart;
            m_repaired += piece;
            if (!piece.endsWith(documentEnd))
                m_repaired += documentEnd;
            appendDocument(QString(), m_repaired);
        }
        if (found < 0)
            break;
        from = found + boundary.size();
    }
}

void TextOutputAssembler::appendDocument(const QString &fileName, QStringView markup) {
    using namespace TextOutputFormats;
    if (m_finishedTail > 0) {
        m_assembled.chop(m_finishedTail);
        m_finishedTail = 0;
    }
    const QString stem = fileName.isEmpty() ? QString() : QFileInfo(fileName).completeBaseName();
    // Classes and symbols always need a name, ids only where there are ids. Each data URI is a
    // document of its own whose ids cannot meet another's, so CSS keeps them as they are.
    const bool named = m_format == OutputFormat::CSS || m_format == OutputFormat::Sprite;
    const bool prefixesIds =
        m_uniqueIds && m_format != OutputFormat::CSS && IdPrefixer::mayNeedPrefixing(markup);
    const QString name =
        named || prefixesIds ? m_names.claim(IdPrefixer::validName(stem)) : QString();
    QString prefixed;
    if (prefixesIds) {
        // A symbol's root is the <symbol>: its style cannot be scoped to the document's svg.
        prefixed = IdPrefixer::prefixIds(markup, name + IdPrefixer::separator.toString(),
                                         m_format != OutputFormat::Sprite);
        markup = prefixed;
    }

    ensureRoom(m_separator.size() + m_itemHead.size() + markup.size() + m_itemTail.size());
    if (m_items++ > 0)
        m_assembled += m_separator;
    switch (m_format) {
    case OutputFormat::Wrapped:
        if (m_itemFrameNamed) {
            m_assembled += expandTemplate(m_itemHead, stem);
            m_assembled += markup;
            m_assembled += expandTemplate(m_itemTail, stem);
        } else {
            m_assembled += m_itemHead;
            m_assembled += markup;
            m_assembled += m_itemTail;
        }
        break;
    case OutputFormat::CSS:
        m_assembled += m_itemIndent + cssRule(name, markup);
        break;
    case OutputFormat::Sprite:
        m_assembled += m_itemIndent + spriteSymbol(name, markup);
        break;
    case OutputFormat::JSON: {
        // Two files of the same name from different folders still get a key each.
        const QString suffix = fileName.mid(stem.size());
        const QString key = m_keys.claim(stem, suffix);
        m_assembled += m_itemIndent + jsonString(key) +
                       (m_prettyPrint ? QStringLiteral(": ") : QStringLiteral(":")) +
                       jsonString(markup);
        break;
    }
    }
}

void TextOutputAssembler::ensureRoom(qsizetype additional) {
    // Reserving exactly what one document needs would copy the whole text once per document;
    // growing at least by doubling keeps appending linear over many documents.
    const qsizetype needed = m_assembled.size() + additional;
    if (needed > m_assembled.capacity())
        m_assembled.reserve(qMax(needed, 2 * m_assembled.capacity()));
}

bool TextOutputAssembler::isInText(FileResult::Status status) {
    return status == FileResult::Status::Optimized || status == FileResult::Status::LooksDifferent;
}

QString TextOutputAssembler::assemble(const Profile &profile, const OptimizationResult &result) {
    // The documents are handed over in list order, whichever process produced them in the end.
    TextOutputAssembler assembler(profile);
    const qsizetype count =
        std::min({result.files.size(), result.outcomes.size(), result.documents.size()});
    for (qsizetype index = 0; index < count; ++index)
        if (isInText(result.outcomes.at(index).status))
            assembler.appendDocument(result.files.at(index).fileName,
                                     QString::fromUtf8(result.documents.at(index)));
    return assembler.finish();
}

QString TextOutputAssembler::finish() const {
    if (m_finishedTail == 0 && !m_outputTail.isEmpty()) {
        m_assembled += m_outputTail;
        m_finishedTail = m_outputTail.size();
    }
    return m_assembled;
}
