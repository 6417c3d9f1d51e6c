#include "engine/HeldBackOutput.h"

#include "engine/OriginalsBackup.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

QString HeldBackOutput::write(const QString &input, const QByteArray &output,
                              const std::optional<QString> &outputFolder, OriginalsBackup &backup) {
    // A symlinked input keeps its link: the file it points to takes the output.
    const QString target = QFileInfo(input).canonicalFilePath();
    if (target.isEmpty() && !outputFolder)
        return tr("%1 no longer exists").arg(QDir::toNativeSeparators(input));
    const QString destination =
        outputFolder ? QDir(*outputFolder).filePath(QFileInfo(input).fileName()) : target;
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
