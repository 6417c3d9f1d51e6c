#include "engine/Utilities.h"

#include "engine/BoundedProcess.h"
#include "model/Diagnostics.h"
#include "model/IncrementedName.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>

#include <atomic>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

std::atomic<qint64> s_timeLimitMs{10000};

QString shellFromPasswordDatabase() {
#ifdef Q_OS_UNIX
    if (const passwd *entry = getpwuid(getuid()); entry && entry->pw_shell && *entry->pw_shell)
        return QString::fromLocal8Bit(entry->pw_shell);
    // An empty shell field means the traditional default.
    return QStringLiteral("/bin/sh");
#else
    return QStringLiteral("/bin/zsh");
#endif
}

} // namespace

Utilities &Utilities::shared() {
    static Utilities instance;
    return instance;
}

QString Utilities::loginShell() {
    static const QString shell = QFileInfo::exists(QStringLiteral("/bin/zsh"))
                                     ? QStringLiteral("/bin/zsh")
                                     : shellFromPasswordDatabase();
    return shell;
}

std::chrono::milliseconds Utilities::timeLimit() {
    return std::chrono::milliseconds(s_timeLimitMs.load());
}

void Utilities::setTimeLimit(std::chrono::milliseconds limit) {
    s_timeLimitMs.store(limit.count());
}

Utilities::ShellRun Utilities::runInLoginShell(const QString &command, const QStringList &arguments,
                                               std::chrono::milliseconds limit,
                                               bool captureErrors) {
    QProcess process;
    process.setProcessChannelMode(captureErrors ? QProcess::SeparateChannels
                                                : QProcess::ForwardedErrorChannel);
    process.setProgram(loginShell());
    // "$0" names the shell in its messages; the arguments follow as $1, $2, ….
    process.setArguments(QStringList{QStringLiteral("-l"), QStringLiteral("-c"), command,
                                     QFileInfo(loginShell()).fileName()} +
                         arguments);
    ShellRun run;
    switch (BoundedProcess::run(process, limit)) {
    case BoundedProcess::Outcome::FailedToStart:
        run.problem = QCoreApplication::translate("Utilities", "The login shell %1 could not be "
                                                               "started: %2")
                          .arg(loginShell(), process.errorString());
        return run;
    case BoundedProcess::Outcome::TimedOut: {
        const int seconds = int((limit.count() + 999) / 1000);
        run.problem = QCoreApplication::translate(
            "Utilities",
            "The login shell did not answer within %n seconds; check your shell profile "
            "(.zprofile).",
            nullptr, seconds);
        qCWarning(lcMirandel).noquote() << "login shell timed out:" << command;
        return run;
    }
    case BoundedProcess::Outcome::Finished:
        break;
    }
    run.succeeded = BoundedProcess::succeeded(process);
    run.output = process.readAllStandardOutput();
    run.errors = process.readAllStandardError();
    return run;
}

std::optional<QString> Utilities::locateSVGO(QString *problem) const {
    return locate(QStringLiteral("svgo"), problem);
}

std::optional<QString> Utilities::locateHomebrew(QString *problem) const {
    return locate(QStringLiteral("brew"), problem);
}

std::optional<QString> Utilities::locateNpm(QString *problem) const {
    return locate(QStringLiteral("npm"), problem);
}

std::optional<QString> Utilities::locate(const QString &tool, QString *problem) const {
    const ShellRun run = runInLoginShell(QStringLiteral("type ") + tool, {}, timeLimit());
    if (problem)
        *problem = run.problem;
    if (!run.succeeded)
        return std::nullopt;
    // A shell profile may print lines of its own first; the answer is the last line that
    // starts like one. Spaces and percent signs belong to the path.
    const QString prefix = tool + QStringLiteral(" is ");
    const QStringList lines = QString::fromUtf8(run.output).split(QLatin1Char('\n'));
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        if (line->startsWith(prefix)) {
            QString path = line->mid(prefix.size());
            if (path.endsWith(QLatin1Char('\r')))
                path.chop(1);
            if (path.isEmpty())
                break;
            return path;
        }
    }
    return std::nullopt;
}

void Utilities::copyToPasteboard(const QString &text) const {
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        qCWarning(lcMirandel).noquote()
            << QStringLiteral("Cannot copy to the clipboard without a GUI application");
        return;
    }
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

QString Utilities::incrementedName(const QString &name) {
    return ::incrementedName(name);
}
