#pragma once

#include <QFuture>
#include <QString>
#include <functional>
#include <optional>

// Shell-based tools several windows share: finding svgo and Homebrew through the user's login
// shell (so the search path the user's shell profile sets up is in force), installing svgo with
// Homebrew, copying text to the clipboard and numbering duplicated names.
//
// The class holds no state: the shared instance and a fresh one behave the same, and calls may
// overlap, each starting its own process.
class Utilities {
public:
    static Utilities &shared();

    // "/bin/zsh", or the user's login shell from the password database where there is no zsh.
    static QString loginShell();

    // Ask the login shell where svgo (or brew) is. Blocks the calling thread until the shell exits.
    // The answer is the shell's text with every "svgo is " ("brew is ") removed; its final line
    // feed is kept, so callers that store or show it trim it first. No answer when the shell
    // does not know the tool, prints nothing, or cannot be started.
    std::optional<QString> locateSVGO() const;
    std::optional<QString> locateHomebrew() const;

    // Runs "brew install svgo" in the login shell on a worker thread, with Homebrew's output going
    // to ours. Does nothing without Homebrew. The completion runs on that worker thread, and only
    // when the installation succeeded.
    QFuture<void> installSVGO(std::function<void()> completion) const;

    // Puts the text on the clipboard as plain text. Needs a running QGuiApplication and the GUI
    // thread, like every clipboard use.
    void copyToPasteboard(const QString &text) const;

    static QString incrementedName(const QString &name);

private:
    std::optional<QString> locate(const QString &tool) const;
};
