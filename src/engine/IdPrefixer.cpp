#include "engine/IdPrefixer.h"

#include "engine/MarkupScanner.h"
#include "engine/StyleSheets.h"

#include <QRegularExpression>

#include <algorithm>
#include <functional>
#include <optional>

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

// The text with XML's character references decoded: id="a&amp;b" is the id "a&b".
QString decoded(QStringView text) {
    if (!text.contains(u'&'))
        return text.toString();
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype end = text[i] == u'&' ? text.indexOf(u';', i + 1) : -1;
        if (end > i && end - i <= 10) {
            const QStringView entity = text.sliced(i + 1, end - i - 1);
            static const QHash<QString, char32_t> named{{QStringLiteral("amp"), U'&'},
                                                        {QStringLiteral("lt"), U'<'},
                                                        {QStringLiteral("gt"), U'>'},
                                                        {QStringLiteral("quot"), U'"'},
                                                        {QStringLiteral("apos"), U'\''}};
            bool ok = false;
            char32_t code = named.value(entity.toString());
            ok = code != 0;
            if (!ok && entity.startsWith(u"#x", Qt::CaseInsensitive))
                code = entity.sliced(2).toUInt(&ok, 16);
            else if (!ok && entity.startsWith(u'#'))
                code = entity.sliced(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF) {
                result += QString::fromUcs4(&code, 1);
                i = end;
                continue;
            }
        }
        result += text[i];
    }
    return result;
}

class Rewriter {
public:
    Rewriter(const QSet<QString> &ids, const QSet<QString> &classes, const QString &prefix,
             const QString &rootId)
        : m_ids(ids), m_classes(classes), m_prefix(prefix), m_rootId(rootId) {}

