#include "model/SVGFileList.h"

#include "model/Diagnostics.h"
#include "model/FolderListing.h"

#include <QCollator>

#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMimeData>
#include <QMimeDatabase>

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace {

// Beyond this many separate runs of rows, one reset is cheaper than a removal per run.
constexpr qsizetype maxRemovalRuns = 256;

enum class DropKind { Other, Folder, SVG };

DropKind dropKind(const QUrl &url, const QMimeDatabase &mimeDatabase) {
    if (!url.isLocalFile())
        return DropKind::Other;
    const QFileInfo info(url.toLocalFile());
    if (info.isDir())
        return DropKind::Folder;
    if (!info.exists())
        return DropKind::Other;
    // The name decides first, so a drag of many .svg files never reads their contents; a file
    // with another name still counts when its content is SVG.
    const QString svg = QStringLiteral("image/svg+xml");
    if (mimeDatabase.mimeTypeForFile(info, QMimeDatabase::MatchExtension).inherits(svg))
        return DropKind::SVG;
    if (mimeDatabase.mimeTypeForFile(info, QMimeDatabase::MatchContent).inherits(svg))
        return DropKind::SVG;
    return DropKind::Other;
}

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

bool SVGFileList::dropItems(const QMimeData *data) {
    if (!data)
        return false;
    const QMimeDatabase mimeDatabase;
    bool accepted = false;
    for (const QUrl &url : data->urls()) {
        switch (dropKind(url, mimeDatabase)) {
        case DropKind::Folder:
            addFolder(url);
            accepted = true;
            break;
        case DropKind::SVG:
            addFile(url);
            accepted = true;
            break;
        case DropKind::Other:
            break;
        }
    }
    return accepted;
}

bool SVGFileList::hasDroppableItems(const QMimeData *data) {
    if (!data || !data->hasUrls())
        return false;
    const QMimeDatabase mimeDatabase;
    const QList<QUrl> urls = data->urls();
    return std::any_of(urls.begin(), urls.end(), [&](const QUrl &url) {
        return dropKind(url, mimeDatabase) != DropKind::Other;
    });
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

void SVGFileList::insertFiles(const QList<SVGFile> &files, int row) {
    // A file listed twice in `files` would break the one-entry-per-id rule; the first wins.
    QList<SVGFile> moving;
    QSet<QString> movingIds;
    for (const SVGFile &file : files) {
        if (!movingIds.contains(file.id)) {
            movingIds.insert(file.id);
            moving.append(file);
        }
    }
    if (moving.isEmpty())
        return;
    const bool resultsDropped = dropChangedResults(moving);

    const qsizetype count = m_files.size();
    const qsizetype target = (row < 0 || row > count) ? count : row;
    QList<qsizetype> staying;
    staying.reserve(count);
    QHash<QString, qsizetype> oldRowOf;
    qsizetype takenAbove = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const QString &id = m_files.at(i).id;
        if (movingIds.contains(id)) {
            oldRowOf.insert(id, i);
            if (i < target)
                ++takenAbove;
        } else {
            staying.append(i);
        }
    }
    // The position was counted with the moved rows still in place; those above it are gone.
    const qsizetype position = target - takenAbove;

    // First the rows already listed move as a layout change, which keeps the views' selection
    // and current row on them; then rows dragged in from another list are inserted between them.
    if (!oldRowOf.isEmpty()) {
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        QList<SVGFile> reordered;
        reordered.reserve(count);
        QList<int> newRowOf(count);
        const auto placeStaying = [&](qsizetype from, qsizetype to) {
            for (qsizetype i = from; i < to; ++i) {
                newRowOf[staying.at(i)] = int(reordered.size());
                reordered.append(m_files.at(staying.at(i)));
            }
        };
        placeStaying(0, position);
        for (const SVGFile &file : std::as_const(moving)) {
            if (const auto old = oldRowOf.constFind(file.id); old != oldRowOf.cend()) {
                newRowOf[*old] = int(reordered.size());
                reordered.append(file);
            }
        }
        placeStaying(position, staying.size());

        const QModelIndexList from = persistentIndexList();
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex &index : from)
            to.append(this->index(newRowOf.at(index.row()), index.column()));
        changePersistentIndexList(from, to);
        m_files = std::move(reordered);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }

    // Inserting in payload order puts every earlier entry of the block in place first; runs of
    // new entries go in at once so that a large drag between windows stays linear.
    for (qsizetype k = 0; k < moving.size();) {
        if (oldRowOf.contains(moving.at(k).id)) {
            ++k;
            continue;
        }
        qsizetype end = k + 1;
        while (end < moving.size() && !oldRowOf.contains(moving.at(end).id))
            ++end;
        const int first = int(position + k);
        beginInsertRows({}, first, first + int(end - k) - 1);
        const QList<SVGFile> run = moving.mid(k, end - k);
        m_files = m_files.mid(0, first) + run + m_files.mid(first);
        for (const SVGFile &file : run)
            m_ids.insert(file.id);
        endInsertRows();
        k = end;
    }
    if (resultsDropped) {
        resultColumnsChanged(0, int(m_files.size()) - 1);
        emit resultsChanged();
    }
}

QList<SVGFile> SVGFileList::filesFromMimeData(const QMimeData *data) {
    QList<SVGFile> files;
    if (!data)
        return files;
    const QJsonArray array = QJsonDocument::fromJson(data->data(svgFileMimeType)).array();
    for (const QJsonValue &value : array)
        if (const std::optional<SVGFile> file = SVGFile::fromJsonObject(value.toObject()))
            files.append(*file);
    return files;
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

QStringList SVGFileList::mimeTypes() const {
    return {QString::fromLatin1(svgFileMimeType), QStringLiteral("text/uri-list")};
}

QMimeData *SVGFileList::mimeData(const QModelIndexList &indexes) const {
    QList<int> rows;
    for (const QModelIndex &index : indexes)
        if (index.isValid() && index.row() < m_files.size())
            rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.isEmpty())
        return nullptr;

    QJsonArray array;
    for (int row : std::as_const(rows))
        array.append(m_files.at(row).toJsonObject());
    // Only the private type: other applications get nothing they could use.
    auto *data = new QMimeData;
    data->setData(svgFileMimeType, QJsonDocument(array).toJson(QJsonDocument::Compact));
    return data;
}

bool SVGFileList::canDropMimeData(const QMimeData *data, Qt::DropAction action, int, int,
                                  const QModelIndex &) const {
    if (!data || !(action & supportedDropActions()))
        return false;
    return data->hasFormat(svgFileMimeType) || hasDroppableItems(data);
}

bool SVGFileList::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                               const QModelIndex &parent) {
    if (action == Qt::IgnoreAction)
        return true;
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    if (!data->hasFormat(svgFileMimeType))
        return dropItems(data);

    const QList<SVGFile> files = filesFromMimeData(data);
    if (files.isEmpty())
        return false;
    insertFiles(files, row >= 0 ? row : (parent.isValid() ? parent.row() : -1));
    return true;
}

Qt::DropActions SVGFileList::supportedDragActions() const {
    return Qt::MoveAction;
}

Qt::DropActions SVGFileList::supportedDropActions() const {
    // Copy too: file managers offer files dropped from outside as a copy.
    return Qt::MoveAction | Qt::CopyAction;
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
        return result->status == FileResult::Status::Failed ? QVariant(result->message)
                                                            : QVariant();
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
