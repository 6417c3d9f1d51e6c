#include "model/Profile.h"

#include "model/IncrementedName.h"

#include <QCoreApplication>
#include <QHash>
#include <QUuid>

#include <limits>

const QString Profile::defaultId = QStringLiteral("DefaultProfile");

QString rawValue(OperationMode mode) {
    return mode == OperationMode::File ? QStringLiteral("file") : QStringLiteral("text");
}

QString rawValue(IndentationStyle style) {
    return style == IndentationStyle::Tabs ? QStringLiteral("tabs") : QStringLiteral("spaces");
}

QString rawValue(OutputFormat format) {
    switch (format) {
    case OutputFormat::CSS:
        return QStringLiteral("css");
    case OutputFormat::Sprite:
        return QStringLiteral("sprite");
    case OutputFormat::JSON:
        return QStringLiteral("json");
    case OutputFormat::Wrapped:
        break;
    }
    return QStringLiteral("wrapped");
}

std::optional<OutputFormat> outputFormatFromRaw(const QString &raw) {
    for (OutputFormat format : allOutputFormats())
        if (rawValue(format) == raw)
            return format;
    return std::nullopt;
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

QString title(OutputFormat format) {
    switch (format) {
    case OutputFormat::CSS:
        return QCoreApplication::translate("OutputFormat", "CSS");
    case OutputFormat::Sprite:
        return QCoreApplication::translate("OutputFormat", "SVG Sprite");
    case OutputFormat::JSON:
        return QCoreApplication::translate("OutputFormat", "JSON");
    case OutputFormat::Wrapped:
        break;
    }
    return QCoreApplication::translate("OutputFormat", "Wrapped");
}

QList<OperationMode> allOperationModes() {
    return {OperationMode::File, OperationMode::Text};
}

QList<IndentationStyle> allIndentationStyles() {
    return {IndentationStyle::Tabs, IndentationStyle::Spaces};
}

QList<OutputFormat> allOutputFormats() {
    return {OutputFormat::Wrapped, OutputFormat::CSS, OutputFormat::Sprite, OutputFormat::JSON};
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
    seed = combine(seed, static_cast<int>(p.outputFormat));
    seed = combine(seed, p.uniqueIds);
    seed = combine(seed, p.checkRendering);
    seed = combine(seed, p.keepOriginalWhenNotSmaller);
    seed = combine(seed, optionalHash(p.precision));
    seed = combine(seed, p.multipass);
    seed = combine(seed, p.keepViewBox);
    seed = combine(seed, p.keepTitleAndDesc);
    seed = combine(seed, p.colorsToCurrentColor);
    seed = combine(seed, p.removeDimensions);
    seed = combine(seed, p.removeScripts);
    seed = combine(seed, p.uniqueIdsInFiles);
    seed = combine(seed, p.automaticPrecision);
    seed = combine(seed, p.findBreakingPlugins);
    return seed;
}
