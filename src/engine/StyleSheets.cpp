#include "engine/StyleSheets.h"

#include <QRegularExpression>

#include <algorithm>

namespace StyleSheets {

bool isNameStart(QChar c) {
    return c.isLetter() || c == u'_' || c.unicode() >= 0x80;
}
bool isNameChar(QChar c) {
    return isNameStart(c) || c.isDigit() || c == u'-';
}

qsizetype nameLength(QStringView text, qsizetype at) {
    qsizetype i = at;
    if (i < text.size() && text[i] == u'-')
        ++i;
    if (i >= text.size() || !isNameStart(text[i]))
        return 0;
    while (i < text.size() && isNameChar(text[i]))
        ++i;
    return i - at;
}

QList<SelectorName> selectorNames(QStringView selectors) {
    QList<SelectorName> names;
    for (qsizetype i = 0; i < selectors.size(); ++i) {
        const QChar c = selectors[i];
        if (c == u'"' || c == u'\'') {
            const qsizetype end = selectors.indexOf(c, i + 1);
            i = end < 0 ? selectors.size() : end;
        } else if (c == u'[') {
            const qsizetype end = selectors.indexOf(u']', i + 1);
            const QStringView inside =
                selectors.sliced(i + 1, (end < 0 ? selectors.size() : end) - i - 1);
            static const QRegularExpression idAttribute(
                QStringLiteral("^\\s*id\\s*([\\^|]?)=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s\"']+))"));
            if (const QRegularExpressionMatch match = idAttribute.match(inside); match.hasMatch()) {
                const int group = match.capturedStart(2) >= 0   ? 2
                                  : match.capturedStart(3) >= 0 ? 3
                                                                : 4;
                names.append({SelectorName::IdAttribute, i + 1 + match.capturedStart(group),
                              match.capturedLength(group), match.capturedLength(1) == 0});
            }
            i = end < 0 ? selectors.size() : end;
        } else if (c == u'#' || c == u'.') {
            if (const qsizetype length = nameLength(selectors, i + 1); length > 0) {
                names.append({c == u'#' ? SelectorName::Id : SelectorName::Class, i + 1, length});
                i += length;
            }
        } else if (c == u'\\') {
            ++i; // an escaped character is never a name's start
        }
    }
    return names;
}

void forEachRule(QStringView css,
                 const std::function<void(qsizetype start, qsizetype length)> &onRule) {
    enum class Block { Rule, Group, Other };
    QList<Block> open;
    qsizetype segment = 0;
    for (qsizetype i = 0; i < css.size(); ++i) {
        const QChar c = css[i];
        if (c == u'"' || c == u'\'') {
            const qsizetype end = css.indexOf(c, i + 1);
            i = end < 0 ? css.size() : end;
        } else if (c == u'/' && css.sliced(i).startsWith(u"/*")) {
            const qsizetype end = css.indexOf(u"*/", i + 2);
            i = end < 0 ? css.size() : end + 1;
        } else if (c == u'{') {
            const QStringView prelude = css.sliced(segment, i - segment).trimmed();
            Block block = Block::Rule;
            if (prelude.startsWith(u'@')) {
                static const QStringList groups{
                    QStringLiteral("@media"), QStringLiteral("@supports"), QStringLiteral("@layer"),
                    QStringLiteral("@container"), QStringLiteral("@document")};
                block = std::any_of(groups.cbegin(), groups.cend(),
                                    [&](const QString &group) {
                                        return prelude.startsWith(group, Qt::CaseInsensitive);
                                    })
                            ? Block::Group
                            : Block::Other;
            }
            if (block == Block::Rule &&
                std::all_of(open.cbegin(), open.cend(), [](Block b) { return b == Block::Group; }))
                onRule(segment, i - segment);
            open.append(block);
            segment = i + 1;
        } else if (c == u'}' || c == u';') {
            if (c == u'}' && !open.isEmpty())
                open.removeLast();
            segment = i + 1;
        }
    }
}

} // namespace StyleSheets
