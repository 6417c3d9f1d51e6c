#pragma once

#include <QString>

// The name of a duplicate: "Icons" -> "Icons 2", "Icons 2" -> "Icons 3", "Icons v2" -> "Icons v2
// 2".
QString incrementedName(const QString &name);
