#pragma once

#include "ui/main/ContactSheetDrawing.h"

#include <QCoreApplication>
#include <QImage>
#include <QList>
#include <QString>

#include <optional>

// The contact sheet as one picture: the icons in rows of `columns` cells, on the background,
// at the look's size (one device pixel per pixel). Made on the render pool: icons already drawn
// are taken as they are, the others are drawn there first.
class ContactSheetExport {
    Q_DECLARE_TR_FUNCTIONS(ContactSheetExport)
public:
    struct Icon {
        IconSource source;
        std::optional<IconDrawing> drawing; // the sheet's own, when it has one at this size
    };

    // The drawings in the list's order, each in its cell.
    static QImage compose(const QList<IconDrawing> &drawings, const SheetLook &look, int columns);
    // Writes `image` as a PNG in one step; the reason when that failed, else empty.
    static QString write(const QString &path, const QImage &image);
};
