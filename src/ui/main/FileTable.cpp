#include "ui/main/FileTable.h"

#include "model/FileResults.h"
#include "model/SVGFileList.h"
#include "model/SVGFileTableModel.h"
#include "model/Settings.h"
#include "platform/FileManager.h"
#include "ui/components/ContextClick.h"
#include "ui/main/RestoreOriginals.h"
#include "ui/main/ResultMarkDelegate.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QSettings>
#include <QStyle>

namespace {

const QString columnsKey = QStringLiteral("fileTableColumns");

// The columns of compressed sizes and their names in Keys::shownCompressedColumns.
struct CompressedColumn {
    int column;
    QLatin1String name;
};
const CompressedColumn compressedColumns[] = {
    {SVGFileTableModel::Gzip, QLatin1String("gzip")},
    {SVGFileTableModel::Brotli, QLatin1String("brotli")},
};

QStringList shownCompressedNames() {
    return Keys::shownCompressedColumns().get().split(u',', Qt::SkipEmptyParts);
}

} // namespace

FileTable::FileTable(SVGFileList *files, QWidget *parent) : QTableView(parent), m_files(files) {
    setModel(new SVGFileTableModel(files, this));
    OriginalsBackup::preload(); // the context menu asks what is kept without reading files
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setShowGrid(false);
    setAlternatingRowColors(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Long paths keep their start and their file name.
    setTextElideMode(Qt::ElideMiddle);
    // Tab leaves the table for the inspector instead of walking its cells.
    setTabKeyNavigation(false);
    keepSelectionOnContextClick(this);

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
    // The path takes what the other columns leave, so the name and the three numbers fit
    // without scrolling at the window's first size.
    columns->setSectionResizeMode(SVGFileTableModel::Path, QHeaderView::Stretch);
    columns->setStretchLastSection(false);
    columns->resizeSection(SVGFileTableModel::FileName, 180);
    // Clicking a header sorts the list itself (so the next run follows the order shown); until
    // the first click no column is marked and the list keeps the order files were added in.
    columns->setSectionsClickable(true);
    columns->setSortIndicator(-1, Qt::AscendingOrder);
    setSortingEnabled(true);
    fitNumberColumns();
    setItemDelegate(new ResultMarkDelegate(this));
    columns->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(columns, &QHeaderView::customContextMenuRequested, this, &FileTable::showHeaderMenu);
    Defaults::observe<QString>(
        Keys::shownCompressedColumns(), this, [this](const QString &) { showCompressedColumns(); },
        Defaults::ObserveOption::Initial);

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
    // Files added to a sorted table take their places in the order shown. Files added one by one
    // (an open panel's choice) are sorted once, after the last.
    connect(files, &SVGFileList::rowsAdded, this, [this] {
        if (m_sortPending || horizontalHeader()->sortIndicatorSection() < 0)
            return;
        m_sortPending = true;
        QMetaObject::invokeMethod(this, &FileTable::sortAdded, Qt::QueuedConnection);
    });
}

void FileTable::fitNumberColumns() {
    // The longest texts these columns usually show, in the locale's own format: sizes just below
    // the next unit and a percentage with a sign.
    const QFontMetrics metrics = fontMetrics();
    const auto widest = [&metrics](const QStringList &texts) {
        int width = 0;
        for (const QString &text : texts)
            width = std::max(width, metrics.horizontalAdvance(text));
        return width;
    };
    const qint64 longSizes[] = {1023, 1024 * 1023 + 1013, qint64(1024) * 1024 * 1023 + 1024 * 1013};
    QStringList sizes, compressed;
    for (qint64 size : longSizes) {
        sizes.append(FileResults::sizeText(size));
        compressed.append(SVGFileTableModel::compressedText(size, -100.0));
    }
    const QStringList percents{FileResults::percentText(-100.0), FileResults::percentText(100.0)};
    // The delegate's text margins on both sides, and some air between the columns.
    const int padding =
        2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 12;
    QHeaderView *columns = horizontalHeader();
    for (int column :
         {SVGFileTableModel::Size, SVGFileTableModel::Optimized, SVGFileTableModel::Saved,
          SVGFileTableModel::Gzip, SVGFileTableModel::Brotli}) {
        const int content = widest(column == SVGFileTableModel::Saved  ? percents
                                   : column >= SVGFileTableModel::Gzip ? compressed
                                                                       : sizes);
        // The header's own hint includes the room of the sort arrow.
        columns->resizeSection(column,
                               std::max(content + padding, columns->sectionSizeHint(column)));
    }
}

void FileTable::sortAdded() {
    m_sortPending = false;
    const int column = horizontalHeader()->sortIndicatorSection();
    if (column >= 0)
        model()->sort(column, horizontalHeader()->sortIndicatorOrder());
}

QMenu *FileTable::createContextMenu(int row, QWidget *parent) {
    auto *menu = new QMenu(parent);
    if (row < 0 || row >= m_files->files().size())
        return menu;
    const SVGFile file = m_files->files().at(row);
    QPointer<SVGFileList> files = m_files;
    menu->addAction(revealActionLabel(), menu, [file] { revealInFileManager(file.id); });
    menu->addSeparator();
    menu->addAction(tr("Remove"), menu,
                    [files, file] {
                        if (files)
                            files->removeFile(file);
                    })
        ->setEnabled(m_actionsAllowed);
    QStringList ids{file.id};
    if (m_files->selection().contains(file.id))
        ids = QStringList(m_files->selection().cbegin(), m_files->selection().cend());
    if (ids.size() == 1 && QFileInfo(file.id).isFile()) {
        QPointer<FileTable> self = this;
        menu->addAction(tr("Why Smaller?"), menu, [self, id = file.id] {
            if (self)
                emit self->whySmallerRequested(id);
        });
    }
    QStringList heldBack;
    for (const QString &id : std::as_const(ids))
        if (const FileResult *result = m_files->result(id);
            result && !result->differentOutput.isEmpty())
            heldBack.append(id);
    if (!heldBack.isEmpty()) {
        menu->addSeparator();
        QPointer<FileTable> self = this;
        menu->addAction(tr("Use Optimized Anyway"), menu,
                        [self, heldBack] {
                            if (self)
                                emit self->useOptimizedRequested(heldBack);
                        })
            ->setEnabled(m_actionsAllowed);
    }
    if (RestoreOriginals::hasOriginals(ids)) {
        menu->addSeparator();
        QPointer<FileTable> self = this;
        QAction *restore = menu->addAction(tr("Restore Originals…"), menu, [self, ids] {
            if (self)
                emit self->restoreOriginalsRequested(ids);
        });
        restore->setEnabled(m_actionsAllowed);
    }
    return menu;
}

QString FileTable::placeholderText() {
    return tr("Drop SVG files or folders here");
}

void FileTable::saveColumns() const {
    QSettings().setValue(columnsKey, horizontalHeader()->saveState());
}

void FileTable::restoreColumns() {
    const QByteArray state = QSettings().value(columnsKey).toByteArray();
    if (state.isEmpty() || !horizontalHeader()->restoreState(state))
        return;
    // The stored state also hides and shows columns, and may be older than the choice.
    showCompressedColumns();
    // A new window keeps the files in the order they are added, whatever was sorted before.
    clearSortIndicator();
}

void FileTable::showCompressedColumns() {
    const QStringList shown = shownCompressedNames();
    for (const CompressedColumn &compressed : compressedColumns)
        horizontalHeader()->setSectionHidden(compressed.column, !shown.contains(compressed.name));
}

void FileTable::showHeaderMenu(const QPoint &position) {
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QStringList shown = shownCompressedNames();
    for (const CompressedColumn &compressed : compressedColumns) {
        QAction *action =
            menu->addAction(model()->headerData(compressed.column, Qt::Horizontal).toString());
        action->setCheckable(true);
        action->setChecked(shown.contains(compressed.name));
        connect(action, &QAction::toggled, this, [name = compressed.name](bool show) {
            QStringList names;
            // Kept in the columns' order, whatever order they were chosen in.
            const QStringList before = shownCompressedNames();
            for (const CompressedColumn &other : compressedColumns)
                if (other.name == name ? show : before.contains(other.name))
                    names.append(other.name);
            Keys::shownCompressedColumns().set(names.join(u','));
        });
    }
    menu->popup(horizontalHeader()->viewport()->mapToGlobal(position));
}

void FileTable::paintEvent(QPaintEvent *event) {
    QTableView::paintEvent(event);
    if (model()->rowCount() > 0)
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(viewport()->rect(), Qt::AlignCenter | Qt::TextWordWrap, placeholderText());
}

void FileTable::clearSortIndicator() {
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
}

void FileTable::dropEvent(QDropEvent *event) {
    // Files dropped from outside are added like any others and take their sorted places.
    const bool rows = event->mimeData() && event->mimeData()->hasFormat(svgFileMimeType);
    QTableView::dropEvent(event);
    // Rows dropped into a place of their own no longer follow the sorted column.
    if (rows && event->isAccepted())
        clearSortIndicator();
}

void FileTable::contextMenuEvent(QContextMenuEvent *event) {
    // The menu key opens the menu of the current row; a click, that of the row under it (the
    // event may come through the viewport or the table, so the global position decides).
    const QModelIndex index = event->reason() == QContextMenuEvent::Keyboard
                                  ? currentIndex()
                                  : indexAt(viewport()->mapFromGlobal(event->globalPos()));
    if (!index.isValid())
        return;
    QMenu *menu = createContextMenu(index.row(), this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void FileTable::keyPressEvent(QKeyEvent *event) {
    // Backspace is the key labelled Delete on Mac keyboards.
    if (event->matches(QKeySequence::Delete) || event->key() == Qt::Key_Backspace) {
        if (m_actionsAllowed)
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
        const int lastColumn = model()->columnCount() - 1;
        for (int row = 0; row < files.size(); ++row)
            if (ids.contains(files.at(row).id))
                selection.select(model()->index(row, 0), model()->index(row, lastColumn));
    }
    m_syncingSelection = true;
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_syncingSelection = false;
}
