#pragma once

#include <QFuture>
#include <QString>

#include <chrono>

// Installs svgo for the user, with Homebrew where it exists, else with npm into a folder of the
// user's own (no root, no sudo). Both run through the login shell on a worker thread.
struct SvgoInstallResult {
    QString svgoPath; // the svgo now installed, checked to work; empty on failure
    QString problem;  // for the user, when it failed

    bool succeeded() const { return !svgoPath.isEmpty(); }
};

namespace SvgoInstaller {

// "brew install svgo", then the login shell's svgo.
QFuture<SvgoInstallResult> withHomebrew();

// npm installs the pinned major version into a fresh folder beside npmPrefix(), which replaces
// npmPrefix() only once the new svgo answers; a failure leaves nothing behind.
QFuture<SvgoInstallResult> withNpm();

// ~/.local/share/mirandel/svgo; its bin/svgo is the installed program.
QString npmPrefix();

// Installations download and build; they get longer than a lookup (10 min). Tests shorten it.
std::chrono::milliseconds timeLimit();
void setTimeLimit(std::chrono::milliseconds limit);

} // namespace SvgoInstaller
