#pragma once

#include <QString>

// A run writes its outputs into a private ".mirandel-XXXXXX" folder beside the files it
// replaces and removes that folder when it ends. A run that crashed leaves its folder behind;
// the next run writing into the same folder removes it.
//
// A run holds a shared lock on each of its private folders for as long as the folder exists, so
// another run (in this process or another one) sees that the folder is in use and leaves it.
namespace StaleRunFolders {

// Called with a path inside one of the current run's private folders: locks that folder (once),
// then removes the leftover private folders beside it. Paths in other folders are ignored.
void claim(const QString &pathInRunFolder);

} // namespace StaleRunFolders
