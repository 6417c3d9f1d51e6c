#include "engine/ShippedTools.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ShippedTools {

QString folder() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QStringList candidates = {
        programFolder + QStringLiteral("/../lib/mirandel"),
        programFolder + QStringLiteral("/lib/mirandel"),
#ifdef MIRANDEL_BUILD_TOOLS_DIR
        // Test and benchmark programs sit in subfolders of the build tree.
        QStringLiteral(MIRANDEL_BUILD_TOOLS_DIR),
#endif
    };
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate).isDir())
            return QDir::cleanPath(candidate);
    }
    return {};
}

QString file(const QString &name) {
    const QString base = folder();
    if (base.isEmpty())
        return {};
    const QString path = base + QLatin1Char('/') + name;
    return QFileInfo::exists(path) ? path : QString();
}

QString svgoPath() {
    return file(QStringLiteral("node_modules/.bin/svgo"));
}

} // namespace ShippedTools
