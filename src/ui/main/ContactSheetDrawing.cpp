#include "ui/main/ContactSheetDrawing.h"

#include "engine/InputGuard.h"
#include "engine/SvgRenderer.h"
#include "engine/VisualCheck.h"

#include <QFile>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace {

const QColor lightColor(255, 255, 255);
const QColor darkColor(30, 30, 32);
const QColor checkerColor(204, 204, 204);
constexpr int checkerSquare = 4;

QByteArray readFile(const QString &path) {
    return path.isEmpty() ? QByteArray() : InputGuard::readFile(path).value_or(QByteArray());
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Where the root element's start tag begins, past the XML declaration, comments, processing
// instructions and a doctype (whose internal subset may hold '>'); -1 when there is none.
qsizetype rootStart(const QByteArray &svg) {
    qsizetype at = 0;
    while ((at = svg.indexOf('<', at)) >= 0) {
        if (svg.mid(at, 2) == "<?") {
            const qsizetype end = svg.indexOf("?>", at);
            if (end < 0)
                return -1;
            at = end + 2;
        } else if (svg.mid(at, 4) == "<!--") {
            const qsizetype end = svg.indexOf("-->", at);
            if (end < 0)
                return -1;
            at = end + 3;
        } else if (svg.mid(at, 2) == "<!") {
            int depth = 0;
            for (++at; at < svg.size(); ++at) {
                if (svg.at(at) == '[')
                    ++depth;
                else if (svg.at(at) == ']')
                    --depth;
                else if (svg.at(at) == '>' && depth <= 0)
                    break;
            }
        } else {
            return at;
        }
    }
    return -1;
}

// Whether the start tag from `at` (just past the element's name) has an attribute `name`.
bool hasAttribute(const QByteArray &svg, qsizetype at, const QByteArray &name) {
    while (at < svg.size()) {
        while (at < svg.size() && isSpace(svg.at(at)))
            ++at;
        if (at >= svg.size() || svg.at(at) == '>' || svg.at(at) == '/')
            return false;
        const qsizetype nameStart = at;
        while (at < svg.size() && !isSpace(svg.at(at)) && svg.at(at) != '=' && svg.at(at) != '>')
            ++at;
        if (svg.mid(nameStart, at - nameStart) == name)
            return true;
        while (at < svg.size() && isSpace(svg.at(at)))
            ++at;
        if (at >= svg.size() || svg.at(at) != '=')
            continue;
        ++at;
        while (at < svg.size() && isSpace(svg.at(at)))
            ++at;
        if (at < svg.size() && (svg.at(at) == '"' || svg.at(at) == '\'')) {
            const qsizetype end = svg.indexOf(svg.at(at), at + 1);
            if (end < 0)
                return false;
            at = end + 1;
        }
    }
    return false;
}

} // namespace

QColor SheetLook::tintColor() const {
    if (tint.isEmpty() || tint == QLatin1String("auto"))
        return background == Background::Dark ? QColor(Qt::white) : QColor(Qt::black);
    const QColor color(tint);
    return color.isValid() ? color : QColor(Qt::black);
}

QString SheetLook::key() const {
    return QStringLiteral("%1@%2/%3/%4/%5")
        .arg(side)
        .arg(ratio)
        .arg(backgroundName(background), tintColor().name(QColor::HexArgb),
             optimized ? QStringLiteral("o") : QStringLiteral("i"));
}

QString SheetLook::backgroundName(Background background) {
    switch (background) {
    case Background::Dark:
        return QStringLiteral("dark");
    case Background::Checkerboard:
        return QStringLiteral("checkerboard");
    case Background::Light:
        break;
    }
    return QStringLiteral("light");
}

SheetLook::Background SheetLook::backgroundNamed(const QString &name) {
    if (name == QLatin1String("dark"))
        return Background::Dark;
    if (name == QLatin1String("checkerboard"))
        return Background::Checkerboard;
    return Background::Light;
}

