#include "engine/InputGuard.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QXmlStreamReader>

namespace {

// The encoding an XML declaration names, and where the name stands.
struct Declared {
    QString encoding;
    qsizetype start = -1, length = 0;
};

// The declaration is ASCII in every encoding svgo could read, so raw bytes read as Latin-1 serve
// as well as decoded text.
Declared declaredEncoding(const QString &start) {
    static const QRegularExpression declaration(
        QStringLiteral(R"(^\s*<\?xml\s[^>]*?\bencoding\s*=\s*["']([A-Za-z0-9._:-]+)["'])"));
    const QRegularExpressionMatch match = declaration.match(start.left(256));
    if (!match.hasMatch())
        return {};
    return {match.captured(1), match.capturedStart(1), match.capturedLength(1)};
}

bool isUtf8(const QString &name) {
    return name.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("UTF8"), Qt::CaseInsensitive) == 0;
}

} // namespace

InputGuard::Checked InputGuard::check(const QByteArray &input) {
    if (input.trimmed().isEmpty())
        return {{}, tr("Empty file")};

    QByteArray svg = input;
    const Declared declared = declaredEncoding(QString::fromLatin1(input.left(256)));
    // A byte order mark of UTF-16 or UTF-32 says more than any declaration.
    const std::optional<QStringConverter::Encoding> marked =
        QStringConverter::encodingForData(input);
    const bool otherMark = marked && *marked != QStringConverter::Utf8;
    if (otherMark || (!declared.encoding.isEmpty() && !isUtf8(declared.encoding))) {
        const QByteArray name = otherMark ? QByteArray(QStringConverter::nameForEncoding(*marked))
                                          : declared.encoding.toLatin1();
        QStringDecoder decoder(name.constData());
        if (!decoder.isValid())
            return {{}, tr("Unknown text encoding %1").arg(QString::fromLatin1(name))};
        QString text = decoder.decode(input);
        if (decoder.hasError())
            return {{}, tr("The file is not valid %1 text").arg(QString::fromLatin1(name))};
        if (text.startsWith(QChar::ByteOrderMark))
            text.remove(0, 1);
        const Declared again = declaredEncoding(text);
        if (again.start >= 0)
            text.replace(again.start, again.length, QStringLiteral("UTF-8"));
        svg = text.toUtf8();
    }

    // The root element decides; whatever svgo could say about a broken document is left to it.
    QXmlStreamReader reader(svg);
    while (!reader.atEnd() && reader.readNext() != QXmlStreamReader::StartElement) {
    }
    if (reader.tokenType() != QXmlStreamReader::StartElement)
        return reader.error() == QXmlStreamReader::PrematureEndOfDocumentError || !svg.contains('<')
                   ? Checked{{}, tr("Not an SVG document")}
                   : Checked{svg, {}};
    if (reader.name() != QLatin1String("svg"))
        return {{}, tr("Not an SVG document")};
    return {svg, {}};
}
