#pragma once

#include "app/BatchReport.h"
#include "model/Profile.h"
#include "model/SVGFile.h"

#include <QCoreApplication>

#include <optional>

// The command line for scripts and CI: optimizes (or checks) files with a stored profile and the
// same engine as the window, without one (nothing here needs a display).
//
//   mirandel --batch [--profile NAME] [--mode file|text] [--check] [--max-bytes N]
//                    [--report FILE [--report-format json|junit]] [-q] [-r] PATH…
//   mirandel --batch --audit [--profile NAME] [-q] [-r] PATH…
//   mirandel --batch --restore [--force] [-r] PATH…
//   mirandel --version
//
// Text output goes to standard output, per-file failures and notes to standard error. Exit
// status: 0 when every file was optimized or kept as it was on purpose (already optimal, looks
// different), 1 when any failed, 2 for bad usage or an unknown profile, 3 when checking found
// files that would change (and none failed), or the audit findings.
class BatchMode {
    Q_DECLARE_TR_FUNCTIONS(BatchMode)
public:
    // Whether the arguments ask for batch mode, help or the version; all are answered without a
    // window.
    static bool isRequested(int argc, char *argv[]);

    // Parses the arguments, runs and returns the exit status.
    static int run(int argc, char *argv[]);

private:
    class ProgressLine;
    // Prints what the files show as a set (see SetAudit), as they are and as `profile` would
    // optimize them; writes nothing.
    static int audit(const QList<SVGFile> &files, const QList<BatchRecord> &problems,
                     Profile profile, bool quiet);
    // Names on standard error each file that failed, would change or was kept as it was on
    // purpose (the latter as notes, unless `quiet`); true when any failed.
    static bool tell(const QList<BatchRecord> &records, bool checking, bool quiet);
    // Prints Mirandel's version and the svgo a run would use.
    static int showVersion();
    // Puts back the kept originals of the files in `paths`, through the same code as the
    // window's Restore Originals; files changed since their run only with `force`.
    static int restore(const QStringList &paths, bool force, bool recursive);
    // What a run takes (BatchModeInputs.cpp).
    // The stored profile named `wanted` (the default profile when empty); absent, after saying
    // which profiles there are, when none has that name.
    static std::optional<Profile> chooseProfile(const QString &wanted);
    // The files to optimize: files as given, folders by their SVG files (and their subfolders'
    // when `recursive`), each file once. Paths that are neither, folders that cannot be listed
    // and files whose names cannot be read go to `problems`.
    static QList<SVGFile> listFiles(const QStringList &paths, QList<BatchRecord> &problems,
                                    bool recursive);
};
