#include "engine/TextOutputFormats.h"

#include "engine/MarkupScanner.h"

#include <QSet>

#include <optional>
#include <utility>

namespace TextOutputFormats {

namespace {

void appendPercentEncoded(QString &out, QStringView characters) {
    static const char hex[] = "0123456789ABCDEF";
    for (const char byte : characters.toUtf8()) {
        const auto value = static_cast<unsigned char>(byte);
        out += u'%';
        out += QLatin1Char(hex[value >> 4]);
        out += QLatin1Char(hex[value & 0xF]);
    }
}

// Characters a data URI inside a double-quoted CSS string cannot carry as they are: the
// string's quote, the escape and fragment characters, and what URL parsers reject or rewrite.
bool needsEncoding(QChar c) {
    if (c.unicode() < 0x20 || c.unicode() >= 0x7F)
        return true;
    static const QStringView special = u"%#<>\"\\{}|^[]`";
    return special.contains(c);
}

} // namespace

QString expandTemplate(const QString &text, const QString &name) {
    if (!text.contains(u'{'))
        return text;
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'{' && text.mid(i, 2) == u"{{") {
            result += u'{';
            ++i;
        } else if (text.at(i) == u'{' && QStringView(text).sliced(i).startsWith(u"{name}")) {
            result += name;
            i += 5;
        } else {
            result += text.at(i);
        }
    }
    return result;
}

QString compactDataUri(QStringView markup) {
    // Attribute values written in double quotes switch to single quotes, which need no encoding,
    // unless the value itself holds a single quote.
    QSet<qsizetype> swappedQuotes;
    Markup::scan(markup, [&](const Markup::StartTag &tag) {
        for (const Markup::Attribute &attribute : tag.attributes) {
            if (attribute.quote != u'"' ||
                markup.sliced(attribute.valueStart, attribute.valueLength).contains(u'\''))
                continue;
            swappedQuotes.insert(attribute.valueStart - 1);
            swappedQuotes.insert(attribute.valueStart + attribute.valueLength);
        }
    });
    QString uri = QStringLiteral("data:image/svg+xml,");
    uri.reserve(uri.size() + markup.size() * 11 / 10);
    for (qsizetype i = 0; i < markup.size(); ++i) {
        const QChar c = markup.at(i);
        if (swappedQuotes.contains(i))
            uri += u'\'';
        else if (c.isHighSurrogate() && i + 1 < markup.size())
            appendPercentEncoded(uri, markup.sliced(i++, 2));
        else if (needsEncoding(c))
            appendPercentEncoded(uri, markup.sliced(i, 1));
        else
            uri += c;
    }
    return uri;
}

QString cssRule(const QString &className, QStringView markup) {
    return u'.' + className + QStringLiteral("{background-image:url(\"") + compactDataUri(markup) +
           QStringLiteral("\")}");
}

namespace {

// A length of the root's width or height in the user units a document without a viewBox draws
// in (CSS pixels; an em is the initial 16 px); none for a percentage or anything unknown.
std::optional<double> userUnits(const QString &length) {
    static const QList<std::pair<QString, double>> units{
        {QStringLiteral("px"), 1.0},         {QStringLiteral("em"), 16.0},
        {QStringLiteral("ex"), 8.0},         {QStringLiteral("pt"), 96.0 / 72},
        {QStringLiteral("pc"), 16.0},        {QStringLiteral("in"), 96.0},
        {QStringLiteral("cm"), 96.0 / 2.54}, {QStringLiteral("mm"), 96.0 / 25.4}};
    QString number = length.trimmed();
    double scale = 1.0;
    for (const auto &[unit, size] : units)
        if (number.endsWith(unit)) {
            number.chop(unit.size());
            scale = size;
            break;
        }
    bool ok = false;
    const double value = number.toDouble(&ok) * scale;
    return ok && value > 0 ? std::optional<double>(value) : std::nullopt;
}

} // namespace

QString spriteSymbol(const QString &id, QStringView markup) {
    std::optional<Markup::StartTag> root;
    Markup::scan(markup, [&](const Markup::StartTag &tag) {
        if (!root)
            root = tag;
    });
    QString symbol = QStringLiteral("<symbol id=\"") + id + u'"';
    if (!root || root->name != u"svg")
        return symbol + QStringLiteral("/>");

    static const QSet<QString> dropped{QStringLiteral("xmlns"),   QStringLiteral("id"),
                                       QStringLiteral("width"),   QStringLiteral("height"),
                                       QStringLiteral("x"),       QStringLiteral("y"),
                                       QStringLiteral("version"), QStringLiteral("baseProfile")};
    QString width;
    QString height;
    bool hasViewBox = false;
    QString kept;
    for (const Markup::Attribute &attribute : std::as_const(root->attributes)) {
        const QString value = markup.sliced(attribute.valueStart, attribute.valueLength).toString();
        if (attribute.name == u"width")
            width = value;
        else if (attribute.name == u"height")
            height = value;
        hasViewBox = hasViewBox || attribute.name == u"viewBox";
        if (!dropped.contains(attribute.name.toString())) {
            kept += u' ';
            kept += markup.sliced(attribute.start, attribute.end - attribute.start);
        }
    }
    if (!hasViewBox) {
        // Without a viewBox a symbol has no coordinate system to scale; the size gives one.
        const std::optional<double> w = userUnits(width);
        const std::optional<double> h = userUnits(height);
        if (w && h)
            symbol += QStringLiteral(" viewBox=\"0 0 %1 %2\"").arg(*w).arg(*h);
    }
    symbol += kept;
    if (root->selfClosing)
        return symbol + QStringLiteral("/>");
    qsizetype end = markup.lastIndexOf(u"</svg>");
    if (end < root->end)
        end = markup.size();
    symbol += u'>';
    symbol += markup.sliced(root->end, end - root->end);
    return symbol + QStringLiteral("</symbol>");
}

QString jsonString(QStringView text) {
    QString result;
    result.reserve(text.size() + text.size() / 8 + 2);
    result += u'"';
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            result += QStringLiteral("\\\"");
            break;
        case u'\\':
            result += QStringLiteral("\\\\");
            break;
        case u'\n':
            result += QStringLiteral("\\n");
            break;
        case u'\r':
            result += QStringLiteral("\\r");
            break;
        case u'\t':
            result += QStringLiteral("\\t");
            break;
        default:
            // Line and paragraph separators are valid JSON but end a line in JavaScript.
            if (c.unicode() < 0x20 || c.unicode() == 0x2028 || c.unicode() == 0x2029)
                result += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                result += c;
        }
    }
    result += u'"';
    return result;
}

} // namespace TextOutputFormats
