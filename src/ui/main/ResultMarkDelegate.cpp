#include "ui/main/ResultMarkDelegate.h"

#include "model/SVGFileTableModel.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QIcon drawMark(FileResult::Status status) {
    constexpr int side = 32;
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF circle(2, 2, side - 4, side - 4);
    QPen stroke(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    switch (status) {
    case FileResult::Status::Optimized: {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(52, 168, 83));
        painter.drawEllipse(circle);
        QPainterPath check;
        check.moveTo(9, 16.5);
        check.lineTo(14, 21.5);
        check.lineTo(23, 11);
        painter.setPen(stroke);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(check);
        break;
    }
    case FileResult::Status::Failed:
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(217, 48, 37));
        painter.drawEllipse(circle);
        painter.setPen(stroke);
        painter.drawLine(QPointF(16, 8.5), QPointF(16, 18));
        painter.drawPoint(QPointF(16, 23.5));
        break;
    case FileResult::Status::NotRun:
        painter.setPen(QPen(QColor(140, 140, 140), 2.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(circle.adjusted(1, 1, -1, -1));
        painter.drawLine(QPointF(10, 16), QPointF(22, 16));
        break;
    case FileResult::Status::LooksDifferent: // an amber circle with "≠"
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(242, 153, 0));
        painter.drawEllipse(circle);
        painter.setPen(stroke);
        painter.drawLine(QPointF(9.5, 12.5), QPointF(22.5, 12.5));
        painter.drawLine(QPointF(9.5, 19.5), QPointF(22.5, 19.5));
        painter.drawLine(QPointF(19, 8), QPointF(13, 24));
        break;
    case FileResult::Status::AlreadyOptimal: // a green ring with "="
        painter.setPen(QPen(QColor(52, 168, 83), 2.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(circle.adjusted(1, 1, -1, -1));
        painter.drawLine(QPointF(10, 13), QPointF(22, 13));
        painter.drawLine(QPointF(10, 19), QPointF(22, 19));
        break;
    }
    return QIcon(pixmap);
}

} // namespace

QIcon ResultMarkDelegate::markFor(const QVariant &status) {
    if (!status.isValid())
        return {};
    static const QIcon marks[] = {
        drawMark(FileResult::Status::Optimized), drawMark(FileResult::Status::Failed),
        drawMark(FileResult::Status::NotRun), drawMark(FileResult::Status::LooksDifferent),
        drawMark(FileResult::Status::AlreadyOptimal)};
    const int value = status.toInt();
    return value >= 0 && value < int(std::size(marks)) ? marks[value] : QIcon();
}

void ResultMarkDelegate::initStyleOption(QStyleOptionViewItem *option,
                                         const QModelIndex &index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() != SVGFileTableModel::FileName)
        return;
    const QIcon mark = markFor(index.data(SVGFileTableModel::StatusRole));
    if (mark.isNull())
        return;
    option->features |= QStyleOptionViewItem::HasDecoration;
    option->icon = mark;
    const int side = option->fontMetrics.height() - 2;
    option->decorationSize = QSize(side, side);
}
