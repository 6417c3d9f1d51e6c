#include "model/SVGFileTableModel.h"

#include "model/FileResults.h"
#include "model/SVGFileList.h"

#include <QCollator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMimeData>

#include <algorithm>
#include <numeric>

SVGFileTableModel::SVGFileTableModel(SVGFileList *files, QObject *parent)
    : QAbstractTableModel(parent), m_files(files) {
    connect(files, &SVGFileList::rowsAboutToBeAdded, this,
            [this](int first, int last) { beginInsertRows({}, first, last); });
    connect(files, &SVGFileList::rowsAdded, this, &SVGFileTableModel::endInsertRows);
    connect(files, &SVGFileList::rowsAboutToBeRemoved, this,
            [this](int first, int last) { beginRemoveRows({}, first, last); });
    connect(files, &SVGFileList::rowsRemoved, this, &SVGFileTableModel::endRemoveRows);
    connect(files, &SVGFileList::aboutToReset, this, &SVGFileTableModel::beginResetModel);
    connect(files, &SVGFileList::resetDone, this, &SVGFileTableModel::endResetModel);
    connect(files, &SVGFileList::aboutToReorder, this,
            [this] { emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint); });
    connect(files, &SVGFileList::reordered, this, &SVGFileTableModel::remap);
    connect(files, &SVGFileList::rowsRefreshed, this, [this](int first, int last) {
        m_sizes.clear();
        if (last >= first)
            emit dataChanged(index(first, 0), index(last, ColumnCount - 1));
    });
    // The view may outlive the list while a window closes.
    connect(files, &QObject::destroyed, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

void SVGFileTableModel::remap(const QList<int> &newRowOf) {
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex &cell : from)
        to.append(index(newRowOf.at(cell.row()), cell.column()));
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int SVGFileTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() || !m_files ? 0 : int(m_files->files().size());
}

int SVGFileTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SVGFileTableModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const SVGFile &file = m_files->files().at(index.row());
    if (role == IdRole)
        return file.id;
    const FileResult *result = m_files->result(file.id);
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

QVariant SVGFileTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
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
    case Gzip:
        return tr("Gzip");
    case Brotli:
        return tr("Brotli");
    default:
        return {};
    }
}

Qt::ItemFlags SVGFileTableModel::flags(const QModelIndex &index) const {
    // Rows are not drop targets themselves, so a drag always lands between two rows.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled |
           Qt::ItemNeverHasChildren;
}

QVariant SVGFileTableModel::resultData(const FileResult *result, int column, int role) const {
    if (!result)
        return {};
    const std::optional<double> saved = result->savedPercent();
    switch (role) {
    case StatusRole:
        return int(result->status);
    case Qt::ToolTipRole:
        if (result->status == FileResult::Status::LooksDifferent &&
            !result->differentOutput.isEmpty())
            return FileResults::reviewToolTip(*result);
        if (const QString tip = FileResults::toolTip(*result); !tip.isEmpty())
            return tip;
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    case SortRole:
    case Qt::DisplayRole: {
        const bool text = role == Qt::DisplayRole;
        if (column == Size && result->sizeBefore >= 0)
            return text ? QVariant(FileResults::sizeText(result->sizeBefore))
                        : QVariant(result->sizeBefore);
        // Output held back as looking different shows what it would gain.
        if (column == Optimized && result->sizeAfter >= 0 &&
            (result->status == FileResult::Status::Optimized ||
             result->status == FileResult::Status::LooksDifferent))
            return text ? QVariant(FileResults::sizeText(result->sizeAfter))
                        : QVariant(result->sizeAfter);
        if (column == Saved && saved)
            return text ? QVariant(FileResults::percentText(*saved)) : QVariant(*saved);
        if (column == Gzip || column == Brotli)
            return compressedData(*result, column, text);
        return {};
    }
    default:
        return {};
    }
}

QVariant SVGFileTableModel::compressedData(const FileResult &result, int column, bool text) {
    // Like the Optimized column: what the output weighs, also where it was held back.
    if (result.status != FileResult::Status::Optimized &&
        result.status != FileResult::Status::LooksDifferent)
        return {};
    const qint64 before = column == Gzip ? result.gzipBefore : result.brotliBefore;
    const qint64 after = column == Gzip ? result.gzipAfter : result.brotliAfter;
    if (after < 0)
        return {};
    if (!text)
        return after;
    return compressedText(
        after, before > 0 ? std::optional<double>(100.0 * double(before - after) / double(before))
                          : std::nullopt);
}

QString SVGFileTableModel::compressedText(qint64 after, std::optional<double> savedPercent) {
    if (!savedPercent)
        return FileResults::sizeText(after);
    //: A compressed size and the share it saves, as in "1.2 KB (18.0 %)"
    return tr("%1 (%2)").arg(FileResults::sizeText(after), FileResults::percentText(*savedPercent));
}

void SVGFileTableModel::sort(int column, Qt::SortOrder order) {
    const qsizetype count = rowCount();
    if (column < 0 || column >= ColumnCount || count < 2)
        return;
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

    m_files->reorder(rowsInOrder);
}

QList<SVGFile> SVGFileTableModel::filesFromMimeData(const QMimeData *data) {
    QList<SVGFile> files;
    if (!data)
        return files;
    const QJsonArray array = QJsonDocument::fromJson(data->data(svgFileMimeType)).array();
    for (const QJsonValue &value : array)
        if (const std::optional<SVGFile> file = SVGFile::fromJsonObject(value.toObject()))
            files.append(*file);
    return files;
}

QStringList SVGFileTableModel::mimeTypes() const {
    return {QString::fromLatin1(svgFileMimeType), QStringLiteral("text/uri-list")};
}

QMimeData *SVGFileTableModel::mimeData(const QModelIndexList &indexes) const {
    QList<int> rows;
    for (const QModelIndex &index : indexes)
        if (index.isValid() && index.row() < rowCount())
            rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.isEmpty())
        return nullptr;

    QJsonArray array;
    for (int row : std::as_const(rows))
        array.append(m_files->files().at(row).toJsonObject());
    // Only the private type: other applications get nothing they could use.
    auto *data = new QMimeData;
    data->setData(svgFileMimeType, QJsonDocument(array).toJson(QJsonDocument::Compact));
    return data;
}

bool SVGFileTableModel::canDropMimeData(const QMimeData *data, Qt::DropAction action, int, int,
                                        const QModelIndex &) const {
    if (!data || !m_files || !(action & supportedDropActions()))
        return false;
    return data->hasFormat(svgFileMimeType) || SVGFileList::hasDroppableItems(data);
}

bool SVGFileTableModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row,
                                     int column, const QModelIndex &parent) {
    if (action == Qt::IgnoreAction)
        return true;
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    if (!data->hasFormat(svgFileMimeType))
        return m_files->dropItems(data);

    const QList<SVGFile> files = filesFromMimeData(data);
    if (files.isEmpty())
        return false;
    m_files->insertFiles(files, row >= 0 ? row : (parent.isValid() ? parent.row() : -1));
    return true;
}

Qt::DropActions SVGFileTableModel::supportedDragActions() const {
    return Qt::MoveAction;
}

Qt::DropActions SVGFileTableModel::supportedDropActions() const {
    // Copy too: file managers offer files dropped from outside as a copy.
    return Qt::MoveAction | Qt::CopyAction;
}