    QString attribute(QStringView name, QStringView value) const {
        if (name == u"id")
            return m_prefix + value.toString();
        if (name == u"class")
            return classList(value);
        QString result = urls(value);
        if (name == u"href" || name.endsWith(u":href")) {
            // A URL's blanks around it do not count: " #a" is a link to a.
            qsizetype at = 0;
            while (at < result.size() && result[at].isSpace())
                ++at;
            if (at < result.size() && result[at] == u'#' &&
                m_ids.contains(decoded(QStringView(result).sliced(at + 1)).trimmed()))
                result.insert(at + 1, m_prefix);
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

    // A style sheet: url(#…) anywhere; ids, classes and the scope only in rules' selectors,
    // never in colours like #fff or in keyframes.
    QString styleSheet(QStringView text) const {
        const QString css = urls(text);
        QString result;
        qsizetype copied = 0;
        StyleSheets::forEachRule(css, [&](qsizetype start, qsizetype length) {
            result += QStringView(css).sliced(copied, start - copied);
            result += selectors(QStringView(css).sliced(start, length));
            copied = start + length;
        });
        result += QStringView(css).sliced(copied);
        return result;
    }

private:
    QString classList(QStringView value) const {
        QString result;
        qsizetype at = 0;
        while (at < value.size()) {
            qsizetype end = at;
            while (end < value.size() && !value[end].isSpace())
                ++end;
            if (end > at && m_classes.contains(decoded(value.sliced(at, end - at))))
                result += m_prefix;
            while (end < value.size() && value[end].isSpace())
                ++end;
            result += value.sliced(at, end - at);
            at = end;
        }
        return result;
    }

    QString selectors(QStringView listWithComments) const {
        // A comment between the selectors and their block would hide them from the scope.
        static const QRegularExpression comment(QStringLiteral("/\\*.*?(\\*/|$)"),
                                                QRegularExpression::DotMatchesEverythingOption);
        QString list = listWithComments.toString();
        list.replace(comment, QStringLiteral(" "));
        QString named;
        qsizetype copied = 0;
        for (const StyleSheets::SelectorName &name : StyleSheets::selectorNames(list)) {
            const QString value = decoded(QStringView(list).sliced(name.start, name.length));
            const bool prefixed = name.kind == StyleSheets::SelectorName::Class
                                      ? m_classes.contains(value)
                                  : name.exact ? m_ids.contains(value)
                                               : true;
            if (!prefixed)
                continue;
            named += QStringView(list).sliced(copied, name.start - copied);
            named += m_prefix;
            copied = name.start;
        }
        named += QStringView(list).sliced(copied);
        return m_rootId.isEmpty() ? named : scoped(named);
    }

    // Every selector of the list made to start at the document's root.
    QString scoped(const QString &list) const {
        QStringList parts;
        qsizetype from = 0;
        int depth = 0;
        for (qsizetype i = 0; i <= list.size(); ++i) {
            const QChar c = i < list.size() ? list[i] : QChar(u',');
            if (c == u'"' || c == u'\'') {
                const qsizetype end = list.indexOf(c, i + 1);
                i = end < 0 ? list.size() - 1 : end;
            } else if (c == u'(' || c == u'[') {
                ++depth;
            } else if (c == u')' || c == u']') {
                depth = std::max(0, depth - 1);
            } else if (c == u',' && (depth == 0 || i == list.size())) {
                parts.append(scopedSelector(list.mid(from, i - from)));
                from = i + 1;
            }
        }
        return parts.join(u',');
    }

    QString scopedSelector(const QString &selector) const {
        qsizetype start = 0;
        while (start < selector.size() && selector[start].isSpace())
            ++start;
        const QStringView text = QStringView(selector).sliced(start);
        if (text.trimmed().isEmpty())
            return selector;
        const QString root = u'#' + m_rootId;
        const auto startsWithWord = [&](QStringView word) {
            return text.startsWith(word, Qt::CaseInsensitive) &&
                   (text.size() == word.size() || !StyleSheets::isNameChar(text[word.size()]));
        };
        QString result = selector.left(start);
        if (startsWithWord(root)) {
            result += text; // already the root
        } else if (startsWithWord(u":root")) {
            result += root;
            result += text.sliced(5);
        } else if (startsWithWord(u"svg")) {
            // The root is an svg itself: "svg > g" means the root's children.
            result += root;
            result += text.sliced(3);
        } else {
            result += root + u' ';
            result += text;
        }
        return result;
    }

    QString urls(QStringView text) const {
        if (!text.contains(u"url("))
            return text.toString();
        static const QRegularExpression url(QStringLiteral(
            "url\\(\\s*(?:[\"']|&quot;|&apos;)?#((?:[^\"'()\\s&]|&(?!quot;|apos;)#?\\w+;)+)"));
        return replaced(text.toString(), url, 1);
    }

    // `text` with the prefix put in front of every captured id the document defines.
    QString replaced(const QString &text, const QRegularExpression &pattern, int group) const {
        QString result;
        qsizetype copied = 0;
        bool changed = false;
        for (auto it = pattern.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            if (!m_ids.contains(decoded(match.capturedView(group))))
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
    const QSet<QString> &m_classes;
    const QString &m_prefix;
    const QString m_rootId; // with the prefix; empty: selectors are not scoped
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

bool mayNeedPrefixing(QStringView markup) {
    return mayDefineIds(markup) || markup.contains(u"<style") || markup.contains(u":style");
}

QString prefixIds(QStringView markup, const QString &prefix, bool scopeToRoot) {
    // Most icons define no id and hold no style sheet; they need no walk.
    if (!mayNeedPrefixing(markup))
        return markup.toString();
    QSet<QString> ids;
    QSet<QString> classes;
    std::optional<Markup::StartTag> root;
    bool hasRules = false;
    Markup::scan(
        markup,
        [&](const Markup::StartTag &tag) {
            if (!root)
                root = tag;
            for (const Markup::Attribute &attribute : tag.attributes)
                if (attribute.name == u"id" && attribute.valueLength > 0)
                    ids.insert(decoded(markup.sliced(attribute.valueStart, attribute.valueLength)));
        },
        [&](qsizetype start, qsizetype length, QStringView element) {
            if (Markup::localName(element) != u"style")
                return;
            const QStringView css = markup.sliced(start, length);
            StyleSheets::forEachRule(css, [&](qsizetype at, qsizetype size) {
                hasRules = true;
                const QStringView list = css.sliced(at, size);
                for (const StyleSheets::SelectorName &name : StyleSheets::selectorNames(list))
                    if (name.kind == StyleSheets::SelectorName::Class)
                        classes.insert(decoded(list.sliced(name.start, name.length)));
            });
        });
    if (ids.isEmpty() && !hasRules)
        return markup.toString();

    // The scope is the root's id: its own when it has a plain one, else one it is given.
    QString rootId;
    QList<Edit> edits;
    if (scopeToRoot && hasRules && root && Markup::localName(root->name) == u"svg") {
        const auto own = std::find_if(root->attributes.cbegin(), root->attributes.cend(),
                                      [](const Markup::Attribute &a) { return a.name == u"id"; });
        if (own == root->attributes.cend()) {
            QString name = QStringLiteral("root");
            for (int number = 2; ids.contains(name); ++number)
                name = QStringLiteral("root-%1").arg(number);
            rootId = prefix + name;
            edits.append(
                {root->start + 1 + root->name.size(), 0, QStringLiteral(" id=\"%1\"").arg(rootId)});
        } else {
            const QStringView value = markup.sliced(own->valueStart, own->valueLength);
            if (StyleSheets::nameLength(value, 0) == value.size())
                rootId = prefix + value.toString();
        }
    }

    const Rewriter rewriter(ids, classes, prefix, rootId);
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
        if (Markup::localName(element) != u"style")
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
