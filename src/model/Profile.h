#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QUrl>

#include <optional>

// How the optimized SVGs leave svgo: written back as files or gathered as text.
enum class OperationMode { File, Text };
// What one indentation level is made of when text output is pretty-printed.
enum class IndentationStyle { Tabs, Spaces };
// The shape text mode gives the optimized documents.
enum class OutputFormat {
    Wrapped, // documents one after another, in the element and output wrappers
    CSS,     // one rule per icon with a data URI
    Sprite,  // one svg of symbols
    JSON,    // file name to markup
};

// The raw values double as the stored form, so they must never change.
QString rawValue(OperationMode mode);
QString rawValue(IndentationStyle style);
QString rawValue(OutputFormat format);
std::optional<OperationMode> operationModeFromRaw(const QString &raw);
std::optional<IndentationStyle> indentationStyleFromRaw(const QString &raw);
std::optional<OutputFormat> outputFormatFromRaw(const QString &raw);

// Localized display names.
QString title(OperationMode mode);
QString title(IndentationStyle style);
QString title(OutputFormat format);

// All cases in the order pickers show them.
QList<OperationMode> allOperationModes();
QList<IndentationStyle> allIndentationStyles();
QList<OutputFormat> allOutputFormats();

// Localized once, in the locale current at first use.
QString defaultProfileName();
QString newProfileName();

// A named set of processing options; a plain value, stored as JSON text.
struct Profile {
    QString id;
    QString name;
    OperationMode mode = OperationMode::File;
    bool overwrite = true;
    std::optional<QUrl> outputFolder;
    std::optional<QUrl> svgoConfigFile;
    bool wrapOutput = false;
    std::optional<QString> wrapOutputPrefix;
    std::optional<QString> wrapOutputSuffix;
    bool wrapIndividual = false;
    std::optional<QString> wrapIndividualPrefix;
    std::optional<QString> wrapIndividualSuffix;
    bool prettyPrint = false;
    IndentationStyle indentationStyle = IndentationStyle::Tabs;
    qint64 indentationWidth = 4;
    bool keepItemAndWrapperTogether = false;

    // Options added later. Stores written before them lack their keys and read as these
    // defaults, and a value at its default is not written, so such stores stay as they were.
    OutputFormat outputFormat = OutputFormat::Wrapped;
    bool uniqueIds = true;                  // text mode: prefix each document's ids with its name
    bool checkRendering = true;             // compare renderings of the original and the result
    bool keepOriginalWhenNotSmaller = true; // file mode: keep an input svgo cannot shrink
    // svgo's options, used where no configuration file is chosen; the defaults are svgo's own.
    std::optional<qint64> precision; // digits after the point; absent: svgo's default
    // Per file the lowest precision, up to svgo's default, whose output still looks the same;
    // `precision` is not used then.
    bool automaticPrecision = false;
    bool multipass = false;
    bool keepViewBox = true;
    bool keepTitleAndDesc = false;
    bool colorsToCurrentColor = false;
    bool removeDimensions = false;
    bool removeScripts = false; // <script>, event handlers and javascript: links
    // File mode: each file's ids (and the classes of its style sheet) get its name in front, as
    // text mode gives them, so files inlined in one page never point at each other's parts.
    bool uniqueIdsInFiles = false;
    // An output that looks different is made again without the plugins that change its drawing;
    // off: the original is kept, as without any search.
    bool findBreakingPlugins = true;

    static const QString defaultId; // "DefaultProfile"

    // The factory default profile: file mode, overwrite, tabs of width 4, nothing else.
    static Profile builtInDefault();
    // The factory options under a fresh identifier and the name "New Profile".
    static Profile makeNew();
    // Same options, fresh identifier; a copy of the default profile is a "New Profile",
    // a copy of a saved one gets the next number in its name.
    Profile duplicated() const;
    bool isDefault() const;
    // The editor accepts any integer, but a negative count of spaces makes no sense:
    // everything that indents treats it as no indentation at all.
    qint64 effectiveIndentationWidth() const;

    // Compact JSON with sorted keys, byte for byte as the macOS encoder writes it
    // (so stores can be shared with the original platform), "/" escaped as "\/".
    QByteArray toJson() const;
    // Absent when a required key is missing, has the wrong type or an unknown raw value.
    static std::optional<Profile> fromJson(const QByteArray &json);

    friend bool operator==(const Profile &, const Profile &) = default;
};

size_t qHash(const Profile &profile, size_t seed = 0);

// A random UUID in canonical upper-case 36-character form.
QString newIdentifier();

Q_DECLARE_METATYPE(Profile)
