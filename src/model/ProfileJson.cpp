#include "model/Profile.h"

// How a profile is written to and read from the stored settings.

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

namespace {

// Writes a JSON string literal the way the macOS encoder does: quote, backslash and slash
// escaped, the common control characters by their short escapes, the rest of C0 as \u00xx
// in lower-case hex, and everything else (non-ASCII included) as raw UTF-8.
void appendString(QByteArray &out, const QString &text) {
    out += '"';
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '/':
            out += "\\/";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                static const char hex[] = "0123456789abcdef";
                out += "\\u00";
                out += hex[(c >> 4) & 0xf];
                out += hex[c & 0xf];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

// Collects members in the order they are added; callers add them already sorted.
class ObjectWriter {
public:
    void add(const char *key, const QString &value) {
        begin(key);
        appendString(m_out, value);
    }
    void add(const char *key, bool value) {
        begin(key);
        m_out += value ? "true" : "false";
    }
    void add(const char *key, qint64 value) {
        begin(key);
        m_out += QByteArray::number(value);
    }
    void add(const char *key, const std::optional<QString> &value) {
        if (value)
            add(key, *value);
    }
    void add(const char *key, const std::optional<QUrl> &value) {
        if (value)
            add(key, QString::fromUtf8(value->toEncoded()));
    }
    // Options added after the first stores were written are left out at their defaults.
    template <typename T>
    void addUnlessDefault(const char *key, const T &value, const T &fallback) {
        if (value != fallback)
            add(key, value);
    }
    void add(const char *key, const std::optional<qint64> &value) {
        if (value)
            add(key, *value);
    }
    QByteArray finish() { return m_out + '}'; }

private:
    void begin(const char *key) {
        m_out += m_out.size() == 1 ? "" : ",";
        appendString(m_out, QString::fromLatin1(key));
        m_out += ':';
    }
    QByteArray m_out = "{";
};

// Required keys must be present with exactly the right JSON type.
bool readString(const QJsonObject &object, const char *key, QString &out) {
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isString())
        return false;
    out = value.toString();
    return true;
}

bool readBool(const QJsonObject &object, const char *key, bool &out) {
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isBool())
        return false;
    out = value.toBool();
    return true;
}

// Keys added later: absent or null keeps the default, the wrong type spoils the record.
bool readLaterBool(const QJsonObject &object, const char *key, bool &out) {
    const QJsonValue value = object.value(QLatin1String(key));
    return value.isUndefined() || value.isNull() || readBool(object, key, out);
}

// Optional keys may be missing or null; any other non-string value spoils the record.
bool readOptionalString(const QJsonObject &object, const char *key, std::optional<QString> &out) {
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined() || value.isNull()) {
        out.reset();
        return true;
    }
    if (!value.isString())
        return false;
    out = value.toString();
    return true;
}

bool readOptionalUrl(const QJsonObject &object, const char *key, std::optional<QUrl> &out) {
    std::optional<QString> text;
    if (!readOptionalString(object, key, text))
        return false;
    if (!text) {
        out.reset();
        return true;
    }
    QUrl url(*text, QUrl::StrictMode);
    if (text->isEmpty() || !url.isValid())
        return false;
    out = url;
    return true;
}

} // namespace

QByteArray Profile::toJson() const {
    // Keys in sorted order, as the store has always written them.
    ObjectWriter writer;
    const Profile defaults;
    writer.addUnlessDefault("automaticPrecision", automaticPrecision, defaults.automaticPrecision);
    writer.addUnlessDefault("checkRendering", checkRendering, defaults.checkRendering);
    writer.addUnlessDefault("colorsToCurrentColor", colorsToCurrentColor,
                            defaults.colorsToCurrentColor);
    writer.addUnlessDefault("findBreakingPlugins", findBreakingPlugins,
                            defaults.findBreakingPlugins);
    writer.add("id", id);
    writer.add("indentationStyle", rawValue(indentationStyle));
    writer.add("indentationWidth", indentationWidth);
    writer.add("keepItemAndWrapperTogether", keepItemAndWrapperTogether);
    writer.addUnlessDefault("keepOriginalWhenNotSmaller", keepOriginalWhenNotSmaller,
                            defaults.keepOriginalWhenNotSmaller);
    writer.addUnlessDefault("keepTitleAndDesc", keepTitleAndDesc, defaults.keepTitleAndDesc);
    writer.addUnlessDefault("keepViewBox", keepViewBox, defaults.keepViewBox);
    writer.add("mode", rawValue(mode));
    writer.addUnlessDefault("multipass", multipass, defaults.multipass);
    writer.add("name", name);
    writer.add("outputFolder", outputFolder);
    if (outputFormat != defaults.outputFormat)
        writer.add("outputFormat", rawValue(outputFormat));
    writer.add("overwrite", overwrite);
    writer.add("precision", precision);
    writer.add("prettyPrint", prettyPrint);
    writer.addUnlessDefault("removeDimensions", removeDimensions, defaults.removeDimensions);
    writer.addUnlessDefault("removeScripts", removeScripts, defaults.removeScripts);
    writer.add("svgoConfigFile", svgoConfigFile);
    writer.addUnlessDefault("uniqueIds", uniqueIds, defaults.uniqueIds);
    writer.addUnlessDefault("uniqueIdsInFiles", uniqueIdsInFiles, defaults.uniqueIdsInFiles);
    writer.add("wrapIndividual", wrapIndividual);
    writer.add("wrapIndividualPrefix", wrapIndividualPrefix);
    writer.add("wrapIndividualSuffix", wrapIndividualSuffix);
    writer.add("wrapOutput", wrapOutput);
    writer.add("wrapOutputPrefix", wrapOutputPrefix);
    writer.add("wrapOutputSuffix", wrapOutputSuffix);
    return writer.finish();
}

