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
// A first rendering with more changed pixels than this looks different without a second one.
constexpr int inconclusiveUpTo = 6;
// The deciding rendering has sixteen times the pixels; a real change shows in more of them.
constexpr int differentFrom = 24;

int channel(QRgb pixel, int index) {
    return int((pixel >> (8 * index)) & 0xff);
}

// True when `pixel` lies within the range of `other`'s 3×3 neighbourhood around (x, y) in every
// channel, give or take the tolerance. Beyond the image lies transparency: a shape that ends at
// the edge of the drawing is shaded there like any other edge.
bool withinNeighbours(QRgb pixel, const QImage &other, int width, int height, int x, int y) {
    const bool atBorder = x == 0 || y == 0 || x == width - 1 || y == height - 1;
    std::array<int, 4> low{}, high{};
    low.fill(atBorder ? 0 : 255);
    for (int row = std::max(0, y - 1); row <= std::min(height - 1, y + 1); ++row) {
        const auto *line = reinterpret_cast<const QRgb *>(other.constScanLine(row));
        for (int column = std::max(0, x - 1); column <= std::min(width - 1, x + 1); ++column)
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

} // namespace

VisualCheck::VisualCheck(const QByteArray &original) : m_original(original) {
    const SvgRenderer renderer(original);
    m_firstRendering = renderer.renderFitted({firstSide, firstSide});
    m_couldNotDraw = renderer.couldNotDraw();
}

QString VisualCheck::couldNotDrawMessage() {
    return tr("Mirandel could not draw this file; it was left as it was");
}

VisualCheck::Comparison VisualCheck::compareImages(const QImage &original,
                                                   const QImage &optimized) {
    Comparison comparison;
    if (original.size() != optimized.size())
        return {original.width() * original.height(), differenceImage(original, {})};
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
            if (!withinNeighbours(a[x], optimized, width, height, x, y) ||
                !withinNeighbours(b[x], original, width, height, x, y))
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
    const SpriteParts before = spritePartsOf(original);
    if (before.symbols == 0 && before.uses == 0)
        return QString(); // nothing svgo could have dropped
    const SpriteParts after = spritePartsOf(optimized);
    if (after.symbols < before.symbols || (before.uses > 0 && after.uses == 0))
        return tr("svgo removed symbols or their uses.");
    return QString();
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
    if (comparison.changed > 0 && comparison.changed <= inconclusiveUpTo) {
        const SvgRenderer originalRenderer(m_original);
        const QImage originalImage = originalRenderer.renderFitted({secondSide, secondSide});
        if (originalRenderer.couldNotDraw())
            return undrawable;
        size = originalImage.isNull() ? originalRenderer.fittedSize({secondSide, secondSide})
                                      : originalImage.size();
        const QImage optimizedImage = renderer.render(size);
        if (originalRenderer.couldNotDraw() || renderer.couldNotDraw())
            return undrawable;
        comparison = compareImages(originalImage, optimizedImage);
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
