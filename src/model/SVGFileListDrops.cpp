#include "model/SVGFileList.h"

// The file list's drag and drop: files and folders dropped from outside, and rows moved within
// and between lists. Kept apart from SVGFileList.cpp only for size.

#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMimeData>
#include <QMimeDatabase>

#include <algorithm>

namespace {

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