std::optional<Profile> Profile::fromJson(const QByteArray &json) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();

    Profile profile;
    QString mode;
    QString style;
    const bool complete =
        readString(object, "id", profile.id) && readString(object, "name", profile.name) &&
        readString(object, "mode", mode) && readBool(object, "overwrite", profile.overwrite) &&
        readBool(object, "wrapOutput", profile.wrapOutput) &&
        readBool(object, "wrapIndividual", profile.wrapIndividual) &&
        readBool(object, "prettyPrint", profile.prettyPrint) &&
        readString(object, "indentationStyle", style) &&
        readBool(object, "keepItemAndWrapperTogether", profile.keepItemAndWrapperTogether) &&
        readOptionalUrl(object, "outputFolder", profile.outputFolder) &&
        readOptionalUrl(object, "svgoConfigFile", profile.svgoConfigFile) &&
        readOptionalString(object, "wrapOutputPrefix", profile.wrapOutputPrefix) &&
        readOptionalString(object, "wrapOutputSuffix", profile.wrapOutputSuffix) &&
        readOptionalString(object, "wrapIndividualPrefix", profile.wrapIndividualPrefix) &&
        readOptionalString(object, "wrapIndividualSuffix", profile.wrapIndividualSuffix) &&
        readLaterBool(object, "uniqueIds", profile.uniqueIds) &&
        readLaterBool(object, "checkRendering", profile.checkRendering) &&
        readLaterBool(object, "keepOriginalWhenNotSmaller", profile.keepOriginalWhenNotSmaller) &&
        readLaterBool(object, "multipass", profile.multipass) &&
        readLaterBool(object, "keepViewBox", profile.keepViewBox) &&
        readLaterBool(object, "keepTitleAndDesc", profile.keepTitleAndDesc) &&
        readLaterBool(object, "colorsToCurrentColor", profile.colorsToCurrentColor) &&
        readLaterBool(object, "removeDimensions", profile.removeDimensions) &&
        readLaterBool(object, "removeScripts", profile.removeScripts) &&
        readLaterBool(object, "uniqueIdsInFiles", profile.uniqueIdsInFiles) &&
        readLaterBool(object, "automaticPrecision", profile.automaticPrecision) &&
        readLaterBool(object, "findBreakingPlugins", profile.findBreakingPlugins);
    if (!complete)
        return std::nullopt;

    std::optional<QString> format;
    if (!readOptionalString(object, "outputFormat", format))
        return std::nullopt;
    if (format) {
        const std::optional<OutputFormat> parsed = outputFormatFromRaw(*format);
        if (!parsed)
            return std::nullopt;
        profile.outputFormat = *parsed;
    }
    const QJsonValue precision = object.value(QLatin1String("precision"));
    if (!precision.isUndefined() && !precision.isNull()) {
        if (!precision.isDouble() || precision.toInteger(-1) != precision.toInteger(-2) ||
            precision.toInteger() < 0)
            return std::nullopt;
        profile.precision = precision.toInteger();
    }

    const std::optional<OperationMode> parsedMode = operationModeFromRaw(mode);
    const std::optional<IndentationStyle> parsedStyle = indentationStyleFromRaw(style);
    if (!parsedMode || !parsedStyle)
        return std::nullopt;
    profile.mode = *parsedMode;
    profile.indentationStyle = *parsedStyle;

    // A width is an integer; fractions and numbers beyond 64 bits do not decode.
    const QJsonValue width = object.value(QLatin1String("indentationWidth"));
    if (!width.isDouble())
        return std::nullopt;
    const qint64 asInteger = width.toInteger(0);
    if (asInteger != width.toInteger(1))
        return std::nullopt;
    profile.indentationWidth = asInteger;
    return profile;
}
