#pragma once

#include <QStyledItemDelegate>

// Draws the outcome of the last run as a mark before the file name: optimized, failed or not
// run. The list only says which; the pictures are the view's business.
class ResultMarkDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The mark for an int(FileResult::Status); a null icon for anything else.
    static QIcon markFor(const QVariant &status);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
