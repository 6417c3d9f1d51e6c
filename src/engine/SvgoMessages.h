#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Reading what svgo prints. svgo is an outside program; these rules follow what it writes today
// and degrade to "nothing recognized" when it writes something else.
namespace SvgoMessages {

// Removes terminal escape sequences (colours, cursor moves), whether or not colours were asked for.
QString withoutEscapeCodes(const QString &text);

// The error text shown to the user for a failed file: escape codes and Node's stack frames
// removed, surrounding blank lines trimmed.
QString userMessage(const QByteArray &standardError);

// What a file's run says when the svgo at `program` could not be started at all: names the path,
// the system's reason and where to pick another.
QString cannotStart(const QString &program, const QString &reason);

// Whether svgo could not run because Node.js is missing: its launcher (`#!/usr/bin/env node`, or a
// wrapper script calling node) says so in its own words, which name no file and no fix.
bool isNodeMissing(const QString &message);

// The input that svgo's error names, as an index into `paths`: the one named first (svgo names
// the broken file before quoting its lines, which may hold other paths), the longest of those
// named there so that "/a/b.svg" is not taken for "/a/b.svg.svg". Errors that are not the
// file's fault (too many open files) name no input.
std::optional<int> failingInput(const QString &message, const QStringList &paths);

// Errors caused by the process's load rather than by a file: running again with fewer inputs helps.
bool isResourceExhaustion(const QString &message);

// Collects svgo's per-file reports from its standard output. When writing to files svgo prints,
// once each output is completely written, a blank line, the input's file name and a colon, then
// "Done in N ms!" and a size line.
class ReportReader {
public:
    // Feeds more standard output; returns the file names whose reports completed in it.
    QStringList feed(const QByteArray &bytes);

private:
    QByteArray m_pending;
    qsizetype m_scanned = 0; // bytes of m_pending known to hold no line end
    QString m_lastName;
};

} // namespace SvgoMessages
