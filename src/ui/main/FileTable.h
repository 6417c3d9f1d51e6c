#pragma once

#include <QTableView>

class QMenu;
class SVGFileList;

// The table of a main window's files. Rows all have the same height so that very long lists
// scroll without measuring every row. Rows are dragged to reorder them; files and folders dropped
// on the table are added. The view's selection and the list's selection mirror each other.
class FileTable : public QTableView {
    Q_OBJECT
public:
    explicit FileTable(SVGFileList *files, QWidget *parent = nullptr);

    SVGFileList *files() const { return m_files; }

    // The context menu of one row: reveal its file, then remove that row (not the selection).
    // The caller owns the menu; it does nothing once the row has gone.
    // When the row's files have kept originals, "Restore Originals" follows; it acts on the
    // selection when the row is selected, else on the row. "Why Smaller?" is there for a row
    // whose file exists, when no other row is selected with it.
    QMenu *createContextMenu(int row, QWidget *parent = nullptr);

    // Whether the menu's actions on files are enabled: not while the window is busy with them
    // (a run, a restore, a write of held-back outputs).
    void setActionsAllowed(bool allowed) { m_actionsAllowed = allowed; }

    // What an empty table says.
    static QString placeholderText();
    // Column widths (and order) are kept across windows and runs. The Gzip and Brotli columns
    // are shown or hidden from the header's context menu; that choice is a setting of its own
    // (Keys::shownCompressedColumns), followed by every window's table.
    void saveColumns() const;
    void restoreColumns();

signals:
    void restoreOriginalsRequested(const QStringList &ids);
    // Rows whose output looks different, to be used all the same (in file mode: written).
    void useOptimizedRequested(const QStringList &ids);
    // The plugins' savings on one file, to be shown.
    void whySmallerRequested(const QString &id);

protected:
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void clearSortIndicator();
    void showCompressedColumns();
    void showHeaderMenu(const QPoint &position);
    // Widths at which the size and percentage columns show their longest usual texts whole.
    void fitNumberColumns();
    void sortAdded();
    void viewSelectionChanged();
    void listSelectionChanged();

    SVGFileList *m_files;
    bool m_syncingSelection = false;
    bool m_actionsAllowed = true;
    bool m_sortPending = false;
};
