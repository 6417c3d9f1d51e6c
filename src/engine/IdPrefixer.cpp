#include "engine/IdPrefixer.h"

#include "engine/MarkupScanner.h"

#include <QRegularExpression>

namespace IdPrefixer {

namespace {

struct Edit {
    qsizetype start;
    qsizetype length;
    QString text;
};

bool isIdListAttribute(QStringView name) {
    static const QStringList names{
        QStringLiteral("aria-labelledby"),   QStringLiteral("aria-describedby"),
        QStringLiteral("aria-controls"),     QStringLiteral("aria-owns"),
        QStringLiteral("aria-flowto"),       QStringLiteral("aria-details"),
        QStringLiteral("aria-errormessage"), QStringLiteral("aria-activedescendant")};
    return names.contains(name);
}

class Rewriter {
public:
    Rewriter(const QSet<QString> &ids, const QString &prefix) : m_ids(ids), m_prefix(prefix) {}

    QString attribute(QStringView name, QStringView value) const {
        if (name == u"id")
            return m_prefix + value.toString();
        QString result = urls(value);
        if (name == u"href" || name.endsWith(u":href")) {
            if (result.startsWith(u'#') && m_ids.contains(result.mid(1)))
                result.insert(1, m_prefix);
        } else if (isIdListAttribute(name)) {
            static const QRegularExpression word(QStringLiteral("\\S+"));
            result = replaced(result, word, 0);
        } else if (name == u"begin" || name == u"end") {
            // "a.end+1s; b.click": an element's id comes before the first dot of each value.
            static const QRegularExpression reference(QStringLiteral("(?:^|;)\\s*([^\\s;.]+)\\."));
            result = replaced(result, reference, 1);
        }
        return result;
    }

    // A style sheet: url(#…) anywhere, "#…" only in selectors, never in colours like #fff.
    QString styleSheet(QStringView text) const {
        const QString css = urls(text);
        QString result;
        qsizetype copied = 0;
        qsizetype segment = 0;
        for (qsizetype i = 0; i < css.size(); ++i) {
            const QChar c = css.at(i);
            if (c == u'"' || c == u'\'') {
                const qsizetype end = css.indexOf(c, i + 1);
                i = end < 0 ? css.size() : end;
            } else if (c == u'/' && css.mid(i, 2) == u"/*") {
                const qsizetype end = css.indexOf(u"*/", i + 2);
                i = end < 0 ? css.size() : end + 1;
            } else if (c == u'{' || c == u'}' || c == u';') {
                const QStringView prelude = QStringView(css).sliced(segment, i - segment);
                if (c == u'{' && !prelude.trimmed().startsWith(u'@')) {
                    static const QRegularExpression selectorId(QStringLiteral(
                        "#(-?[_a-zA-Z\\x{80}-\\x{10FFFF}][\\w\\-\\x{80}-\\x{10FFFF}]*)"));
                    result += QStringView(css).sliced(copied, segment - copied);
                    result += replaced(prelude.toString(), selectorId, 1);
                    copied = i;
                }
                segment = i + 1;
            }
        }
        result += QStringView(css).sliced(copied);
        return result;
    }

private:
    QString urls(QStringView text) const {
        if (!text.contains(u"url("))
            return text.toString();
        static const QRegularExpression url(
            QStringLiteral("url\\(\\s*(?:[\"']|&quot;|&apos;)?#([^\"'()\\s&]+)"));
        return replaced(text.toString(), url, 1);
    }

    // `text` with the prefix put in front of every captured id the document defines.
    QString replaced(const QString &text, const QRegularExpression &pattern, int group) const {
        QString result;
        qsizetype copied = 0;
        bool changed = false;
        for (auto it = pattern.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            if (!m_ids.contains(match.captured(group)))
                continue;
            result += QStringView(text).sliced(copied, match.capturedStart(group) - copied);
            result += m_prefix;
            copied = match.capturedStart(group);
            changed = true;
        }
        if (!changed)
            return text;
        result += QStringView(text).sliced(copied);
        return result;
    }

    const QSet<QString> &m_ids;
    const QString &m_prefix;
};

} // namespace

QString validName(QStringView text) {
    QString name;
    bool afterSeparator = true; // leading separators are dropped
    for (QChar c : text) {
        if (c.isLetterOrNumber()) {
            name += c;
            afterSeparator = false;
        } else if (!afterSeparator) {
            name += c == u'_' ? u'_' : u'-';
            afterSeparator = true;
        }
    }
    if (afterSeparator)
        name.chop(1);
    if (name.isEmpty())
        return QStringLiteral("icon");
    if (!name.front().isLetter())
        name.prepend(QStringLiteral("icon-"));
    return name;
}

QString UniqueNames::claim(const QString &base, const QString &suffix) {
    QString candidate = base + suffix;
    if (m_taken.contains(candidate)) {
        int &last = m_next[candidate]; // the last number tried after this name
        do {
            last = qMax(last + 1, 2);
            candidate = base + u'-' + QString::number(last) + suffix;
        } while (m_taken.contains(candidate));
    }
    m_taken.insert(candidate);
    return candidate;
}

bool mayDefineIds(QStringView markup) {
    // Looking for the few "=" goes through the text much faster than matching "id=" everywhere.
    for (qsizetype at = markup.indexOf(u'='); at >= 0; at = markup.indexOf(u'=', at + 1))
        if (at >= 2 && markup[at - 1] == u'd' && markup[at - 2] == u'i')
            return true;
    return false;
}

QString prefixIds(QStringView markup, const QString &prefix) {
    // Most icons define no id at all; they need no walk.
    if (!mayDefineIds(markup))
        return markup.toString();
    QSet<QString> ids;
    Markup::scan(markup, [&](const Markup::StartTag &tag) {
        for (const Markup::Attribute &attribute : tag.attributes)
            if (attribute.name == u"id" && attribute.valueLength > 0)
                ids.insert(markup.sliced(attribute.valueStart, attribute.valueLength).toString());
    });
    if (ids.isEmpty())
        return markup.toString();

    const Rewriter rewriter(ids, prefix);
    QList<Edit> edits;
    const auto onTag = [&](const Markup::StartTag &tag) {
        for (const Markup::Attribute &attribute : tag.attributes) {
            const QStringView value = markup.sliced(attribute.valueStart, attribute.valueLength);
            if (attribute.name == u"id" && value.isEmpty())
                continue;
            QString rewritten = rewriter.attribute(attribute.name, value);
            if (rewritten != value)
                edits.append({attribute.valueStart, attribute.valueLength, std::move(rewritten)});
        }
    };
    const auto onText = [&](qsizetype start, qsizetype length, QStringView element) {
        if (element != u"style")
            return;
        QString rewritten = rewriter.styleSheet(markup.sliced(start, length));
        if (rewritten != markup.sliced(start, length))
            edits.append({start, length, std::move(rewritten)});
    };
    Markup::scan(markup, onTag, onText);

    QString result;
    result.reserve(markup.size() + edits.size() * prefix.size());
    qsizetype copied = 0;
    for (const Edit &edit : std::as_const(edits)) {
        result += markup.sliced(copied, edit.start - copied);
        result += edit.text;
        copied = edit.start + edit.length;
    }
    result += markup.sliced(copied);
    return result;
}

} // namespace IdPrefixer
