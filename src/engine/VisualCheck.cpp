#include "engine/VisualCheck.h"

#include "engine/SvgRenderer.h"

#include <QXmlStreamReader>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace {

// How far a channel (0–255) may stray beyond the neighbouring pixels' range: anti-aliasing of an
// edge that moved by a fraction of a pixel stays inside it.
constexpr int tolerance = 24;
// A first rendering with this many changed pixels looks different without a second one.
constexpr int decidedFrom = 7;
// Changed pixels of the deciding rendering from which an output looks different. The outputs
// of svgo's defaults for thousands of icons change half as many at most, while rounding that
// deforms a shape visibly changes more.
constexpr int differentFrom = 16;

int channel(QRgb pixel, int index) {
    return int((pixel >> (8 * index)) & 0xff);
}

// True when `pixel` lies within the range of `other`'s pixels up to `reach` away from (x, y) in
// every channel, give or take the tolerance. Beyond the image lies transparency: a shape that
// ends at the edge of the drawing is shaded there like any other edge.
bool withinNeighbours(QRgb pixel, const QImage &other, int width, int height, int x, int y,
                      int reach) {
    const bool atBorder = x < reach || y < reach || x >= width - reach || y >= height - reach;
    std::array<int, 4> low{}, high{};
    low.fill(atBorder ? 0 : 255);
    for (int row = std::max(0, y - reach); row <= std::min(height - 1, y + reach); ++row) {
        const auto *line = reinterpret_cast<const QRgb *>(other.constScanLine(row));
        for (int column = std::max(0, x - reach); column <= std::min(width - 1, x + reach);
             ++column)
            for (int index = 0; index < 4; ++index) {
                low[index] = std::min(low[index], channel(line[column], index));
                high[index] = std::max(high[index], channel(line[column], index));
            }
    }
    for (int index = 0; index < 4; ++index) {
        const int value = channel(pixel, index);
        if (value < low[index] - tolerance || value > high[index] + tolerance)
            return false;
    }
    return true;
}

bool close(QRgb a, QRgb b) {
    for (int index = 0; index < 4; ++index)
        if (std::abs(channel(a, index) - channel(b, index)) > tolerance)
            return false;
    return true;
}

// The original in light grey with the changed pixels in red.
QImage differenceImage(const QImage &original, const QList<QPoint> &changed) {
    QImage image(original.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        const auto *source = reinterpret_cast<const QRgb *>(original.constScanLine(y));
        auto *target = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(source[x]) / 4;
            target[x] = qRgba(alpha / 2, alpha / 2, alpha / 2, alpha);
        }
    }
    for (const QPoint &point : changed)
        image.setPixel(point, qRgba(230, 0, 0, 255));
    return image;
}

// What QByteArray::trimmed().isEmpty() tells, without copying the document.
bool blank(const QByteArray &bytes) {
    return std::all_of(bytes.cbegin(), bytes.cend(),
                       [](char byte) { return byte == ' ' || (byte >= '\t' && byte <= '\r'); });
}

// Counts of the elements that make up a sprite.
struct SpriteParts {
    int symbols = 0;
    int uses = 0;
};

SpriteParts spritePartsOf(const QByteArray &svg) {
    SpriteParts parts;
    // Most files name neither element anywhere, which a byte search tells far faster than a
    // parse. Any way of writing such an element (a prefix, an entity that holds it) still has
    // its name in the bytes.
    if (!svg.contains("symbol") && !svg.contains("use"))
        return parts;
    QXmlStreamReader reader(svg);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == QLatin1String("symbol"))
            ++parts.symbols;
        else if (reader.name() == QLatin1String("use"))
            ++parts.uses;
    }
    return parts;
}

