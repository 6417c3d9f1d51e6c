#include "model/SVGFileList.h"

#include "model/Diagnostics.h"
#include "model/FolderListing.h"

namespace {

// Beyond this many separate runs of rows, one reset is cheaper than a removal per run.
constexpr qsizetype maxRemovalRuns = 256;

} // namespace

SVGFileList::SVGFileList(QObject *parent) : QObject(parent) {}

int SVGFileList::rowOf(const QString &id) const {
    if (!m_ids.contains(id))
        return -1;
    for (qsizetype row = 0; row < m_files.size(); ++row)
        if (m_files.at(row).id == id)
            return int(row);
    return -1;
}

void SVGFileList::setSelection(const QSet<QString> &ids) {
    if (ids == m_selection)
        return;
    m_selection = ids;
    emit selectionChanged();
}

void SVGFileList::addFile(const QUrl &url) {
    SVGFile file = SVGFile::fromUrl(url);
    if (claimId(file.id))
        append({std::move(file)});
}

bool SVGFileList::addFolder(const QUrl &url) {
    const QString folder = plainPath(url);
    QString problem;
    QStringList unaddressable;
    std::optional<QStringList> paths = listSVGFiles(folder, &problem, &unaddressable);
    if (!unaddressable.isEmpty())
        emit filesSkipped(skippedNamesMessage(int(unaddressable.size())));
    if (!paths) {
        qCWarning(lcMirandel).noquote()
            << QStringLiteral("Cannot list the folder \"%1\": %2.").arg(folder, problem);
        return false;
    }

    QList<SVGFile> fresh;
    fresh.reserve(paths->size());
    m_ids.reserve(m_ids.size() + paths->size());
    for (QString &path : *paths) {
        if (!claimId(path))
            continue;
        QUrl fileUrl = QUrl::fromLocalFile(path);
        QString name = path.sliced(path.lastIndexOf(u'/') + 1);
        fresh.append({std::move(path), std::move(name), std::move(fileUrl)});
    }
    append(std::move(fresh));
    return true;
}

void SVGFileList::importFiles(const QList<QUrl> &urls) {
    for (const QUrl &url : urls) {
        // Access to a chosen file is always granted outside a sandbox, so the file is added
        // directly.
        if (url.isLocalFile() && hasSVGExtension(SVGFile::fromUrl(url).fileName))
            addFile(url);
        else
            addFolder(url);
    }
}

void SVGFileList::importFiles(const QString &errorDescription) {
    qCWarning(lcMirandel).noquote() << errorDescription;
}

void SVGFileList::removeSelectedFiles() {
    if (m_selection.isEmpty())
        return;
    removeRowsWhere([this](const SVGFile &file) { return m_selection.contains(file.id); });
    m_selection.clear();
    emit selectionChanged();
}

void SVGFileList::removeFile(const SVGFile &file) {
    if (m_ids.contains(file.id))
        removeRowsWhere([&file](const SVGFile &entry) { return entry == file; });
}

bool SVGFileList::claimId(const QString &id) {
    // One hash lookup that both checks and records the id.
    const qsizetype before = m_ids.size();
    m_ids.insert(id);
    return m_ids.size() > before;
}

void SVGFileList::append(QList<SVGFile> files) {
    if (files.isEmpty())
        return;
    // Rows that come back show their old result only while their file is still the same.
    if (dropChangedResults(files))
        emit resultsChanged();
    const int first = int(m_files.size());
    emit rowsAboutToBeAdded(first, first + int(files.size()) - 1);
    m_files.append(std::move(files));
    emit rowsAdded();
}

void SVGFileList::removeRowsWhere(const std::function<bool(const SVGFile &)> &predicate) {
    QList<std::pair<qsizetype, qsizetype>> runs; // first row, length
    for (qsizetype row = 0; row < m_files.size(); ++row) {
        if (!predicate(m_files.at(row)))
            continue;
        if (!runs.isEmpty() && runs.last().first + runs.last().second == row)
            ++runs.last().second;
        else
            runs.append({row, 1});
    }
    if (runs.isEmpty())
        return;

    const auto forget = [this](qsizetype first, qsizetype length) {
        for (qsizetype row = first; row < first + length; ++row)
            m_ids.remove(m_files.at(row).id);
    };
    if (runs.size() > maxRemovalRuns) {
        emit aboutToReset();
        for (auto it = runs.crbegin(); it != runs.crend(); ++it) {
            forget(it->first, it->second);
        }
        m_files.removeIf(predicate);
        emit resetDone();
        return;
    }
    for (auto it = runs.crbegin(); it != runs.crend(); ++it) {
        emit rowsAboutToBeRemoved(int(it->first), int(it->first + it->second - 1));
        forget(it->first, it->second);
        m_files.remove(it->first, it->second);
        emit rowsRemoved();
    }
}

bool SVGFileList::dropChangedResults(const QList<SVGFile> &files) {
    if (m_results.isEmpty())
        return false;
    bool dropped = false;
    for (const SVGFile &file : files)
        dropped |= m_results.dropIfChanged(file.id);
    return dropped;
}

void SVGFileList::setResults(const QList<std::pair<QString, FileResult>> &results) {
    m_results.replace(results);
    refreshAllRows();
    emit resultsChanged();
}

void SVGFileList::setResult(const QString &id, const FileResult &result) {
    m_results.set(id, result);
    const int row = rowOf(id);
    if (row >= 0)
        emit rowsRefreshed(row, row);
    emit resultsChanged();
}

void SVGFileList::addResults(const QList<std::pair<QString, FileResult>> &results) {
    for (const auto &[id, result] : results)
        m_results.set(id, result);
    refreshAllRows();
    emit resultsChanged();
}

void SVGFileList::clearResults() {
    m_results.clear();
    refreshAllRows();
    emit resultsChanged();
}

void SVGFileList::refreshResults(const QStringList &ids, bool dropAll) {
    bool dropped = false;
    for (const QString &id : ids)
        dropped |= dropAll ? m_results.drop(id) : m_results.dropIfChanged(id);
    // The files changed on disk, so their sizes shown before a run may have too.
    refreshAllRows();
    if (dropped)
        emit resultsChanged();
}
