#include "engine/TextOutputAssembler.h"

#include <QStringMatcher>

namespace {

// Every line break the application writes into the text, never a lone line feed.
const QString lineBreak = QStringLiteral("\r\n");
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

TextOutputAssembler::TextOutputAssembler(const Profile &profile)
    : m_prettyPrint(profile.prettyPrint) {
    const bool wrapsOutput =
        profile.wrapOutput && profile.wrapOutputPrefix && profile.wrapOutputSuffix;
    if (wrapsOutput) {
        const QString separator = m_prettyPrint ? lineBreak : QString();
        m_assembled = *profile.wrapOutputPrefix + separator;
        m_bodyStart = m_assembled.size();
        m_outputTail = separator + *profile.wrapOutputSuffix;
    }
    const QString indentUnit = indentUnitOf(profile);
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
        return;
    }
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

void TextOutputAssembler::appendChunk(const QString &output) {
    static const QStringMatcher matcher(boundary);
    if (m_finishedTail > 0) {
        m_assembled.chop(m_finishedTail);
        m_finishedTail = 0;
    }
    ensureRoom(output.size() + m_itemHead.size() + m_itemTail.size() + lineBreak.size() +
               documentStart.size() + documentEnd.size());
    qsizetype from = 0;
    for (;;) {
        const qsizetype found = matcher.indexIn(output, from);
        const qsizetype end = found < 0 ? output.size() : found;
        appendDocument(QStringView(output).sliced(from, end - from));
        if (found < 0)
            break;
        from = found + boundary.size();
    }
}

void TextOutputAssembler::appendDocument(QStringView piece) {
    // Every item is at least "<svg</svg>" long, so any text past the output prefix means an item
    // came before, in this chunk or an earlier one: chunking never changes the separators.
    if (m_prettyPrint && m_assembled.size() > m_bodyStart)
        m_assembled += lineBreak;
    m_assembled += m_itemHead;
    // The cut removed the end of one document and the start of the next; put them back.
    if (!piece.startsWith(documentStart))
        m_assembled += documentStart;
    m_assembled += piece;
    if (!piece.endsWith(documentEnd))
        m_assembled += documentEnd;
    m_assembled += m_itemTail;
}

void TextOutputAssembler::ensureRoom(qsizetype additional) {
    // Reserving exactly what one chunk needs would copy the whole text once per chunk; growing
    // at least by doubling keeps appending linear over many chunks.
    const qsizetype needed = m_assembled.size() + additional;
    if (needed > m_assembled.capacity())
        m_assembled.reserve(qMax(needed, 2 * m_assembled.capacity()));
}

QString TextOutputAssembler::finish() const {
    if (m_finishedTail == 0 && !m_outputTail.isEmpty()) {
        m_assembled += m_outputTail;
        m_finishedTail = m_outputTail.size();
    }
    return m_assembled;
}
