#pragma once

#include <QString>

// Shows the file at `path` selected in the desktop's file manager. Never blocks: on Linux the
// request goes over D-Bus asynchronously and falls back to opening the containing folder.
void revealInFileManager(const QString &path);

// The menu label for revealInFileManager, named after this platform's file manager.
QString revealActionLabel();
