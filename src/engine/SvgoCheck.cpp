#include "engine/SvgoCheck.h"

#include "engine/BoundedProcess.h"
#include "engine/SvgoInstallation.h"
#include "engine/Utilities.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtConcurrent>

QString SvgoCheck::expandedPath(const QString &typed) {
    if (typed == QStringLiteral("~"))
        return QDir::homePath();
    if (typed.startsWith(QStringLiteral("~/")))
        return QDir::homePath() + typed.mid(1);
    return typed;
}

QString SvgoCheck::problem() const {
    const QString shown = QDir::toNativeSeparators(path);
    switch (verdict) {
    case Verdict::Works:
        return {};
    case Verdict::Empty:
        return tr("No path was entered.");
    case Verdict::NotAbsolute:
        return tr("%1 is not a full path; it has to start with / or ~/.").arg(shown);
    case Verdict::NoSuchFile:
        return tr("There is no file at %1.").arg(shown);
    case Verdict::Folder:
        return tr("%1 is a folder, not a program.").arg(shown);
    case Verdict::NotExecutable:
        return tr("%1 is not executable.").arg(shown);
    case Verdict::NotSvgo:
        return tr("%1 did not answer with an SVGO version number; it does not seem to be SVGO.")
            .arg(shown);
    case Verdict::TooOld:
        return tr("SVGO %1 is too old: Mirandel needs 4.0.1 or later, which fixed a denial of "
                  "service by crafted files (3.x also optimizes with other defaults).")
            .arg(version);
    case Verdict::TimedOut:
        return tr("%1 did not answer within %2 seconds.")
            .arg(shown)
            .arg((Utilities::timeLimit().count() + 999) / 1000);
    }
    return {};
}

SvgoCheck SvgoCheck::run(const QString &typed) {
    SvgoCheck check;
    check.path = expandedPath(typed);
    const QFileInfo info(check.path);
    if (check.path.isEmpty())
        return check;
    check.verdict = Verdict::NotAbsolute;
    if (info.isRelative())
        return check;
    check.verdict = Verdict::NoSuchFile;
    if (!info.exists())
        return check;
    check.verdict = Verdict::Folder;
    if (info.isDir())
        return check;
    check.verdict = Verdict::NotExecutable;
    if (!info.isExecutable())
        return check;

    // An svgo package the workers can load states its version in its manifest: asking the
    // program would start Node just for that, a third of a second that every call of a script
    // pays. Anything else (a wrapper, a command line of another kind) is asked.
    QString answer;
    if (const SvgoInstallation installation = SvgoInstallation::inspect(check.path);
        installation.engine() == SvgoInstallation::Engine::Worker) {
        answer = installation.version;
    } else {
        QProcess process;
        process.setProgram(check.path);
        process.setArguments({QStringLiteral("--version")});
        process.setProcessChannelMode(QProcess::SeparateChannels);
        const BoundedProcess::Outcome outcome =
            BoundedProcess::run(process, Utilities::timeLimit());
        if (outcome == BoundedProcess::Outcome::TimedOut) {
            check.verdict = Verdict::TimedOut;
            return check;
        }
        if (outcome != BoundedProcess::Outcome::Finished || !BoundedProcess::succeeded(process)) {
            check.verdict = Verdict::NotSvgo;
            return check;
        }
        answer = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }
    check.verdict = Verdict::NotSvgo;
    static const QRegularExpression versionPattern(
        QStringLiteral("^(\\d+)\\.(\\d+)\\.(\\d+)(?:[-+][0-9A-Za-z.+-]*)?$"));
    const QRegularExpressionMatch match = versionPattern.match(answer);
    if (!match.hasMatch())
        return check;
    check.version = answer;
    const int found[3] = {match.captured(1).toInt(), match.captured(2).toInt(),
                          match.captured(3).toInt()};
    const bool recentEnough = !std::lexicographical_compare(
        std::begin(found), std::end(found), std::begin(minimumVersion), std::end(minimumVersion));
    check.verdict = recentEnough ? Verdict::Works : Verdict::TooOld;
    return check;
}

QFuture<SvgoCheck> SvgoCheck::start(const QString &typed) {
    return QtConcurrent::run([typed] { return run(typed); });
}