// True when the declarations of a style attribute set `property`.
bool styleSets(QStringView style, QLatin1String property) {
    for (const QStringView declaration : style.split(u';')) {
        const qsizetype colon = declaration.indexOf(u':');
        if (colon > 0 &&
            declaration.left(colon).trimmed().compare(property, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// What the elements of a document do with transforms and their origins.
struct Origins {
    bool transformWithOrigin = false;    // some element has both
    bool originWithoutTransform = false; // some element has an origin and no transform
};

Origins originsOf(const QByteArray &svg) {
    Origins origins;
    QXmlStreamReader reader(svg);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = reader.attributes();
        const QStringView style = attributes.value(QLatin1String("style"));
        const bool origin = attributes.hasAttribute(QLatin1String("transform-origin")) ||
                            styleSets(style, QLatin1String("transform-origin"));
        if (!origin)
            continue;
        const bool transform = attributes.hasAttribute(QLatin1String("transform")) ||
                               styleSets(style, QLatin1String("transform"));
        (transform ? origins.transformWithOrigin : origins.originWithoutTransform) = true;
    }
    return origins;
}

} // namespace

VisualCheck::VisualCheck(const QByteArray &original) : m_original(original) {
    const SvgRenderer renderer(original);
    m_firstRendering = renderer.renderFitted({firstSide, firstSide});
    m_couldNotDraw = renderer.couldNotDraw();
}

QString VisualCheck::couldNotDrawMessage() {
    return tr("Mirandel could not draw this file; it was left as it was");
}

VisualCheck::Comparison VisualCheck::compareImages(const QImage &original, const QImage &optimized,
                                                   int reach) {
    Comparison comparison;
    if (original.size() != optimized.size())
        return {original.width() * original.height(), true, differenceImage(original, {})};
    QList<QPoint> changed;
    // QImage's accessors are calls into another library: asked once, not for every pixel.
    const int width = original.width(), height = original.height();
    for (int y = 0; y < height; ++y) {
        const auto *a = reinterpret_cast<const QRgb *>(original.constScanLine(y));
        const auto *b = reinterpret_cast<const QRgb *>(optimized.constScanLine(y));
        if (std::memcmp(a, b, size_t(width) * sizeof(QRgb)) == 0)
            continue; // most rows of most drawings
        for (int x = 0; x < width; ++x) {
            if (a[x] == b[x] || close(a[x], b[x]))
                continue;
            comparison.differs = true;
            if (!withinNeighbours(a[x], optimized, width, height, x, y, reach) ||
                !withinNeighbours(b[x], original, width, height, x, y, reach))
                changed.append(QPoint(x, y));
        }
    }
    comparison.changed = int(changed.size());
    if (!changed.isEmpty())
        comparison.difference = differenceImage(original, changed);
    return comparison;
}

QString VisualCheck::structuralChange(const QByteArray &original, const QByteArray &optimized) {
    if (blank(optimized) && !blank(original))
        return tr("svgo's output is empty.");
    // svgo folds a rotation into the path it turns but keeps the origin it turned about, which
    // browsers then apply to the folded path a second time; librsvg ignores origins altogether,
    // so both drawings agree while the web shows something else. Few files name an origin.
    if (optimized.contains("transform-origin") && original.contains("transform-origin") &&
        originsOf(optimized).originWithoutTransform && originsOf(original).transformWithOrigin)
        return tr("svgo removed a transform but kept its transform-origin.");
    const SpriteParts before = spritePartsOf(original);
    if (before.symbols == 0 && before.uses == 0)
        return QString(); // nothing svgo could have dropped
    const SpriteParts after = spritePartsOf(optimized);
    if (after.symbols < before.symbols || (before.uses > 0 && after.uses == 0))
        return tr("svgo removed symbols or their uses.");
    return QString();
}

const VisualCheck::SecondRendering &VisualCheck::secondRendering() const {
    std::call_once(m_secondDrawn, [this] {
        const SvgRenderer renderer(m_original);
        const QSize box(secondSide, secondSide);
        m_second.image = renderer.renderFitted(box);
        m_second.couldNotDraw = renderer.couldNotDraw();
        m_second.size = m_second.image.isNull() ? renderer.fittedSize(box) : m_second.image.size();
    });
    return m_second;
}

VisualCheck::Verdict VisualCheck::compare(const QByteArray &optimized) const {
    const Verdict undrawable{false, true, couldNotDrawMessage(), {}, 0, {}};
    if (m_couldNotDraw)
        return undrawable;
    // An original librsvg refuses gives nothing to compare with.
    if (m_firstRendering.isNull())
        return {};

    // The same bytes draw the same pixels: nothing to draw again.
    if (optimized == m_original)
        return {};

    const SvgRenderer renderer(optimized);
    const QImage first = renderer.render(m_firstRendering.size());
    if (renderer.couldNotDraw())
        return undrawable;
    if (first.isNull())
        return {true, false, tr("The optimized file cannot be drawn."), {}, 0, {}};
    Comparison comparison = compareImages(m_firstRendering, first);
    QSize size = m_firstRendering.size();
    // Drawings that agree within anti-aliasing's noise everywhere show no edge that moved, and
    // most outputs of svgo's defaults end here, without the larger drawings' cost.
    if (comparison.changed < decidedFrom && comparison.differs) {
        const SecondRendering &second = secondRendering();
        if (second.couldNotDraw)
            return undrawable;
        size = second.size;
        const QImage optimizedImage = renderer.render(size);
        if (renderer.couldNotDraw())
            return undrawable;
        comparison = compareImages(second.image, optimizedImage, secondReach);
        if (comparison.changed < differentFrom)
            return {};
    }
    if (comparison.changed == 0)
        return {};
    return {true,
            false,
            tr("The optimized file looks different."),
            comparison.difference,
            comparison.changed,
            size};
}
