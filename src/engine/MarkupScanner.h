#pragma once

#include <QList>
#include <QStringView>

#include <functional>

// A forgiving walk over XML text such as svgo writes. It reports where start tags, their
// attributes and character data sit in the text, so callers can rewrite pieces in place and keep
// everything else byte for byte; a full parser would write the text anew in its own style.
// Malformed text ends the walk early instead of failing.
namespace Markup {

struct Attribute {
    QStringView name;
    qsizetype start = 0;      // the first character of the name
    qsizetype end = 0;        // just past the closing quote
    qsizetype valueStart = 0; // the value as written, entities not decoded
    qsizetype valueLength = 0;
    QChar quote; // '"', '\'' or nothing for an unquoted value
};

struct StartTag {
    QStringView name;
    qsizetype start = 0; // the '<'
    qsizetype end = 0;   // just past the '>'
    bool selfClosing = false;
    QList<Attribute> attributes;
};

using TagHandler = std::function<void(const StartTag &tag)>;
// Character data directly inside the element named `element` (empty outside the root); the
// content of a CDATA section counts as character data.
using TextHandler = std::function<void(qsizetype start, qsizetype length, QStringView element)>;

void scan(QStringView text, const TagHandler &onTag, const TextHandler &onText = {});

// A name without its namespace prefix: "svg:style" is a style element as much as "style" is.
inline QStringView localName(QStringView name) {
    const qsizetype colon = name.lastIndexOf(u':');
    return colon < 0 ? name : name.sliced(colon + 1);
}

} // namespace Markup
