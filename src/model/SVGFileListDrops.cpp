#include "model/SVGFileList.h"

// Files and folders dropped from outside, and rows moved within and between lists.

#include <QFileInfo>
#include <QHash>
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
        QList<int> oldRows;
        oldRows.reserve(count);
        const auto placeStaying = [&](qsizetype from, qsizetype to) {
            for (qsizetype i = from; i < to; ++i)
                oldRows.append(int(staying.at(i)));
        };
        placeStaying(0, position);
        for (const SVGFile &file : std::as_const(moving))
            if (const auto old = oldRowOf.constFind(file.id); old != oldRowOf.cend())
                oldRows.append(int(*old));
        placeStaying(position, staying.size());
        reorder(oldRows);
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
        emit rowsAboutToBeAdded(first, first + int(end - k) - 1);
        const QList<SVGFile> run = moving.mid(k, end - k);
        m_files = m_files.mid(0, first) + run + m_files.mid(first);
        for (const SVGFile &file : run)
            m_ids.insert(file.id);
        emit rowsAdded();
        k = end;
    }
    if (resultsDropped) {
        refreshAllRows();
        emit resultsChanged();
    }
}

void SVGFileList::reorder(const QList<int> &oldRows) {
    emit aboutToReorder();
    QList<SVGFile> moved;
    moved.reserve(m_files.size());
    QList<int> newRowOf(m_files.size());
    for (int row : oldRows) {
        newRowOf[row] = int(moved.size());
        moved.append(m_files.at(row));
    }
    m_files = std::move(moved);
    emit reordered(newRowOf);
}
