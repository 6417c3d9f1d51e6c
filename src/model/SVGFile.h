#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QUrl>

#include <optional>

// One entry of a main window's file list. The entry is a snapshot taken when the file was added:
// a file renamed or deleted later keeps its old entry.
struct SVGFile {
    QString id;       // plain file-system path (no percent escapes); the entry's identity
    QString fileName; // last path component, extension included
    QUrl url;         // location of the file

    // id = the URL's plain path, fileName = its last component. Neither the extension nor the
    // file's existence is checked.
    static SVGFile fromUrl(const QUrl &url);

    // Keyed object with exactly "id", "fileName" and "url" (the URL as its encoded text).
    QJsonObject toJsonObject() const;
    static std::optional<SVGFile> fromJsonObject(const QJsonObject &object);
    QByteArray toJson() const; // compact
    static std::optional<SVGFile> fromJson(const QByteArray &json);

    friend bool operator==(const SVGFile &, const SVGFile &) = default;
};

size_t qHash(const SVGFile &file, size_t seed = 0);

// The plain path of a URL: the local file path for file URLs, the decoded path otherwise.
QString plainPath(const QUrl &url);

// `text` without line breaks of any kind (not other white space) at either end: the shell's
// answers and pasted paths end in one.
QString trimmedLineBreaks(const QString &text);

// The path of `url` with every occurrence of the home folder (with its trailing slash) written
// "~/", after trimming line breaks from both ends.
QString abbreviatedPath(const QUrl &url);

// Marks rows dragged within a file table; never offered to other applications.
inline constexpr char svgFileMimeType[] = "application/x-" MIRANDEL_APP_ID ".svgfile";
