#pragma once

#include <QString>
#include <QStringList>

// The name of a duplicate: "Icons" -> "Icons 2", "Icons 2" -> "Icons 3", "Icons v2" -> "Icons v2
// 2".
QString incrementedName(const QString &name);

// Whether two names are the same name to the user: case and blanks at either end do not count.
bool sameName(const QString &a, const QString &b);
// `wanted` itself when no name in `taken` is the same, otherwise the first name in its numbering
// ("Icons 2", "Icons 3", ...) that is free.
QString freeName(const QString &wanted, const QStringList &taken);
