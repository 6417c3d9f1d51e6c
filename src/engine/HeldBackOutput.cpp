#include "engine/HeldBackOutput.h"

#include "engine/OriginalsBackup.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

QString HeldBackOutput::write(const QString &input, const QString &destination,
                              const QByteArray &output, OriginalsBackup &backup) {
    const QString target = QFileInfo(input).canonicalFilePath();
    if (target.isEmpty())
        return tr("%1 no longer exists").arg(QDir::toNativeSeparators(input));
    QDir().mkpath(QFileInfo(destination).absolutePath());
    const bool replacesInput =
        !target.isEmpty() && QFileInfo(destination).canonicalFilePath() == target;
    if (replacesInput) {
        if (const QString error = backup.keep(input, destination); !error.isEmpty())
            return error;
    }
    const QFile::Permissions permissions = QFile::permissions(destination);
    QSaveFile file(destination);
    if (!file.open(QIODevice::WriteOnly) || file.write(output) != output.size() || !file.commit())
        return tr("Cannot write %1: %2")
            .arg(QDir::toNativeSeparators(destination), file.errorString());
    if (permissions)
        QFile::setPermissions(destination, permissions);
    if (replacesInput)
        backup.recordResult(destination, OriginalsBackup::Stamp::of(destination));
    return QString();
}
