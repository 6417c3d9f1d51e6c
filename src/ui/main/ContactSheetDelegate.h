#pragma once

#include <QStyledItemDelegate>

class ContactSheetModel;

// Paints one icon of the contact sheet: its drawing once it is there (a faint square until then),
// the selection around it, and the marks for an icon that hardly shows or changed in optimizing.
// It only paints pictures drawn elsewhere.
class ContactSheetDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ContactSheetDelegate(ContactSheetModel *model, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    ContactSheetModel *m_model;
};
