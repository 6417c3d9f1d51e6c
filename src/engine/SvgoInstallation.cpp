#include "engine/SvgoInstallation.h"

#include "engine/ShippedTools.h"
#include "engine/SvgoConfiguration.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

namespace {

// The svgo major version whose module interface the worker knows.
constexpr int supportedMajor = 4;

QString findNode(const QString &svgoPath) {
    // Package managers put node next to the svgo link (Homebrew, npm's global folder); a desktop
    // session's PATH often lacks those folders.
    const QString beside = QFileInfo(svgoPath).absolutePath() + QStringLiteral("/node");
    if (QFileInfo(beside).isExecutable())
        return beside;
    for (const QString &name : {QStringLiteral("node"), QStringLiteral("nodejs")}) {
        QString found = QStandardPaths::findExecutable(name);
        if (found.isEmpty())
            found = QStandardPaths::findExecutable(name, {QStringLiteral("/opt/homebrew/bin"),
                                                          QStringLiteral("/usr/local/bin"),
                                                          QStringLiteral("/usr/bin")});
        if (!found.isEmpty())
            return found;
    }
    return {};
}

} // namespace

SvgoInstallation SvgoInstallation::inspect(const QString &svgoPath) {
    SvgoInstallation installation;
    installation.executable =
        svgoPath.isEmpty() ? QString() : QFileInfo(svgoPath).absoluteFilePath();
    const QString resolved = QFileInfo(installation.executable).canonicalFilePath();
    if (resolved.isEmpty()) {
        installation.whyNoWorker =
            QCoreApplication::translate("SvgoInstallation", "svgo not found");
        return installation;
    }
    // bin/svgo.js inside the package; look a few folders up for its manifest.
    QDir folder = QFileInfo(resolved).dir();
    QJsonObject manifest;
    for (int level = 0; level < 3 && installation.packageFolder.isEmpty(); ++level) {
        QFile file(folder.filePath(QStringLiteral("package.json")));
        if (file.open(QIODevice::ReadOnly)) {
            manifest = QJsonDocument::fromJson(file.readAll()).object();
            if (manifest.value(QStringLiteral("name")).toString() == QLatin1String("svgo"))
                installation.packageFolder = folder.absolutePath();
        }
        if (!folder.cdUp())
            break;
    }
    if (installation.packageFolder.isEmpty()) {
        installation.whyNoWorker =
            QCoreApplication::translate("SvgoInstallation", "not an svgo Node package");
        return installation;
    }
    installation.version = manifest.value(QStringLiteral("version")).toString();
    const QString entry = manifest.value(QStringLiteral("exports"))
                              .toObject()
                              .value(QStringLiteral("."))
                              .toObject()
                              .value(QStringLiteral("import"))
                              .toString(QStringLiteral("./lib/svgo-node.js"));
    installation.node = findNode(installation.executable);
    installation.worker = ShippedTools::file(QStringLiteral("svgo-worker.mjs"));
    if (installation.version.section(QLatin1Char('.'), 0, 0).toInt() != supportedMajor)
        installation.whyNoWorker =
            QCoreApplication::translate("SvgoInstallation", "svgo %1 is not version 4")
                .arg(installation.version);
    else if (!QFileInfo::exists(QDir(installation.packageFolder).filePath(entry)))
        installation.whyNoWorker =
            QCoreApplication::translate("SvgoInstallation", "svgo's module is missing");
    else if (installation.node.isEmpty())
        installation.whyNoWorker =
            QCoreApplication::translate("SvgoInstallation", "node not found");
    else if (installation.worker.isEmpty())
        installation.whyNoWorker =
            QCoreApplication::translate("SvgoInstallation", "the worker script is not installed");
    return installation;
}

QString svgoConfigFile(const Profile &profile) {
    // The profile's own file, or one written from its svgo options.
    return SvgoConfiguration::effectiveFile(profile);
}
