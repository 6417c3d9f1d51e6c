#include "app/BatchReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamWriter>

namespace {

// -1 (unknown) is written as null, so a dashboard never adds it to a total.
QJsonValue bytes(qint64 value) {
    return value < 0 ? QJsonValue() : QJsonValue(value);
}

// XML 1.0 has no way to write most control characters, which a file name may hold.
QString xmlSafe(QString text) {
    for (QChar &c : text)
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            c = QChar::ReplacementCharacter;
    return text;
}

} // namespace

BatchRecord BatchRecord::of(const QString &path, const FileResult &outcome, bool checking,
                            qint64 maxBytes) {
    BatchRecord record;
    record.path = path;
    record.bytesBefore = outcome.sizeBefore;
    record.gzipBefore = outcome.gzipBefore;
    record.brotliBefore = outcome.brotliBefore;
    record.message = outcome.message;
    record.withoutPlugins = outcome.withoutPlugins;
    record.precision = outcome.precisionUsed;
    switch (outcome.status) {
    case FileResult::Status::Optimized:
        record.status = checking ? Status::WouldChange : Status::Optimized;
        record.bytesAfter = outcome.sizeAfter;
        record.gzipAfter = outcome.gzipAfter;
        record.brotliAfter = outcome.brotliAfter;
        break;
    case FileResult::Status::AlreadyOptimal:
    case FileResult::Status::LooksDifferent:
        // Kept as it was: after the run it is what it was before.
        record.status = outcome.status == FileResult::Status::AlreadyOptimal
                            ? Status::AlreadyOptimal
                            : Status::LooksDifferent;
        record.bytesAfter = outcome.sizeBefore;
        record.gzipAfter = outcome.gzipBefore;
        record.brotliAfter = outcome.brotliBefore;
        break;
    case FileResult::Status::Failed:
    case FileResult::Status::NotRun:
        record.status = Status::Failed;
        break;
    }
    if (maxBytes > 0 && !record.failed() && record.bytesAfter > maxBytes) {
        record.status = Status::OverBudget;
        record.message = BatchReport::tr("%1 bytes, more than the budget of %2 bytes.")
                             .arg(record.bytesAfter)
                             .arg(maxBytes);
    }
    return record;
}

BatchRecord BatchRecord::failure(const QString &path, const QString &message) {
    BatchRecord record;
    record.path = path;
    record.message = message;
    return record;
}

QString BatchRecord::statusName(Status status) {
    switch (status) {
    case Status::Optimized:
        return QStringLiteral("optimized");
    case Status::WouldChange:
        return QStringLiteral("would-change");
    case Status::AlreadyOptimal:
        return QStringLiteral("already-optimal");
    case Status::LooksDifferent:
        return QStringLiteral("looks-different");
    case Status::OverBudget:
        return QStringLiteral("over-budget");
    case Status::Failed:
        break;
    }
    return QStringLiteral("failed");
}

