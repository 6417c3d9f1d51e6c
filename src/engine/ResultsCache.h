#pragma once

#include "model/FileResult.h"

#include <QByteArray>
#include <QString>

#include <optional>

// What svgo and the review made of a file, kept on disk so that a later run over the same bytes
// with the same svgo, configuration and review options is answered without starting svgo or
// drawing anything: pressing Optimize again after changing only a wrapper, or CI over a
// repository where one icon changed.
//
// An answer is found by a hash of the input's bytes and of the run's `context`: everything else
// that decides the answer (svgo's version, the configuration's bytes, the program's build, the
// review options, the language of the messages). Any change there gives other keys, so the old
// answers are simply never found again and age out. Each entry carries its key and a checksum; a
// damaged or truncated entry is removed and counts as not found. Entries are written to a
// temporary name and renamed, so a reader sees a whole entry or none.
//
// The folder is kept under `limit` bytes: once it holds more, the entries used longest ago go
// first. A full disk or an unwritable folder only means nothing is remembered.
//
// One object serves one run on one thread; several runs may share a folder.
class ResultsCache {
public:
    static constexpr qint64 defaultLimit = 256LL * 1024 * 1024;

    // The cache folder's "results".
    static QString defaultFolder();

    ResultsCache(QString folder, const QByteArray &context, qint64 limit = defaultLimit);
    ~ResultsCache(); // trims the folder when this run added to it

    struct Answer {
        // status, message, changedPixels and comparedAt as the review gave them; sizeAfter and
        // differentOutput follow from `output`
        FileResult review;
        QByteArray output; // svgo's output
    };
    std::optional<Answer> find(const QByteArray &input) const;
    // Only answers that do not depend on the moment are kept: optimized, already optimal and
    // looks different (not failures, which may be a busy machine's time limit).
    void store(const QByteArray &input, const FileResult &review, const QByteArray &output);

    // Drops the entries used longest ago until the folder holds at most `limit` bytes.
    void trim() const;

private:
    QByteArray keyOf(const QByteArray &input) const;
    QString pathOf(const QByteArray &key) const;

    QString m_folder;
    QByteArray m_context; // a hash of the context
    qint64 m_limit;
    qint64 m_added = 0; // bytes this object wrote
};
