#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringView>

// svgo renames every document's ids to a, b, c…, so icons pasted into one page point at each
// other's gradients and clip paths. Prefixing each document's ids with a name of its own keeps
// them apart.
namespace IdPrefixer {

// A valid id (and CSS class name) made of a file's name: letters, digits, "-" and single "_";
// anything else becomes "-", and a name that does not start with a letter gets "icon-" in front.
// Never contains "__" and never ends in "_", so `name + separator` prefixes of different names
// never produce the same id.
QString validName(QStringView text);

// The separator between a document's name and its own ids.
inline constexpr QStringView separator = u"__";

// Hands out names that were not given out before: `base`, or `base` followed by "-2", "-3"…
// (before `suffix`). Remembers where each base's numbers stand, so many documents with one name
// cost no more than as many different names.
class UniqueNames {
public:
    QString claim(const QString &base, const QString &suffix = {});

private:
    QSet<QString> m_taken;
    QHash<QString, int> m_next;
};

// Whether the markup may define an id ("id=" somewhere); false means it surely defines none.
// Fast enough to run over every document of a large run.
bool mayDefineIds(QStringView markup);

// Whether the markup may need prefixIds at all: it may define ids or hold a style sheet.
bool mayNeedPrefixing(QStringView markup);

// Puts `prefix` in front of every id the document defines and of every reference to one of
// them: url(#…) in any attribute and in style sheets, "#…" in href and xlink:href (blanks
// around it allowed), the id lists of the aria-… attributes, the element references of
// animation timing (begin, end), and "#…" and [id=…] in style sheet selectors. Ids are compared
// with their entities decoded. References to ids the document does not define stay as they are.
//
// A style sheet reaches every document of the page it is pasted into, so its class names are
// prefixed as well (in the selectors and in the class attributes that use them). With
// `scopeToRoot`, every selector is also made to start at the document's root, which gets an id
// of its own when it has none: "rect{…}" or "*{…}" then restyle only this document. (Not for a
// sprite's symbols, whose root becomes the <symbol>.)
QString prefixIds(QStringView markup, const QString &prefix, bool scopeToRoot = false);

} // namespace IdPrefixer
