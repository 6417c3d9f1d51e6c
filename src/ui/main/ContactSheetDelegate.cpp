#include "ui/main/ContactSheetDelegate.h"

#include "ui/main/ContactSheet.h"
#include "ui/main/ContactSheetModel.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// A round mark in a corner of the cell with a one-character sign, readable on any background.
void paintBadge(QPainter *painter, QPointF centre, qreal radius, const QColor &color,
                const QString &sign) {
    painter->setPen(QPen(Qt::white, 1));
    painter->setBrush(color);
    painter->drawEllipse(centre, radius, radius);
    QFont font = painter->font();
    font.setBold(true);
    font.setPixelSize(std::max(7, int(radius * 1.5)));
    painter->setFont(font);
    painter->drawText(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
                      Qt::AlignCenter, sign);
}

} // namespace

ContactSheetDelegate::ContactSheetDelegate(ContactSheetModel *model, QObject *parent)
    : QStyledItemDelegate(parent), m_model(model) {}

QSize ContactSheetDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const {
    const int side = ContactSheet::cellSide(m_model->look().side);
    return {side, side};
}

void ContactSheetDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const {
    const SheetLook &look = m_model->look();
    const QRect cell = option.rect;
    QRect icon(0, 0, look.side, look.side);
    icon.moveCenter(cell.center());
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (option.state & QStyle::State_Selected) {
        QColor fill = option.palette.color(QPalette::Highlight);
        painter->setPen(QPen(fill, 2));
        fill.setAlpha(70);
        painter->setBrush(fill);
        painter->drawRoundedRect(QRectF(cell).adjusted(2, 2, -2, -2), 5, 5);
    } else if (option.state & QStyle::State_HasFocus) {
        QColor frame = option.palette.color(QPalette::Highlight);
        frame.setAlpha(120);
        painter->setPen(QPen(frame, 1, Qt::DashLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRoundedRect(QRectF(cell).adjusted(2.5, 2.5, -2.5, -2.5), 5, 5);
    }

    const auto *drawing = reinterpret_cast<const IconDrawing *>(
        index.data(ContactSheetModel::DrawingRole).value<quintptr>());
    const QColor faint = look.background == SheetLook::Background::Dark ? QColor(255, 255, 255, 40)
                                                                        : QColor(0, 0, 0, 30);
    if (!drawing) {
        // Being drawn: a faint square keeps the grid's rhythm without flashing.
        painter->setPen(Qt::NoPen);
        painter->setBrush(faint);
        painter->drawRoundedRect(QRectF(icon).adjusted(1, 1, -1, -1), 3, 3);
    } else if (drawing->image.isNull()) {
        painter->setPen(QPen(QColor(200, 60, 60), 1.5));
        painter->drawLine(icon.topLeft(), icon.bottomRight());
        painter->drawLine(icon.topRight(), icon.bottomLeft());
    } else {
        painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter->drawImage(QRectF(icon), drawing->image);
    }
    if (drawing) {
        const qreal radius = std::clamp(cell.width() / 9.0, 4.5, 7.0);
        const qreal inset = radius + 2;
        if (drawing->invisible && !drawing->image.isNull())
            paintBadge(painter, QPointF(cell.right() - inset, cell.top() + inset), radius,
                       QColor(230, 140, 0), QStringLiteral("!"));
        if (drawing->differs())
            paintBadge(painter, QPointF(cell.left() + inset, cell.top() + inset), radius,
                       QColor(210, 40, 40), QStringLiteral("≠"));
    }
    painter->restore();
}
