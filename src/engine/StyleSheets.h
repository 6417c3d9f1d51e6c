#pragma once

#include <QList>
#include <QStringView>

#include <functional>

// Just enough of CSS to find what a style sheet's selectors name, for rewriting them in place:
// every offset is into the text given, and comments and strings never count.
namespace StyleSheets {

bool isNameStart(QChar c);
bool isNameChar(QChar c);
// The CSS name starting at `at` (an optional "-", then a name start): its length, or 0.
qsizetype nameLength(QStringView text, qsizetype at);

// What a selector list names: "#id" and ".class" outside strings and attribute selectors, and
// the value of [id=…], [id^=…] and [id|=…] (`exact` for "=").
struct SelectorName {
    enum Kind { Id, Class, IdAttribute } kind;
    qsizetype start;
    qsizetype length;
    bool exact = true;
};
QList<SelectorName> selectorNames(QStringView selectors);

// Calls `onRule` with the selectors of each style rule that applies to the document itself:
// not the keyframes of an animation, not the descriptors of @font-face or @page.
void forEachRule(QStringView css,
                 const std::function<void(qsizetype start, qsizetype length)> &onRule);

} // namespace StyleSheets
