#include "engine/SvgoConfiguration.h"

#include "engine/FileReplacement.h"
#include "model/Diagnostics.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QTemporaryDir>

#include <algorithm>

namespace SvgoConfiguration {

namespace {

QString writeFile(const QString &path, const QByteArray &contents) {
    return FileReplacement::write(path, contents);
}

} // namespace

// How each option maps onto svgo 4.1 (preset-default as its defaults, so the built-in profile
// writes exactly svgo's own behaviour):
// - precision: the top-level floatPrecision, which svgo hands to every plugin that rounds; svgo
//   takes 0 to 20 digits.
// - multipass: the top-level multipass (up to ten passes while the output still shrinks).
// - keepViewBox: preset-default keeps the viewBox; off adds the removeViewBox plugin, which drops
//   it only where it equals the width and height.
// - keepTitleAndDesc: preset-default keeps <title> and removes empty and editor-written <desc>;
//   on turns removeDesc off, so every <desc> stays as well.
// - colorsToCurrentColor: convertColors with currentColor, which turns every colour except
//   "none" (outside masks) into currentColor.
// - removeDimensions: adds removeDimensions, which drops width and height (making a viewBox from
//   them when there is none).
// - removeScripts: adds removeScripts, which drops <script>, event handler attributes and
//   javascript: links.
QString text(const Profile &profile) {
    QStringList lines{QStringLiteral("// svgo configuration written by Mirandel."),
                      QStringLiteral("export default {")};
    if (profile.multipass)
        lines << QStringLiteral("  multipass: true,");
    // Automatic precision sets each optimization's precision itself.
    if (profile.precision && !profile.automaticPrecision)
        lines << QStringLiteral("  floatPrecision: %1,")
                     .arg(std::clamp<qint64>(*profile.precision, 0, 20));
    QStringList overrides;
    if (profile.keepTitleAndDesc)
        overrides << QStringLiteral("          removeDesc: false,");
    if (profile.colorsToCurrentColor)
        overrides << QStringLiteral("          convertColors: { currentColor: true },");
    QStringList plugins;
    if (overrides.isEmpty()) {
        plugins << QStringLiteral("    'preset-default',");
    } else {
        plugins << QStringLiteral("    {") << QStringLiteral("      name: 'preset-default',")
                << QStringLiteral("      params: {") << QStringLiteral("        overrides: {")
                << overrides << QStringLiteral("        },") << QStringLiteral("      },")
                << QStringLiteral("    },");
    }
    if (!profile.keepViewBox)
        plugins << QStringLiteral("    'removeViewBox',");
    if (profile.removeDimensions)
        plugins << QStringLiteral("    'removeDimensions',");
    if (profile.removeScripts)
        plugins << QStringLiteral("    'removeScripts',");
    lines << QStringLiteral("  plugins: [") << plugins << QStringLiteral("  ],")
          << QStringLiteral("};") << QString();
    return lines.join(u'\n');
}

QString effectiveFile(const Profile &profile, const QString &scratchFolder) {
    if (profile.svgoConfigFile)
        return profile.svgoConfigFile->toLocalFile();
    static QMutex mutex;
    const QMutexLocker lock(&mutex);
    QString folder = scratchFolder;
    if (folder.isEmpty()) {
        static QTemporaryDir own(QDir::tempPath() + QStringLiteral("/mirandel-svgo-XXXXXX"));
        folder = own.path();
    }
    const QByteArray contents = text(profile).toUtf8();
    const QString path = QDir(folder).filePath(
        QStringLiteral("svgo-%1.config.mjs")
            .arg(QString::fromLatin1(
                QCryptographicHash::hash(contents, QCryptographicHash::Sha1).toHex().left(12))));
    if (!QFile::exists(path))
        if (const QString error = writeFile(path, contents); !error.isEmpty())
            qCWarning(lcMirandel).noquote()
                << QStringLiteral("svgo configuration: cannot write %1: %2").arg(path, error);
    return path;
}

QString exportTo(const Profile &profile, const QString &path) {
    QByteArray contents = text(profile).toUtf8();
    if (profile.svgoConfigFile) {
        QFile source(profile.svgoConfigFile->toLocalFile());
        if (!source.open(QIODevice::ReadOnly))
            return QCoreApplication::translate("SvgoConfiguration",
                                               "Cannot read the configuration file %1: %2")
                .arg(QDir::toNativeSeparators(source.fileName()), source.errorString());
        contents = source.readAll();
    }
    return writeFile(path, contents);
}

} // namespace SvgoConfiguration
