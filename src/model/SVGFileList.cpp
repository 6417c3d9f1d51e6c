#include "model/SVGFileList.h"

#include "model/Diagnostics.h"
#include "model/FolderListing.h"

#include <QCollator>
#include <QFileInfo>

#include <algorithm>
#include <numeric>

namespace {

// Beyond this many separate runs of rows, one reset is cheaper than a removal per run.
constexpr qsizetype maxRemovalRuns = 256;

} // namespace

SVGFileList::SVGFileList(QObject *parent) : QAbstractTableModel(parent) {}

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
    std::optional<QStringList> paths = listSVGFiles(folder, &problem);
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

int SVGFileList::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_files.size());
}

int SVGFileList::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SVGFileList::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_files.size())
        return {};
    const SVGFile &file = m_files.at(index.row());
    if (role == IdRole)
        return file.id;
    const FileResult *result = m_results.find(file.id);
    // Before a run the size is the file's own, read once when the row is first shown.
    if (index.column() == Size && (!result || result->sizeBefore < 0) &&
        (role == Qt::DisplayRole || role == SortRole || role == Qt::TextAlignmentRole)) {
        auto size = m_sizes.constFind(file.id);
        if (size == m_sizes.cend())
            size = m_sizes.insert(file.id, QFileInfo(file.id).size());
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return role == SortRole ? QVariant(*size) : QVariant(FileResults::sizeText(*size));
    }
    if (index.column() >= Size || role == StatusRole ||
        (role == Qt::ToolTipRole && index.column() != Path))
        return resultData(result, index.column(), role);
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == FileName)
            return QString(file.fileName).remove(QStringLiteral(".svg"));
        if (index.column() == Path)
            return abbreviatedPath(file.url);
        return {};
    case Qt::ToolTipRole:
        return index.column() == Path ? QVariant(file.id) : QVariant();
    case IdRole:
        return file.id;
    default:
        return {};
    }
}

QVariant SVGFileList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case FileName:
        return tr("File Name");
    case Path:
        return tr("Path");
    case Size:
        return tr("Size");
    case Optimized:
        return tr("Optimized");
    case Saved:
        return tr("Saved");
    default:
        return {};
    }
}

Qt::ItemFlags SVGFileList::flags(const QModelIndex &index) const {
    // Rows are not drop targets themselves, so a drag always lands between two rows.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled |
           Qt::ItemNeverHasChildren;
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
    beginInsertRows({}, first, first + int(files.size()) - 1);
    m_files.append(std::move(files));
    endInsertRows();
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
        beginResetModel();
        for (auto it = runs.crbegin(); it != runs.crend(); ++it) {
            forget(it->first, it->second);
        }
        m_files.removeIf(predicate);
        endResetModel();
        return;
    }
    for (auto it = runs.crbegin(); it != runs.crend(); ++it) {
        beginRemoveRows({}, int(it->first), int(it->first + it->second - 1));
        forget(it->first, it->second);
        m_files.remove(it->first, it->second);
        endRemoveRows();
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

QVariant SVGFileList::resultData(const FileResult *result, int column, int role) const {
    if (!result)
        return {};
    const std::optional<double> saved = result->savedPercent();
    switch (role) {
    case StatusRole:
        return int(result->status);
    case Qt::ToolTipRole:
        return result->message.isEmpty() ? QVariant() : QVariant(result->message);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    case SortRole:
    case Qt::DisplayRole: {
        const bool text = role == Qt::DisplayRole;
        if (column == Size && result->sizeBefore >= 0)
            return text ? QVariant(FileResults::sizeText(result->sizeBefore))
                        : QVariant(result->sizeBefore);
        if (column == Optimized && result->sizeAfter >= 0 &&
            result->status == FileResult::Status::Optimized)
            return text ? QVariant(FileResults::sizeText(result->sizeAfter))
                        : QVariant(result->sizeAfter);
        if (column == Saved && saved)
            return text ? QVariant(FileResults::percentText(*saved)) : QVariant(*saved);
        return {};
    }
    default:
        return {};
    }
}

void SVGFileList::resultColumnsChanged(int firstRow, int lastRow) {
    if (lastRow >= firstRow)
        emit dataChanged(index(firstRow, 0), index(lastRow, ColumnCount - 1));
}

void SVGFileList::setResults(const QList<std::pair<QString, FileResult>> &results) {
    m_sizes.clear();
    m_results.replace(results);
    resultColumnsChanged(0, int(m_files.size()) - 1);
    emit resultsChanged();
}

void SVGFileList::setResult(const QString &id, const FileResult &result) {
    m_sizes.clear();
    m_results.set(id, result);
    const int row = rowOf(id);
    if (row >= 0)
        resultColumnsChanged(row, row);
    emit resultsChanged();
}

void SVGFileList::clearResults() {
    m_sizes.clear();
    m_results.clear();
    resultColumnsChanged(0, int(m_files.size()) - 1);
    emit resultsChanged();
}

void SVGFileList::refreshResults(const QStringList &ids, bool dropAll) {
    m_sizes.clear();
    bool dropped = false;
    for (const QString &id : ids)
        dropped |= dropAll ? m_results.drop(id) : m_results.dropIfChanged(id);
    if (dropped) {
        resultColumnsChanged(0, int(m_files.size()) - 1);
        emit resultsChanged();
    }
}

void SVGFileList::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= ColumnCount || m_files.size() < 2)
        return;
    const qsizetype count = m_files.size();
    // Keys are worked out once per row, not once per comparison.
    QList<QVariant> keys(count);
    for (qsizetype row = 0; row < count; ++row) {
        const QModelIndex cell = index(int(row), column);
        keys[row] = column >= Size ? data(cell, SortRole) : data(cell, Qt::DisplayRole);
    }
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    QList<int> rowsInOrder(count);
    std::iota(rowsInOrder.begin(), rowsInOrder.end(), 0);
    const bool descending = order == Qt::DescendingOrder;
    std::stable_sort(rowsInOrder.begin(), rowsInOrder.end(), [&](int a, int b) {
        const QVariant &left = keys.at(a);
        const QVariant &right = keys.at(b);
        if (!left.isValid() || !right.isValid())
            return left.isValid() && !right.isValid();
        int compared;
        if (column >= Size) {
            const double l = left.toDouble(), r = right.toDouble();
            compared = l < r ? -1 : (r < l ? 1 : 0);
        } else {
            compared = collator.compare(left.toString(), right.toString());
        }
        return descending ? compared > 0 : compared < 0;
    });

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QList<SVGFile> sorted;
    sorted.reserve(count);
    QList<int> newRowOf(count);
    for (qsizetype row = 0; row < count; ++row) {
        newRowOf[rowsInOrder.at(row)] = int(row);
        sorted.append(m_files.at(rowsInOrder.at(row)));
    }
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex &cell : from)
        to.append(index(newRowOf.at(cell.row()), cell.column()));
    changePersistentIndexList(from, to);
    m_files = std::move(sorted);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
