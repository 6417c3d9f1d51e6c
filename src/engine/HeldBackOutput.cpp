#include "engine/HeldBackOutput.h"

#include "engine/FileReplacement.h"
#include "engine/OriginalsBackup.h"

#include <QDir>
#include <QFileInfo>

QString HeldBackOutput::write(const QString &input, const QString &destination,
                              const QByteArray &output, OriginalsBackup &backup) {
    const QString target = QFileInfo(input).canonicalFilePath();
    if (target.isEmpty())
        return tr("%1 no longer exists").arg(QDir::toNativeSeparators(input));
    QDir().mkpath(QFileInfo(destination).absolutePath());
    const bool replacesInput = QFileInfo(destination).canonicalFilePath() == target;
    if (!replacesInput)
        return FileReplacement::write(destination, output);
    if (const QString error = backup.keep(input, target); !error.isEmpty())
        return error;
    const QString error = FileReplacement::write(target, output, {}, [&](const QString &temporary) {
        return backup.record(target, OriginalsBackup::Stamp::of(temporary));
    });
    if (!error.isEmpty())
        backup.drop(target);
    return error;
}
