#pragma once

#include <QString>
#include <QStringView>

// The pieces of the text output formats other than plain documents: CSS rules with data URIs,
// sprite symbols and JSON strings, and the placeholders of the wrapper fields.
namespace TextOutputFormats {

// A wrapper field with "{name}" replaced by `name` and "{{" by one "{"; any other brace stays.
QString expandTemplate(const QString &text, const QString &name);

// A data URI of the markup for use inside url("…"): attribute quotes become single quotes and
// only what would break the URL or the CSS string is percent-encoded. Far smaller than base64 or
// encoding every reserved character.
QString compactDataUri(QStringView markup);

// ".className{background-image:url("data:…")}"
QString cssRule(const QString &className, QStringView markup);

// The document's root <svg> turned into <symbol id="…">: the viewBox (made from a numeric width
// and height when missing) and presentation attributes stay, size and position go.
QString spriteSymbol(const QString &id, QStringView markup);

// The text as a JSON string literal, quotes included.
QString jsonString(QStringView text);

} // namespace TextOutputFormats
