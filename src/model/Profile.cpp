#include "model/Profile.h"

#include "model/IncrementedName.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QUuid>

#include <limits>

const QString Profile::defaultId = QStringLiteral("DefaultProfile");

QString rawValue(OperationMode mode) {
    return mode == OperationMode::File ? QStringLiteral("file") : QStringLiteral("text");
}

QString rawValue(IndentationStyle style) {
    return style == IndentationStyle::Tabs ? QStringLiteral("tabs") : QStringLiteral("spaces");
}

std::optional<OperationMode> operationModeFromRaw(const QString &raw) {
    for (OperationMode mode : allOperationModes())
        if (rawValue(mode) == raw)
            return mode;
    return std::nullopt;
}

std::optional<IndentationStyle> indentationStyleFromRaw(const QString &raw) {
    for (IndentationStyle style : allIndentationStyles())
        if (rawValue(style) == raw)
            return style;
    return std::nullopt;
}

QString title(OperationMode mode) {
    return mode == OperationMode::File ? QCoreApplication::translate("OperationMode", "File")
                                       : QCoreApplication::translate("OperationMode", "Text");
}

QString title(IndentationStyle style) {
    return style == IndentationStyle::Tabs
               ? QCoreApplication::translate("IndentationStyle", "Tabs", "Indentation style")
               : QCoreApplication::translate("IndentationStyle", "Spaces", "Indentation style");
}

QList<OperationMode> allOperationModes() {
    return {OperationMode::File, OperationMode::Text};
}

QList<IndentationStyle> allIndentationStyles() {
    return {IndentationStyle::Tabs, IndentationStyle::Spaces};
}

QString defaultProfileName() {
    static const QString name = QCoreApplication::translate("Profile", "Default Profile");
    return name;
}

QString newProfileName() {
    static const QString name = QCoreApplication::translate("Profile", "New Profile");
    return name;
}

QString newIdentifier() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

Profile Profile::builtInDefault() {
    Profile profile;
    profile.id = defaultId;
    profile.name = defaultProfileName();
    return profile;
}

Profile Profile::makeNew() {
    Profile profile;
    profile.id = newIdentifier();
    profile.name = newProfileName();
    return profile;
}

Profile Profile::duplicated() const {
    Profile copy = *this;
    copy.id = newIdentifier();
    copy.name = isDefault() ? newProfileName() : incrementedName(name);
    return copy;
}

bool Profile::isDefault() const {
    return id == defaultId;
}

qint64 Profile::effectiveIndentationWidth() const {
    return qMax<qint64>(indentationWidth, 0);
}

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
    writer.add("id", id);
    writer.add("indentationStyle", rawValue(indentationStyle));
    writer.add("indentationWidth", indentationWidth);
    writer.add("keepItemAndWrapperTogether", keepItemAndWrapperTogether);
    writer.add("mode", rawValue(mode));
    writer.add("name", name);
    writer.add("outputFolder", outputFolder);
    writer.add("overwrite", overwrite);
    writer.add("prettyPrint", prettyPrint);
    writer.add("svgoConfigFile", svgoConfigFile);
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
        readOptionalString(object, "wrapIndividualSuffix", profile.wrapIndividualSuffix);
    if (!complete)
        return std::nullopt;

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

size_t qHash(const Profile &p, size_t seed) {
    QtPrivate::QHashCombine combine;
    auto optionalHash = [](const auto &value) -> size_t { return value ? qHash(*value) + 1 : 0; };
    seed = combine(seed, p.id);
    seed = combine(seed, p.name);
    seed = combine(seed, static_cast<int>(p.mode));
    seed = combine(seed, p.overwrite);
    seed = combine(seed, optionalHash(p.outputFolder));
    seed = combine(seed, optionalHash(p.svgoConfigFile));
    seed = combine(seed, p.wrapOutput);
    seed = combine(seed, optionalHash(p.wrapOutputPrefix));
    seed = combine(seed, optionalHash(p.wrapOutputSuffix));
    seed = combine(seed, p.wrapIndividual);
    seed = combine(seed, optionalHash(p.wrapIndividualPrefix));
    seed = combine(seed, optionalHash(p.wrapIndividualSuffix));
    seed = combine(seed, p.prettyPrint);
    seed = combine(seed, static_cast<int>(p.indentationStyle));
    seed = combine(seed, p.indentationWidth);
    seed = combine(seed, p.keepItemAndWrapperTogether);
    return seed;
}
