#include "engine/SvgoInstaller.h"

#include "engine/SvgoCheck.h"
#include "engine/Utilities.h"
#include "model/Diagnostics.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtConcurrent>

#include <atomic>

namespace {

std::atomic<qint64> s_timeLimitMs{10 * 60 * 1000};

// The texts are marked for translation where they are written, under this context.
QString translated(const char *text) {
    return QCoreApplication::translate("SvgoInstaller", text);
}

// The last few lines the tool printed on failure: the lines that say what went wrong.
QString tail(const QByteArray &errors) {
    QStringList lines = QString::fromUtf8(errors).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.size() > 4)
        lines = lines.mid(lines.size() - 4);
    return lines.join(QLatin1Char('\n')).trimmed();
}

SvgoInstallResult failed(const QString &what, const Utilities::ShellRun &run) {
    SvgoInstallResult installation;
    installation.problem = run.problem.isEmpty() ? what : run.problem;
    if (const QString details = tail(run.errors); run.problem.isEmpty() && !details.isEmpty())
        installation.problem += QStringLiteral("\n\n") + details;
    qCWarning(lcMirandel).noquote()
        << "svgo installation failed:" << QString(installation.problem).replace('\n', ' ');
    return installation;
}

} // namespace

namespace SvgoInstaller {

std::chrono::milliseconds timeLimit() {
    return std::chrono::milliseconds(s_timeLimitMs.load());
}

void setTimeLimit(std::chrono::milliseconds limit) {
    s_timeLimitMs.store(limit.count());
}

QString npmPrefix() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/mirandel/svgo");
}

QFuture<SvgoInstallResult> withHomebrew() {
    return QtConcurrent::run([] {
        const Utilities::ShellRun run =
            Utilities::runInLoginShell(QStringLiteral("brew install svgo"), {}, timeLimit(), true);
        if (!run.succeeded)
            return failed(
                translated(QT_TRANSLATE_NOOP("SvgoInstaller", "Homebrew could not install SVGO.")),
                run);
        SvgoInstallResult installation;
        const SvgoCheck check =
            SvgoCheck::run(Utilities::shared().locateSVGO(&installation.problem).value_or(""));
        if (check.works())
            installation.svgoPath = check.path;
        else if (installation.problem.isEmpty())
            installation.problem = check.problem();
        return installation;
    });
}

QFuture<SvgoInstallResult> withNpm() {
    return QtConcurrent::run([] {
        const QString prefix = npmPrefix();
        const QString parent = QFileInfo(prefix).absolutePath();
        QDir().mkpath(parent);
        // Beside the final folder, so the finished installation moves in with one rename.
        QTemporaryDir staging(parent + QStringLiteral("/.svgo-installing-XXXXXX"));
        if (!staging.isValid()) {
            SvgoInstallResult installation;
            installation.problem =
                translated(QT_TRANSLATE_NOOP("SvgoInstaller", "Cannot write into %1: %2"))
                    .arg(QDir::toNativeSeparators(parent), staging.errorString());
            return installation;
        }
        const Utilities::ShellRun run = Utilities::runInLoginShell(
            QStringLiteral("npm install --global --no-audit --no-fund --loglevel=error "
                           "--prefix \"$1\" svgo@4"),
            {staging.path()}, timeLimit(), true);
        if (!run.succeeded)
            return failed(
                translated(QT_TRANSLATE_NOOP("SvgoInstaller", "npm could not install SVGO.")), run);
        if (const SvgoCheck check = SvgoCheck::run(staging.path() + QStringLiteral("/bin/svgo"));
            !check.works()) {
            SvgoInstallResult installation;
            installation.problem =
                translated(
                    QT_TRANSLATE_NOOP("SvgoInstaller",
                                      "npm finished, but the SVGO it installed does not work: %1"))
                    .arg(check.problem());
            return installation;
        }
        // The previous installation goes only once the new one is in place; npm links bin/svgo
        // relatively, so the moved folder keeps working.
        QTemporaryDir previous(parent + QStringLiteral("/.svgo-previous-XXXXXX"));
        const bool hadOne = QFileInfo::exists(prefix);
        if (hadOne && !QDir().rename(prefix, previous.path() + QStringLiteral("/svgo"))) {
            SvgoInstallResult installation;
            installation.problem =
                translated(QT_TRANSLATE_NOOP("SvgoInstaller", "Cannot replace %1."))
                    .arg(QDir::toNativeSeparators(prefix));
            return installation;
        }
        if (!QDir().rename(staging.path(), prefix)) {
            if (hadOne)
                QDir().rename(previous.path() + QStringLiteral("/svgo"), prefix);
            SvgoInstallResult installation;
            installation.problem =
                translated(
                    QT_TRANSLATE_NOOP("SvgoInstaller", "Cannot move the installation to %1."))
                    .arg(QDir::toNativeSeparators(prefix));
            return installation;
        }
        staging.setAutoRemove(false);
        SvgoInstallResult installation;
        installation.svgoPath = prefix + QStringLiteral("/bin/svgo");
        return installation;
    });
}

} // namespace SvgoInstaller
