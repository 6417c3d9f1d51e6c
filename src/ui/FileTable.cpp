#include "ui/FileTable.h"

#include "model/SVGFileList.h"
#include "platform/FileManager.h"
#include "ui/RestoreOriginals.h"
#include "ui/ResultMarkDelegate.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>

FileTable::FileTable(SVGFileList *files, QWidget *parent) : QTableView(parent), m_files(files) {
    setModel(files);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setShowGrid(false);
    setAlternatingRowColors(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    // Fixed heights let the view place any row by arithmetic alone, which keeps 100,000 rows
    // as quick to scroll as ten.
    QHeaderView *rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 8);

    QHeaderView *columns = horizontalHeader();
    columns->setHighlightSections(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setStretchLastSection(true);
    columns->resizeSection(0, 220);
    columns->resizeSection(1, 220);
    // Clicking a header sorts the list itself (so the next run follows the order shown); until
    // the first click no column is marked and the list keeps the order files were added in.
    columns->setSectionsClickable(true);
    columns->setSortIndicator(-1, Qt::AscendingOrder);
    setSortingEnabled(true);
    setItemDelegate(new ResultMarkDelegate(this));

    // The list moves the rows itself when they are dropped; the view must not remove them after.
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setDragDropOverwriteMode(false);
    setDropIndicatorShown(true);

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FileTable::viewSelectionChanged);
    connect(files, &SVGFileList::selectionChanged, this, &FileTable::listSelectionChanged);
}

QMenu *FileTable::createContextMenu(int row, QWidget *parent) {
    auto *menu = new QMenu(parent);
    if (row < 0 || row >= m_files->files().size())
        return menu;
    const SVGFile file = m_files->files().at(row);
    QPointer<SVGFileList> files = m_files;
    menu->addAction(revealActionLabel(), menu, [file] { revealInFileManager(file.id); });
    menu->addSeparator();
    menu->addAction(tr("Remove"), menu, [files, file] {
        if (files)
            files->removeFile(file);
    });
    QStringList ids{file.id};
    if (m_files->selection().contains(file.id))
        ids = QStringList(m_files->selection().cbegin(), m_files->selection().cend());
    if (RestoreOriginals::hasOriginals(ids)) {
        menu->addSeparator();
        QPointer<FileTable> self = this;
        menu->addAction(tr("Restore Originals"), menu, [self, ids] {
            if (self)
                emit self->restoreOriginalsRequested(ids);
        });
    }
    return menu;
}

void FileTable::clearSortIndicator() {
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
}

void FileTable::dropEvent(QDropEvent *event) {
    QTableView::dropEvent(event);
    // Rows dropped into a place of their own no longer follow the sorted column.
    if (event->isAccepted())
        clearSortIndicator();
}

void FileTable::contextMenuEvent(QContextMenuEvent *event) {
    const QModelIndex index = indexAt(viewport()->mapFrom(this, event->pos()));
    if (!index.isValid())
        return;
    QMenu *menu = createContextMenu(index.row(), this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void FileTable::keyPressEvent(QKeyEvent *event) {
    // Backspace is the key labelled Delete on Mac keyboards.
    if (event->matches(QKeySequence::Delete) || event->key() == Qt::Key_Backspace) {
        m_files->removeSelectedFiles();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void FileTable::viewSelectionChanged() {
    if (m_syncingSelection)
        return;
    QSet<QString> ids;
    const QModelIndexList rows = selectionModel()->selectedRows();
    ids.reserve(rows.size());
    for (const QModelIndex &index : rows)
        ids.insert(m_files->files().at(index.row()).id);
    m_syncingSelection = true;
    m_files->setSelection(ids);
    m_syncingSelection = false;
}

void FileTable::listSelectionChanged() {
    if (m_syncingSelection)
        return;
    const QSet<QString> &ids = m_files->selection();
    QItemSelection selection;
    if (!ids.isEmpty()) {
        const QList<SVGFile> &files = m_files->files();
        const int lastColumn = m_files->columnCount() - 1;
        for (int row = 0; row < files.size(); ++row)
            if (ids.contains(files.at(row).id))
                selection.select(m_files->index(row, 0), m_files->index(row, lastColumn));
    }
    m_syncingSelection = true;
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_syncingSelection = false;
}
