#pragma once

#include <QUrl>

// Access to a file the user chose. Only a sandboxed macOS build has to ask for it; everywhere
// else the process may already read what the user may read, so access is always granted.
bool startAccessing(const QUrl &url);
void stopAccessing(const QUrl &url);
