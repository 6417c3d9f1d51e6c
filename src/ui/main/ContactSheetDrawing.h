#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

#include <functional>

class QPainter;
class QRectF;

// How the contact sheet draws its icons: every setting that changes a drawing.
struct SheetLook {
    enum class Background { Light, Dark, Checkerboard };

    int side = 32;   // the icon's box in logical pixels
    qreal ratio = 1; // device pixels per logical pixel
    Background background = Background::Light;
    QString tint;          // "auto" or a colour name such as "#ff0000"
    bool optimized = true; // the optimized version where there is one

    int devicePixels() const { return qMax(1, qRound(side * ratio)); }
    // What currentColor stands for: the tint, or with "auto" the colour text has on the
    // background, which is how an icon that follows the text colour is meant to be seen.
    QColor tintColor() const;
    // Part of the cache key: two looks with one key draw alike.
    QString key() const;

    static QString backgroundName(Background background);
    static Background backgroundNamed(const QString &name);
};

// The files one icon is drawn from. An optimized version is a written file or, for output that
// was held back, svgo's output in memory.
struct IconSource {
    QString original;
    QString optimizedPath;
    QByteArray optimizedData;
    bool hasOptimized() const { return !optimizedPath.isEmpty() || !optimizedData.isEmpty(); }
};

// One icon drawn for the sheet, with what a designer should be told about it.
struct IconDrawing {
    QImage image; // transparent, devicePixels() square; null when it cannot be drawn
    bool showsOptimized = false;
    bool invisible = false; // the shown drawing hardly stands out from the background
    int changedPixels = 0;  // between the original's and the optimized drawing at this size
    bool differs() const { return changedPixels > 0; }
};

namespace ContactSheetDrawing {

// `svg` with its root element given `color`, which is what currentColor means inside it. A root
// that names its own colour keeps it: that icon asked not to follow the text.
QByteArray withTint(const QByteArray &svg, const QColor &tint);

// Fills `area` with the background; the checkerboard's squares start at the area's corner.
void paintBackground(QPainter &painter, const QRectF &area, SheetLook::Background background);

// Whether a transparent drawing would hardly show on the background: too few of its pixels
// differ enough from what lies under them, as a white icon on white.
bool isInvisible(const QImage &drawing, SheetLook::Background background);

// Reads and draws the icon (and, when there is one, its optimized version, to compare the two).
// Runs on the render pool; `stale` is asked between the steps so unwanted work ends early.
IconDrawing draw(const IconSource &source, const SheetLook &look,
                 const std::function<bool()> &stale = {});

} // namespace ContactSheetDrawing
