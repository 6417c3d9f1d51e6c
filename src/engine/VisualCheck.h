#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QImage>
#include <QString>

#include <mutex>

// Tells whether svgo's output still looks like its input.
//
// Both documents are drawn at icon size and compared pixel by pixel. A pixel counts as changed
// only when it lies outside the range of the other drawing's pixels around it (plus a small
// tolerance), so edges that anti-aliasing shades a little differently after svgo rounds a
// coordinate pass, while a shape that moved, grew or vanished does not. Many changed pixels at
// icon size decide at once. Rounding that moves edges by a fraction of a pixel there hides in
// the anti-aliasing, though it shows plainly at the sizes icons are also used at; so whenever
// any pixel of the small drawings differs by more than anti-aliasing noise, a drawing four times
// as large decides, where edges that moved by up to two of its pixels are still forgiven.
//
// Three changes no rendering shows are caught from the markup (structuralChange): an empty output
// from a non-empty input, a sprite whose <symbol>s or <use>s svgo dropped (symbols draw nothing
// by themselves, so an emptied sprite and the original render alike), and a transform svgo
// removed while keeping its transform-origin (librsvg ignores the origin, browsers apply it to
// whatever transform remains).
//
// The constructor draws the original, so it may run while svgo works on the file; compare()
// then draws only the output, and the original's large drawing once, when a first output needs
// it. One object may judge several outputs of its original, one after another from any threads.
//
// When drawing the original or the output crashed or ran out of time (see SvgRenderer), nothing
// can be said about the output: the verdict says so, and the file is left as it was.
class VisualCheck {
    Q_DECLARE_TR_FUNCTIONS(VisualCheck)
public:
    // The long side of the first and the deciding rendering, in pixels.
    static constexpr int firstSide = 64;
    static constexpr int secondSide = 256;
    // How far (in pixels) a pixel's counterpart may lie in the first and the deciding rendering.
    static constexpr int firstReach = 1;
    static constexpr int secondReach = 2;

    explicit VisualCheck(const QByteArray &original);

    struct Verdict {
        bool looksDifferent = false;
        // The original or the output could not be drawn at all (not merely refused by librsvg).
        bool couldNotDraw = false;
        // why it looks different or could not be judged, for the row and the preview
        QString reason;
        QImage difference; // the original faded with the changed pixels marked; null when none
        // The pixels that changed in the rendering that decided, and its size; none when the
        // output does not look different or cannot be drawn.
        int changedPixels = 0;
        QSize comparedAt;
    };
    Verdict compare(const QByteArray &optimized) const;

    // The reason given when a drawing crashed or ran out of time.
    static QString couldNotDrawMessage();

    // What the markup shows that a rendering would not; empty when nothing.
    static QString structuralChange(const QByteArray &original, const QByteArray &optimized);

    // The changed pixels of two renderings of one size: those outside the range of the other
    // rendering's pixels within `reach` pixels around them, give or take the tolerance.
    struct Comparison {
        int changed = 0;
        // Some pixel differs from the one at its place by more than the tolerance, changed or
        // not: an edge moved, if only by a fraction of a pixel.
        bool differs = false;
        QImage difference; // null when nothing changed
    };
    static Comparison compareImages(const QImage &original, const QImage &optimized,
                                    int reach = firstReach);

private:
    struct SecondRendering {
        QImage image; // null when librsvg cannot draw the original at that size
        QSize size;
        bool couldNotDraw = false;
    };
    const SecondRendering &secondRendering() const;

    QByteArray m_original;
    QImage m_firstRendering; // null when librsvg cannot draw the original
    bool m_couldNotDraw = false;
    // Drawn by the first compare() that needs it, whichever thread that runs on.
    mutable std::once_flag m_secondDrawn;
    mutable SecondRendering m_second;
};
