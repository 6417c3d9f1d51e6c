#pragma once

#include <QProcess>

#include <chrono>

// Runs a program to its end or to a time limit, whichever comes first, blocking the calling
// thread (never the UI thread). The program runs in a process group of its own, so a time-out
// also ends whatever it started (a login shell's `sleep` in .zprofile, a script's children).
namespace BoundedProcess {

enum class Outcome { Finished, FailedToStart, TimedOut };

// Starts `process` with the program and arguments already set on it. Its standard input is
// closed at once: nothing these programs do should wait for input.
Outcome run(QProcess &process, std::chrono::milliseconds limit);

// Whether the process ran to its end with status 0.
bool succeeded(const QProcess &process);

} // namespace BoundedProcess
