#pragma once

#include "model/SVGFileList.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>

#include <optional>

class QMimeData;

// A file list shown as a table: one row per file, its columns, and the rows dragged within (and
// between) tables as svgFileMimeType data holding a JSON array of file objects
// (SVGFile::toJsonObject), in row order. A drop of that data moves the rows; a drop of file URLs
// from outside adds them like a drop on the window.
//
// removeRows() is deliberately not provided: after a move drag the item view asks the model to
// remove the source rows, but dropMimeData() has already moved them.
class SVGFileTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Gzip and Brotli: the optimized file's compressed size and what it saves, where the run
    // measured them.
    enum Column { FileName, Path, Size, Optimized, Saved, Gzip, Brotli, ColumnCount };
    enum Role {
        IdRole = Qt::UserRole + 1,
        // int(FileResult::Status) of the row's result, invalid when the row has none; the view
        // draws the mark (this model stays free of images).
        StatusRole,
        // The sort key of a cell: numbers for the size columns, invalid when there is none.
        SortRole,
    };

    explicit SVGFileTableModel(SVGFileList *files, QObject *parent = nullptr);
    SVGFileList *files() const { return m_files; }

    // A compressed column's text: "1.2 KB (18.0 %)", or the size alone when the saving is not
    // known.
    static QString compressedText(qint64 after, std::optional<double> savedPercent);

    // Reads dragged rows back; undecodable entries are skipped.
    static QList<SVGFile> filesFromMimeData(const QMimeData *data);

    // Reorders the list itself, so the next run takes the files in the order shown. Rows without
    // a value in the column go last either way; equal rows keep their order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;

private:
    void remap(const QList<int> &newRowOf);
    QVariant resultData(const FileResult *result, int column, int role) const;
    static QVariant compressedData(const FileResult &result, int column, bool text);

    QPointer<SVGFileList> m_files;
    mutable QHash<QString, qint64> m_sizes; // sizes of listed files shown before any run
};
