#pragma once

#include "model/FileResult.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

// What a batch run did to each file, for standard error and for the machine-readable report
// (--report): a JSON document, or JUnit XML for CI systems that show test results.
struct BatchRecord {
    // The stable names the JSON and JUnit reports carry.
    enum class Status {
        Optimized,
        WouldChange,
        AlreadyOptimal,
        LooksDifferent,
        OverBudget,
        Failed
    };
    QString path;
    Status status = Status::Failed;
    // Bytes of the file before the run, and after it as it is (or, checking, as it would be);
    // -1 where unknown. A file kept as it was has its own size after.
    qint64 bytesBefore = -1;
    qint64 bytesAfter = -1;
    // The same compressed as a browser downloads them, where the run measured them.
    qint64 gzipBefore = -1;
    qint64 gzipAfter = -1;
    qint64 brotliBefore = -1;
    qint64 brotliAfter = -1;
    QString message;
    QStringList withoutPlugins; // svgo's plugins left out because they changed the drawing
    int precision = -1;         // the precision chosen for the file; -1 when none was

    // One record from a run's outcome; `checking` names an optimized file one that would change,
    // `maxBytes` (when positive) marks outputs above it as over the budget.
    static BatchRecord of(const QString &path, const FileResult &outcome, bool checking,
                          qint64 maxBytes);
    static BatchRecord failure(const QString &path, const QString &message);
    static QString statusName(Status status);
    bool failed() const { return status == Status::Failed || status == Status::OverBudget; }
};

class BatchReport {
    Q_DECLARE_TR_FUNCTIONS(BatchReport)
public:
    struct Run {
        QString mirandelVersion;
        QString svgoPath;
        QString svgoVersion;
        QString profile;
        QString mode; // "file", "text" or "check"
        int exitStatus = 0;
        QList<BatchRecord> records;
    };
    static QByteArray json(const Run &run);
    static QByteArray junit(const Run &run);
};
