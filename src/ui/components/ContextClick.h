#pragma once

class QAbstractItemView;

// Lets a right click on `view` open the clicked row's context menu without selecting that row:
// the menu acts on the row under the pointer, and the rows the user selected stay selected.
void keepSelectionOnContextClick(QAbstractItemView *view);
