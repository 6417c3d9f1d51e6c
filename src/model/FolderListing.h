#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// Whether a name ends in ".svg" in lower case; "x.SVG" does not count. The open panel's choice
// and the folder listing decide by this, a drop by the file's type.
bool hasSVGExtension(QStringView name);

// The paths of the visible files inside `folder` and (when `recursive`) its visible subfolders
// that have the SVG extension: a folder's own files sorted by name in code-point order
// (case-sensitive, upper case first), then each subfolder's in the same way, subfolders in name
// order. No value when the folder cannot be listed; `problem` then says why, in a few words. Broken
// links are listed (the run names what is wrong with them); `unaddressable` gets the SVG files
// left out because their names are not valid UTF-8, so no path can reach them (named with U+FFFD
// for their bad bytes).
std::optional<QStringList> listSVGFiles(const QString &folder, QString *problem,
                                        QStringList *unaddressable = nullptr,
                                        bool recursive = true);

// The message for `count` files left out of a listing for their names.
QString skippedNamesMessage(int count);
