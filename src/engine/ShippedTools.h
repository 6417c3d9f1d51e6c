#pragma once

#include <QString>

// The svgo that ships with Mirandel and the small Node programs beside it live in one private
// folder: <prefix>/lib/mirandel next to <prefix>/bin/mirandel once installed, and
// <build>/lib/mirandel in a build tree, so a fresh account optimizes without anything on PATH.
namespace ShippedTools {

// The private folder, or an empty string when this copy of the program has none.
QString folder();

// The shipped svgo's command-line program (node_modules/.bin/svgo in the folder); empty when
// absent.
QString svgoPath();

// A file of the private folder by its name (the svgo worker, say); empty when absent.
QString file(const QString &name);

} // namespace ShippedTools
