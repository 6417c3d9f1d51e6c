#pragma once

#include "model/FileResult.h"
#include "model/SVGFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// The results of the last run by file id. Each result remembers the size and modification time
// its file had when the result was recorded, so a result can be dropped once the file changes:
// a row that is re-added or moved keeps its result only while the file is the one it describes.
class FileResults {
    Q_DECLARE_TR_FUNCTIONS(FileResults)
public:
    // A new run replaces everything recorded before.
    void replace(const QList<std::pair<QString, FileResult>> &results);
    // Changes one file's result after the run (an output written on request, say).
    void set(const QString &id, const FileResult &result) {
        m_results.insert(id, stampOf(id, result));
    }
    void clear() { m_results.clear(); }
    bool isEmpty() const { return m_results.isEmpty(); }

    const FileResult *find(const QString &id) const;
    // Drops the result of `id`; true when there was one.
    bool drop(const QString &id);
    // Drops the result of `id` when its file is no longer as it was recorded. True when dropped.
    bool dropIfChanged(const QString &id);

    // Totals over the results of `files` (rows without a result do not count).
    struct Totals {
        int optimized = 0;
        int failed = 0;
        int notRun = 0;
        int looksDifferent = 0;
        int alreadyOptimal = 0;
        qint64 before = 0; // of the optimized files
        qint64 after = 0;
        QStringList failedIds; // in row order
        // svgo's plugins left out of files whose drawing they changed, and in how many files
        QMap<QString, int> culprits;
    };
    Totals totals(const QList<SVGFile> &files) const;
    // "N files optimized, M failed · X → Y (saved Z %)"; empty when no row has a result.
    static QString summary(const Totals &totals);

    // "Looks different", "Already optimal", …: what a row's mark stands for.
    static QString statusText(FileResult::Status status);

    // What a "looks different" result means, sentence by sentence: why, how many pixels
    // changed, and what became of the file (file mode: left as it was; text mode: its original
    // is in the output).
    static QStringList reviewSentences(const FileResult &result);
    // The row's tooltip for such a result: the sentences above and how to use the output anyway.
    static QString reviewToolTip(const FileResult &result);
    // A row's tooltip beside a held-back output: its message, and for a file the searches
    // changed, both savings ("−31 % instead of −38 %") and the precision it got; empty when
    // there is nothing to say.
    static QString toolTip(const FileResult &result);

    // Texts of the table's result columns.
    static QString sizeText(qint64 bytes);
    static QString percentText(double percent);

private:
    struct Stamp {
        FileResult result;
        qint64 fileSize = -1;
        QDateTime modified;
    };
    static Stamp stampOf(const QString &id, const FileResult &result);

    QHash<QString, Stamp> m_results;
};