namespace ContactSheetDrawing {

QByteArray withTint(const QByteArray &svg, const QColor &tint) {
    const qsizetype start = rootStart(svg);
    if (start < 0)
        return svg;
    qsizetype nameEnd = start + 1;
    while (nameEnd < svg.size() && !isSpace(svg.at(nameEnd)) && svg.at(nameEnd) != '>' &&
           svg.at(nameEnd) != '/')
        ++nameEnd;
    // A presentation attribute, so a style sheet in the icon still has the last word.
    if (hasAttribute(svg, nameEnd, "color"))
        return svg;
    QByteArray tinted = svg;
    tinted.insert(nameEnd, " color=\"" + tint.name(QColor::HexRgb).toLatin1() + '"');
    return tinted;
}

void paintBackground(QPainter &painter, const QRectF &area, SheetLook::Background background) {
    if (background == SheetLook::Background::Dark) {
        painter.fillRect(area, darkColor);
        return;
    }
    painter.fillRect(area, lightColor);
    if (background != SheetLook::Background::Checkerboard)
        return;
    QPixmap tile(2 * checkerSquare, 2 * checkerSquare);
    tile.fill(lightColor);
    {
        QPainter tilePainter(&tile);
        tilePainter.fillRect(0, 0, checkerSquare, checkerSquare, checkerColor);
        tilePainter.fillRect(checkerSquare, checkerSquare, checkerSquare, checkerSquare,
                             checkerColor);
    }
    QBrush brush(tile);
    brush.setTransform(QTransform::fromTranslate(area.left(), area.top()));
    painter.fillRect(area, brush);
}

bool isInvisible(const QImage &drawing, SheetLook::Background background) {
    if (drawing.isNull())
        return false;
    // What lies under each pixel, exactly as the sheet paints it.
    QImage under(drawing.size(), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&under);
        paintBackground(painter, QRectF(under.rect()), background);
    }
    const QImage icon = drawing.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // A pixel shows when one channel moves by a quarter of its range; an icon shows when a tenth
    // of what it covers does. Faint anti-aliased edges of a white icon on white do not count.
    constexpr int shows = 64;
    qint64 covered = 0, showing = 0;
    for (int y = 0; y < icon.height(); ++y) {
        const auto *pixels = reinterpret_cast<const QRgb *>(icon.constScanLine(y));
        const auto *base = reinterpret_cast<const QRgb *>(under.constScanLine(y));
        for (int x = 0; x < icon.width(); ++x) {
            const int alpha = qAlpha(pixels[x]);
            if (alpha < 16)
                continue;
            ++covered;
            const auto over = [&](int source, int target) {
                return source + target * (255 - alpha) / 255;
            };
            const int difference =
                std::max({std::abs(over(qRed(pixels[x]), qRed(base[x])) - qRed(base[x])),
                          std::abs(over(qGreen(pixels[x]), qGreen(base[x])) - qGreen(base[x])),
                          std::abs(over(qBlue(pixels[x]), qBlue(base[x])) - qBlue(base[x]))});
            if (difference >= shows)
                ++showing;
        }
    }
    return showing * 10 < std::max<qint64>(covered, 1);
}

IconDrawing draw(const IconSource &source, const SheetLook &look,
                 const std::function<bool()> &stale) {
    const auto wanted = [&stale] { return !stale || !stale(); };
    IconDrawing drawing;
    const QColor tint = look.tintColor();
    const QSize box(look.devicePixels(), look.devicePixels());
    const auto render = [&](const QByteArray &svg) {
        if (svg.isEmpty())
            return QImage();
        const SvgRenderer renderer(withTint(svg, tint));
        return renderer.render(box);
    };
    const QImage original = render(readFile(source.original));
    QImage optimized;
    if (source.hasOptimized() && wanted()) {
        optimized = render(source.optimizedData.isEmpty() ? readFile(source.optimizedPath)
                                                          : source.optimizedData);
        if (!original.isNull() && !optimized.isNull())
            drawing.changedPixels = VisualCheck::compareImages(original, optimized).changed;
        else if (original.isNull() != optimized.isNull())
            drawing.changedPixels = box.width() * box.height();
    }
    drawing.showsOptimized = look.optimized && source.hasOptimized();
    drawing.image = drawing.showsOptimized ? optimized : original;
    drawing.invisible = isInvisible(drawing.image, look.background);
    return drawing;
}

} // namespace ContactSheetDrawing
