#include "engine/Utilities.h"

#include "model/Diagnostics.h"
#include "model/IncrementedName.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QtConcurrent>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

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

// Runs one command in the login shell with our own environment, working folder and standard
// input; standard error always goes to ours. Returns false (after one diagnostic line) when the
// shell could not be started at all.
bool runInLoginShell(QProcess &process, const QString &command) {
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.start(Utilities::loginShell(), {QStringLiteral("-l"), QStringLiteral("-c"), command});
    if (!process.waitForStarted(-1)) {
        qCWarning(lcMirandel).noquote() << process.errorString();
        return false;
    }
    // No time limit: a lookup or installation takes as long as the user's shell needs.
    process.waitForFinished(-1);
    return true;
}

bool succeeded(const QProcess &process) {
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
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

std::optional<QString> Utilities::locateSVGO() const {
    return locate(QStringLiteral("svgo"));
}

std::optional<QString> Utilities::locateHomebrew() const {
    return locate(QStringLiteral("brew"));
}

std::optional<QString> Utilities::locate(const QString &tool) const {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (!runInLoginShell(process, QStringLiteral("type ") + tool))
        return std::nullopt;
    if (!succeeded(process))
        return std::nullopt;
    QString answer = QString::fromUtf8(process.readAllStandardOutput());
    // A shell that says nothing has not told us where the tool is, whatever its status.
    if (answer.isEmpty())
        return std::nullopt;
    answer.remove(tool + QStringLiteral(" is "));
    return answer;
}

QFuture<void> Utilities::installSVGO(std::function<void()> completion) const {
    return QtConcurrent::run([completion = std::move(completion)] {
        if (!Utilities().locateHomebrew())
            return;
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        if (!runInLoginShell(process, QStringLiteral("brew install svgo")))
            return;
        if (succeeded(process) && completion)
            completion();
    });
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
