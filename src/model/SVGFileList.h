#pragma once

#include "model/FileResults.h"
#include "model/SVGFile.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QUrl>

#include <functional>

class QMimeData;

// The ordered file list of one main window, with its selection and the results of its runs. The
// order is the order the optimizer receives. Every operation runs on the UI thread, so each add
// is one indivisible check-and-append. SVGFileTableModel shows it as a table; the signals below
// tell it about every change of the rows before and after it happens.
class SVGFileList : public QObject {
    Q_OBJECT
public:
    explicit SVGFileList(QObject *parent = nullptr);

    const QList<SVGFile> &files() const { return m_files; }
    bool contains(const QString &id) const { return m_ids.contains(id); }
    int rowOf(const QString &id) const; // -1 when absent; linear

    // Identifiers of the selected rows. The list keeps them; views mirror them.
    const QSet<QString> &selection() const { return m_selection; }
    void setSelection(const QSet<QString> &ids);

    // Adds the file unless an entry with the same plain path is listed. Checks neither the
    // extension nor whether the file exists.
    void addFile(const QUrl &url);
    // Adds the visible files inside the folder and its visible subfolders whose names end in
    // ".svg" (lower case), in the order of listSVGFiles(). False (and one line on standard output)
    // when the folder cannot be listed; the list is then unchanged.
    bool addFolder(const QUrl &url);
    // The open panel's choice: names ending in ".svg" are added as files, everything else is
    // taken for a folder.
    void importFiles(const QList<QUrl> &urls);
    // The open panel failed: the description goes to standard output, nothing else happens.
    void importFiles(const QString &errorDescription);
    // Items dropped on the window: folders are added with addFolder, SVG files (by content or
    // extension) with addFile, the rest is ignored. True when at least one item was a folder or
    // an SVG file.
    bool dropItems(const QMimeData *data);
    // Whether a drag carries at least one folder or SVG file, for accepting it while it hovers.
    static bool hasDroppableItems(const QMimeData *data);

    void removeSelectedFiles();           // then empties the selection
    void removeFile(const SVGFile &file); // entries equal in all fields; selection unchanged
    // Takes the entries with the ids of `files` out and inserts `files` at `row`, a drop position
    // counted against the list before the move (-1 or past the end: append). Rows taken from
    // above the position do not count, so the files land where the user dropped them.
    void insertFiles(const QList<SVGFile> &files, int row);
    // Puts the files in a new order: the file at row `oldRows[i]` goes to row i. `oldRows` must
    // name every row once.
    void reorder(const QList<int> &oldRows);

    // The outcomes of a run, one per file id; they replace every earlier result. Files of the
    // run that are not listed (any more) keep theirs for when they are added again unchanged.
    void setResults(const QList<std::pair<QString, FileResult>> &results);
    void setResult(const QString &id, const FileResult &result);
    // Sets the results of some files, keeping the others'.
    void addResults(const QList<std::pair<QString, FileResult>> &results);
    void clearResults();
    const FileResult *result(const QString &id) const { return m_results.find(id); }
    // Drops the results of the given rows' files that changed since, or all of them with
    // `dropAll` (files put back as they were before the run: the results no longer apply).
    void refreshResults(const QStringList &ids, bool dropAll = false);
    FileResults::Totals resultTotals() const { return m_results.totals(m_files); }
    // "N files optimized, M failed · X → Y (saved Z %)" over the listed rows; empty before a run.
    QString resultsSummary() const { return FileResults::summary(resultTotals()); }
    QStringList failedIds() const { return resultTotals().failedIds; }

signals:
    void selectionChanged();
    // Files of an added folder could not be listed; `message` says how many and why.
    void filesSkipped(const QString &message);
    // Results were set, cleared or dropped.
    void resultsChanged();
    // What is shown for rows first..last (results, sizes read from disk) may have changed.
    void rowsRefreshed(int first, int last);
    void rowsAboutToBeAdded(int first, int last);
    void rowsAdded();
    void rowsAboutToBeRemoved(int first, int last);
    void rowsRemoved();
    void aboutToReset();
    void resetDone();
    void aboutToReorder();
    // newRowOf[old row] is the row the file moved to.
    void reordered(const QList<int> &newRowOf);

private:
    // Records the id unless it is listed; true when it was new.
    bool claimId(const QString &id);
    // Appends entries whose ids the caller has claimed.
    void append(QList<SVGFile> files);
    void removeRowsWhere(const std::function<bool(const SVGFile &)> &predicate);
    // Drops the results of files that came back changed; true when any was dropped.
    bool dropChangedResults(const QList<SVGFile> &files);
    void refreshAllRows() { emit rowsRefreshed(0, int(m_files.size()) - 1); }

    QList<SVGFile> m_files;
    QSet<QString> m_ids; // ids of m_files, so that duplicate checks stay constant-time
    QSet<QString> m_selection;
    FileResults m_results;
};
