#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

// Shell-based tools several windows share: finding svgo, Homebrew and npm through the user's
// login shell (so the search path the user's shell profile sets up is in force), copying text to
// the clipboard and numbering duplicated names.
//
// The class holds no state: the shared instance and a fresh one behave the same, and calls may
// overlap, each starting its own process. Every shell command blocks the calling thread, so the
// windows call them from worker threads.
class Utilities {
public:
    static Utilities &shared();

    // "/bin/zsh", or the user's login shell from the password database where there is no zsh.
    static QString loginShell();

    // How long a lookup may take before it is given up (10 s). Tests shorten it.
    static std::chrono::milliseconds timeLimit();
    static void setTimeLimit(std::chrono::milliseconds limit);

    struct ShellRun {
        bool succeeded = false; // ran to its end with status 0
        QByteArray output;      // standard output
        QByteArray errors;      // standard error, when captured
        QString problem;        // for the user when it did not even run to its end, else empty
    };
    // Runs `command` in the login shell; `arguments` become $1, $2, … so they need no quoting.
    // Standard error goes to ours unless `captureErrors`.
    static ShellRun runInLoginShell(const QString &command, const QStringList &arguments,
                                    std::chrono::milliseconds limit, bool captureErrors = false);

    // Asks the login shell where svgo (brew, npm) is: the path from its "svgo is /path" answer,
    // without the line feed. No answer when the shell does not know the tool, does not answer in
    // time (`problem` then says so) or cannot be started. Lines a shell profile prints before the
    // answer are not part of it.
    std::optional<QString> locateSVGO(QString *problem = nullptr) const;
    std::optional<QString> locateHomebrew(QString *problem = nullptr) const;
    std::optional<QString> locateNpm(QString *problem = nullptr) const;

    // Puts the text on the clipboard as plain text. Needs a running QGuiApplication and the GUI
    // thread, like every clipboard use.
    void copyToPasteboard(const QString &text) const;

    static QString incrementedName(const QString &name);

private:
    std::optional<QString> locate(const QString &tool, QString *problem) const;
};
