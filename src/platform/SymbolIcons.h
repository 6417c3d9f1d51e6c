#pragma once

#include <QIcon>
#include <QString>

// The icon for one of the symbol names the windows use ("plus", "minus", "ellipsis.circle",
// "sidebar.right", "doc.on.clipboard", "gear", "doc.badge.gearshape",
// "arrow.triangle.2.circlepath", "gearshape.2"). The desktop icon theme wins where it has a
// fitting icon; otherwise a bundled monochrome drawing tinted with the palette's text colour.
// Unknown names give a null icon.
QIcon symbolIcon(const QString &symbolName);