QByteArray BatchReport::json(const Run &run) {
    QJsonArray files;
    QJsonObject counts;
    qint64 totals[6] = {0, 0, 0, 0, 0, 0};
    for (const BatchRecord &record : run.records) {
        const QString status = BatchRecord::statusName(record.status);
        QJsonObject file{{QStringLiteral("path"), record.path},
                         {QStringLiteral("status"), status},
                         {QStringLiteral("bytesBefore"), bytes(record.bytesBefore)},
                         {QStringLiteral("bytesAfter"), bytes(record.bytesAfter)},
                         {QStringLiteral("gzipBefore"), bytes(record.gzipBefore)},
                         {QStringLiteral("gzipAfter"), bytes(record.gzipAfter)},
                         {QStringLiteral("brotliBefore"), bytes(record.brotliBefore)},
                         {QStringLiteral("brotliAfter"), bytes(record.brotliAfter)},
                         {QStringLiteral("message"), record.message}};
        if (!record.withoutPlugins.isEmpty())
            file.insert(QStringLiteral("withoutPlugins"),
                        QJsonArray::fromStringList(record.withoutPlugins));
        if (record.precision >= 0)
            file.insert(QStringLiteral("precision"), record.precision);
        files.append(file);
        counts[status] = counts.value(status).toInteger() + 1;
        // The totals add up files whose sizes before and after are both known.
        const qint64 sizes[6] = {record.bytesBefore, record.bytesAfter,   record.gzipBefore,
                                 record.gzipAfter,   record.brotliBefore, record.brotliAfter};
        for (int k = 0; k < 6; k += 2)
            if (sizes[k] >= 0 && sizes[k + 1] >= 0) {
                totals[k] += sizes[k];
                totals[k + 1] += sizes[k + 1];
            }
    }
    const QJsonObject document{
        {QStringLiteral("mirandel"), run.mirandelVersion},
        {QStringLiteral("svgo"), QJsonObject{{QStringLiteral("path"), run.svgoPath},
                                             {QStringLiteral("version"), run.svgoVersion}}},
        {QStringLiteral("profile"), run.profile},
        {QStringLiteral("mode"), run.mode},
        {QStringLiteral("exitStatus"), run.exitStatus},
        {QStringLiteral("files"), files},
        {QStringLiteral("totals"),
         QJsonObject{{QStringLiteral("files"), qint64(run.records.size())},
                     {QStringLiteral("statuses"), counts},
                     {QStringLiteral("bytesBefore"), totals[0]},
                     {QStringLiteral("bytesAfter"), totals[1]},
                     {QStringLiteral("gzipBefore"), totals[2]},
                     {QStringLiteral("gzipAfter"), totals[3]},
                     {QStringLiteral("brotliBefore"), totals[4]},
                     {QStringLiteral("brotliAfter"), totals[5]}}}};
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

QByteArray BatchReport::junit(const Run &run) {
    // One test case per file: failures and files that would change fail it, files kept because
    // they look different are skipped, the rest pass.
    int failures = 0;
    int skipped = 0;
    for (const BatchRecord &record : run.records) {
        if (record.failed() || record.status == BatchRecord::Status::WouldChange)
            ++failures;
        else if (record.status == BatchRecord::Status::LooksDifferent)
            ++skipped;
    }
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("testsuites"));
    writer.writeStartElement(QStringLiteral("testsuite"));
    writer.writeAttribute(QStringLiteral("name"), QStringLiteral("mirandel ") + run.mode);
    writer.writeAttribute(QStringLiteral("tests"), QString::number(run.records.size()));
    writer.writeAttribute(QStringLiteral("failures"), QString::number(failures));
    writer.writeAttribute(QStringLiteral("errors"), QStringLiteral("0"));
    writer.writeAttribute(QStringLiteral("skipped"), QString::number(skipped));
    for (const BatchRecord &record : run.records) {
        writer.writeStartElement(QStringLiteral("testcase"));
        writer.writeAttribute(QStringLiteral("classname"), xmlSafe(run.profile));
        writer.writeAttribute(QStringLiteral("name"), xmlSafe(record.path));
        const QString status = BatchRecord::statusName(record.status);
        QString detail = status;
        if (record.bytesBefore >= 0 && record.bytesAfter >= 0)
            detail +=
                QStringLiteral(": %1 -> %2 bytes").arg(record.bytesBefore).arg(record.bytesAfter);
        if (record.failed() || record.status == BatchRecord::Status::WouldChange) {
            writer.writeStartElement(QStringLiteral("failure"));
            writer.writeAttribute(QStringLiteral("type"), status);
            writer.writeAttribute(QStringLiteral("message"),
                                  xmlSafe(record.message.isEmpty() ? detail : record.message));
            writer.writeCharacters(detail);
            writer.writeEndElement();
        } else if (record.status == BatchRecord::Status::LooksDifferent) {
            writer.writeStartElement(QStringLiteral("skipped"));
            writer.writeAttribute(QStringLiteral("message"), xmlSafe(record.message));
            writer.writeEndElement();
        } else {
            writer.writeTextElement(QStringLiteral("system-out"), detail);
        }
        writer.writeEndElement();
    }
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndDocument();
    return xml;
}
