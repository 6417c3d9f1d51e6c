#pragma once

#include <QCoreApplication>
#include <QFuture>
#include <QString>

// Whether a path names an svgo the optimizer can use: the program is run with --version (within
// the lookup time limit) and must answer with an svgo version number no older than 4.0.1. An
// svgo package the workers can load is taken at its manifest's word instead.
struct SvgoCheck {
    Q_DECLARE_TR_FUNCTIONS(SvgoCheck)

public:
    enum class Verdict {
        Works,
        Empty,
        NotAbsolute,
        NoSuchFile,
        Folder,
        NotExecutable,
        NotSvgo,
        TooOld,
        TimedOut,
    };

    QString path; // the checked path, `~/` expanded
    Verdict verdict = Verdict::Empty;
    QString version; // what the program answered, when it was a version number

    bool works() const { return verdict == Verdict::Works; }
    // One sentence for the user on why the path cannot be used; empty when it works.
    QString problem() const;

    // The oldest svgo accepted: 4.0.1 fixed a denial of service by crafted files, and 3.x
    // optimizes with other defaults.
    static constexpr int minimumVersion[3] = {4, 0, 1};

    // `~` and `~/…` become the home folder; anything else is kept exactly as typed (never
    // percent-decoded, never trimmed).
    static QString expandedPath(const QString &typed);

    // Runs the check on the calling thread, which it blocks for up to the time limit.
    static SvgoCheck run(const QString &typed);
    // The same on a worker thread.
    static QFuture<SvgoCheck> start(const QString &typed);
};
