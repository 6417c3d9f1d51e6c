#include "engine/MarkupScanner.h"

namespace Markup {

namespace {

bool isSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Index just past `terminator` from `from` on, or the end of the text when it never comes.
qsizetype pastTerminator(QStringView text, qsizetype from, QStringView terminator) {
    const qsizetype found = text.indexOf(terminator, from);
    return found < 0 ? text.size() : found + terminator.size();
}

// Reads the start tag at `position` (the '<'); returns the index just past it.
qsizetype readStartTag(QStringView text, qsizetype position, StartTag &tag) {
    const qsizetype size = text.size();
    tag.start = position;
    qsizetype p = position + 1;
    const qsizetype nameStart = p;
    while (p < size && !isSpace(text[p]) && text[p] != u'>' && text[p] != u'/')
        ++p;
    tag.name = text.sliced(nameStart, p - nameStart);
    for (;;) {
        while (p < size && isSpace(text[p]))
            ++p;
        if (p >= size)
            return size;
        if (text[p] == u'>')
            return p + 1;
        if (text[p] == u'/') {
            tag.selfClosing = true;
            ++p;
            continue;
        }
        Attribute attribute;
        attribute.start = p;
        while (p < size && !isSpace(text[p]) && text[p] != u'=' && text[p] != u'>' &&
               text[p] != u'/')
            ++p;
        attribute.name = text.sliced(attribute.start, p - attribute.start);
        while (p < size && isSpace(text[p]))
            ++p;
        if (p < size && text[p] == u'=') {
            ++p;
            while (p < size && isSpace(text[p]))
                ++p;
            if (p < size && (text[p] == u'"' || text[p] == u'\'')) {
                attribute.quote = text[p];
                attribute.valueStart = ++p;
                while (p < size && text[p] != attribute.quote)
                    ++p;
                attribute.valueLength = p - attribute.valueStart;
                p = qMin(p + 1, size);
            } else {
                attribute.valueStart = p;
                while (p < size && !isSpace(text[p]) && text[p] != u'>')
                    ++p;
                attribute.valueLength = p - attribute.valueStart;
            }
        } else {
            attribute.valueStart = p;
        }
        attribute.end = p;
        if (attribute.name.isEmpty() && attribute.valueLength == 0)
            ++p; // a stray character: step over it rather than loop on it
        else
            tag.attributes.append(attribute);
    }
}

} // namespace

void scan(QStringView text, const TagHandler &onTag, const TextHandler &onText) {
    QList<QStringView> open;
    const qsizetype size = text.size();
    qsizetype p = 0;
    while (p < size) {
        const QStringView element = open.isEmpty() ? QStringView() : open.constLast();
        if (text[p] != u'<') {
            qsizetype next = text.indexOf(u'<', p);
            if (next < 0)
                next = size;
            if (onText)
                onText(p, next - p, element);
            p = next;
            continue;
        }
        const QStringView rest = text.sliced(p);
        if (rest.startsWith(u"<!--")) {
            p = pastTerminator(text, p + 4, u"-->");
        } else if (rest.startsWith(u"<![CDATA[")) {
            const qsizetype start = p + 9;
            qsizetype end = text.indexOf(u"]]>", start);
            if (end < 0)
                end = size;
            if (onText)
                onText(start, end - start, element);
            p = qMin(end + 3, size);
        } else if (rest.startsWith(u"<?")) {
            p = pastTerminator(text, p + 2, u"?>");
        } else if (rest.startsWith(u"<!")) {
            // A document type declaration, possibly with an internal subset in brackets.
            const qsizetype bracket = text.indexOf(u'[', p);
            const qsizetype close = text.indexOf(u'>', p);
            p = bracket >= 0 && (close < 0 || bracket < close)
                    ? pastTerminator(text, pastTerminator(text, bracket, u"]"), u">")
                    : pastTerminator(text, p, u">");
        } else if (rest.startsWith(u"</")) {
            if (!open.isEmpty())
                open.removeLast();
            p = pastTerminator(text, p, u">");
        } else {
            StartTag tag;
            p = readStartTag(text, p, tag);
            tag.end = p;
            if (onTag)
                onTag(tag);
            if (!tag.selfClosing)
                open.append(tag.name);
        }
    }
}

} // namespace Markup
