#include "ui/main/ContactSheetExport.h"

#include "ui/main/ContactSheet.h"

#include <QPainter>
#include <QSaveFile>

QImage ContactSheetExport::compose(const QList<Icon> &icons, const SheetLook &look, int columns) {
    columns = std::max(1, std::min(columns, int(icons.size())));
    const int cell = ContactSheet::cellSide(look.side);
    const int rows = std::max(1, int((icons.size() + columns - 1) / columns));
    QImage sheet(columns * cell, rows * cell, QImage::Format_ARGB32_Premultiplied);
    if (sheet.isNull())
        return sheet;
    QPainter painter(&sheet);
    ContactSheetDrawing::paintBackground(painter, QRectF(sheet.rect()), look.background);
    SheetLook flat = look;
    flat.ratio = 1;
    for (qsizetype i = 0; i < icons.size(); ++i) {
        const IconDrawing drawing = icons.at(i).drawing
                                        ? *icons.at(i).drawing
                                        : ContactSheetDrawing::draw(icons.at(i).source, flat);
        if (drawing.image.isNull())
            continue;
        const int column = int(i % columns), row = int(i / columns);
        QRect target(0, 0, look.side, look.side);
        target.moveCenter(QRect(column * cell, row * cell, cell, cell).center());
        painter.drawImage(target, drawing.image);
    }
    return sheet;
}

QString ContactSheetExport::write(const QString &path, const QImage &image) {
    if (image.isNull())
        return tr("The picture would be too large.");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (!image.save(&file, "PNG")) {
        file.cancelWriting();
        return tr("The picture could not be encoded as PNG.");
    }
    if (!file.commit())
        return file.errorString();
    return {};
}
