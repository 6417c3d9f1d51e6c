#include "ui/main/ContactSheetModel.h"

#include "model/SVGFileList.h"
#include "ui/main/ContactSheetDrawer.h"
#include "ui/main/WindowSession.h"

#include <QDir>

ContactSheetModel::ContactSheetModel(SVGFileList *files, WindowSession *session, QObject *parent)
    : QAbstractListModel(parent), m_files(files), m_session(session),
      m_drawer(new ContactSheetDrawer(this)) {
    connect(files, &SVGFileList::rowsAboutToBeAdded, this,
            [this](int first, int last) { beginInsertRows({}, first, last); });
    connect(files, &SVGFileList::rowsAdded, this, &ContactSheetModel::endInsertRows);
    connect(files, &SVGFileList::rowsAboutToBeRemoved, this,
            [this](int first, int last) { beginRemoveRows({}, first, last); });
    connect(files, &SVGFileList::rowsRemoved, this, &ContactSheetModel::endRemoveRows);
    connect(files, &SVGFileList::aboutToReset, this, &ContactSheetModel::beginResetModel);
    connect(files, &SVGFileList::resetDone, this, &ContactSheetModel::endResetModel);
    connect(files, &SVGFileList::aboutToReorder, this, [this] { emit layoutAboutToBeChanged(); });
    connect(files, &SVGFileList::reordered, this, [this](const QList<int> &newRowOf) {
        const QModelIndexList from = persistentIndexList();
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex &item : from)
            to.append(index(newRowOf.at(item.row())));
        changePersistentIndexList(from, to);
        emit layoutChanged();
    });
    connect(files, &SVGFileList::rowsRefreshed, this, &ContactSheetModel::forgetSources);
    // A run's results change which files a row shows: its output, or its kept original.
    connect(files, &SVGFileList::resultsChanged, this, [this] {
        m_sources.clear();
        if (rowCount() > 0)
            emit dataChanged(index(0), index(rowCount() - 1));
    });
    connect(files, &QObject::destroyed, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(m_drawer, &ContactSheetDrawer::drawn, this, [this](const QPersistentModelIndex &item) {
        if (item.isValid())
            emit dataChanged(item, item);
    });
}

void ContactSheetModel::forgetSources(int first, int last) {
    last = std::min(last, rowCount() - 1);
    if (!m_files || last < first)
        return;
    for (int row = first; row <= last; ++row) {
        const QString &id = m_files->files().at(row).id;
        m_sources.remove(id);
        ++m_refreshed[id];
    }
    emit dataChanged(index(first), index(last));
}

void ContactSheetModel::setLook(const SheetLook &look) {
    m_drawer->setLook(look);
    if (rowCount() > 0)
        emit dataChanged(index(0), index(rowCount() - 1));
}

const SheetLook &ContactSheetModel::look() const {
    return m_drawer->look();
}

int ContactSheetModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() || !m_files ? 0 : int(m_files->files().size());
}

IconSource ContactSheetModel::sourceOf(int row) const {
    const QString &id = m_files->files().at(row).id;
    auto found = m_sources.constFind(id);
    if (found != m_sources.cend())
        return *found;
    IconSource source{id, {}, {}};
    const FileResult *result = m_files->result(id);
    // Held back: svgo's output was not written, but it is what optimizing would give.
    if (result && !result->differentOutput.isEmpty())
        source.optimizedData = result->differentOutput;
    else if (m_session)
        std::tie(source.original, source.optimizedPath) = m_session->shownFiles(id, result);
    if (source.original.isEmpty())
        source.original = id;
    return *m_sources.insert(id, source);
}

QString ContactSheetModel::keyOf(int row) const {
    const IconSource source = sourceOf(row);
    const QString &id = m_files->files().at(row).id;
    return id + QLatin1Char('\n') + QString::number(m_refreshed.value(id)) + QLatin1Char('\n') +
           source.original + QLatin1Char('\n') + source.optimizedPath + QLatin1Char('\n') +
           QString::number(qHash(source.optimizedData), 16) + QLatin1Char('\n') +
           m_drawer->look().key();
}

const IconDrawing *ContactSheetModel::drawingOf(int row) const {
    return row >= 0 && row < rowCount() ? m_drawer->find(keyOf(row)) : nullptr;
}

QVariant ContactSheetModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const SVGFile &file = m_files->files().at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return QString(file.fileName).remove(QStringLiteral(".svg"));
    case Qt::ToolTipRole:
        return toolTip(index.row());
    case IdRole:
        return file.id;
    case DrawingRole: {
        const QString key = keyOf(index.row());
        if (const IconDrawing *drawing = m_drawer->find(key))
            return QVariant::fromValue(quintptr(drawing));
        m_drawer->request(key, sourceOf(index.row()), QPersistentModelIndex(index));
        return QVariant::fromValue(quintptr(0));
    }
    default:
        return {};
    }
}

QString ContactSheetModel::toolTip(int row) const {
    const SVGFile &file = m_files->files().at(row);
    QStringList lines{file.fileName, QDir::toNativeSeparators(file.id)};
    const IconSource source = sourceOf(row);
    if (m_drawer->look().optimized && !source.hasOptimized())
        lines.append(tr("No optimized version: showing the original."));
    const IconDrawing *drawing = drawingOf(row);
    if (!drawing)
        return lines.join(QLatin1Char('\n'));
    if (drawing->image.isNull())
        lines.append(tr("Cannot be drawn."));
    else if (drawing->invisible)
        lines.append(tr("Hardly visible on this background."));
    if (drawing->differs())
        lines.append(tr("Looks different after optimizing at this size (%n pixels changed).", "",
                        drawing->changedPixels));
    return lines.join(QLatin1Char('\n'));
}
