#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QImage>
#include <QString>

// Tells whether svgo's output still looks like its input.
//
// Both documents are drawn at one size that shows an icon's detail and compared pixel by pixel.
// A pixel counts as changed only when it lies outside the range of the other drawing's pixels
// around it (plus a small tolerance), so edges that anti-aliasing shades a little differently
// after svgo rounds a coordinate pass, while a shape that moved, grew or vanished does not. When
// the first size shows only a few changed pixels, a larger size decides.
//
// Two changes no rendering shows are caught from the markup (structuralChange): an empty output
// from a non-empty input, and a sprite whose <symbol>s or <use>s svgo dropped (symbols draw
// nothing by themselves, so an emptied sprite and the original render alike).
//
// The constructor draws the original, so it may run while svgo works on the file; compare()
// then draws only the output. Objects are independent of each other and may live on any thread.
//
// When drawing the original or the output crashed or ran out of time (see SvgRenderer), nothing
// can be said about the output: the verdict says so, and the file is left as it was.
class VisualCheck {
    Q_DECLARE_TR_FUNCTIONS(VisualCheck)
public:
    // The long side of the first and the deciding rendering, in pixels.
    static constexpr int firstSide = 64;
    static constexpr int secondSide = 256;

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

    // The changed pixels of two renderings of one size.
    struct Comparison {
        int changed = 0;
        QImage difference; // null when nothing changed
    };
    static Comparison compareImages(const QImage &original, const QImage &optimized);

private:
    QByteArray m_original;
    QImage m_firstRendering; // null when librsvg cannot draw the original
    bool m_couldNotDraw = false;
};
