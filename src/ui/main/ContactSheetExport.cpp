#include "ui/main/ContactSheetExport.h"

#include "ui/main/ContactSheet.h"

#include <QPainter>
#include <QSaveFile>

QImage ContactSheetExport::compose(const QList<IconDrawing> &drawings, const SheetLook &look,
                                   int columns) {
    columns = std::max(1, std::min(columns, int(drawings.size())));
    const int cell = ContactSheet::cellSide(look.side);
    const int rows = std::max(1, int((drawings.size() + columns - 1) / columns));
    QImage sheet(columns * cell, rows * cell, QImage::Format_ARGB32_Premultiplied);
    if (sheet.isNull())
        return sheet;
    QPainter painter(&sheet);
    ContactSheetDrawing::paintBackground(painter, QRectF(sheet.rect()), look.background);
    for (qsizetype i = 0; i < drawings.size(); ++i) {
        if (drawings.at(i).image.isNull())
            continue;
        const int column = int(i % columns), row = int(i / columns);
        QRect target(0, 0, look.side, look.side);
        target.moveCenter(QRect(column * cell, row * cell, cell, cell).center());
        painter.drawImage(target, drawings.at(i).image);
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
