#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QSizeF>
#include <QString>

// One SVG document for librsvg, ready to be drawn at any size. librsvg draws what the web draws
// (clip paths, masks, filters, CSS), which is what the preview and the visual check need.
//
// librsvg panics on some real files, which would abort the whole program, and some files take
// minutes or gigabytes to draw. So it never runs in this process: each thread talks to a helper
// process of its own (mirandel-render, in the shipped tools folder) that is kept between
// drawings, limited in memory, given timeLimitMs per answer and started afresh after it died.
// A document whose helper died or ran out of time is marked couldNotDraw() and not tried again.
//
// One object is used by one thread at a time; objects on different threads share nothing.
class SvgRenderer {
public:
    // A rendering never has a side longer than this, so a huge drawing costs bounded memory.
    static constexpr int maximumSide = 4096;
    // How long the helper may take for one answer before it is stopped.
    static constexpr int timeLimitMs = 10000;

    explicit SvgRenderer(const QByteArray &svg);
    SvgRenderer(const SvgRenderer &) = delete;
    SvgRenderer &operator=(const SvgRenderer &) = delete;

    bool isValid() const {
        parse();
        return m_valid;
    }
    // librsvg's reason when the document could not be parsed.
    QString error() const {
        parse();
        return m_error;
    }
    // True once the helper crashed or ran out of time on this document, while parsing it or
    // drawing it; render() then gives only null images.
    bool couldNotDraw() const {
        parse();
        return m_couldNotDraw;
    }

    // The drawing's own proportions: its viewBox, else its width and height in pixels; a square
    // when the document states neither.
    QSizeF naturalSize() const {
        parse();
        return m_natural;
    }
    // The largest size with the drawing's proportions that fits `box` (at least 1×1).
    QSize fittedSize(QSize box) const;

    // The drawing fitted into an image of `size` (centred, on a transparent background), in
    // QImage::Format_ARGB32_Premultiplied. A null image when the document is invalid or
    // librsvg fails; `size` is limited to maximumSide.
    QImage render(QSize size) const;
    // render(fittedSize(box)), in one round trip to the helper when nothing was asked before.
    QImage renderFitted(QSize box) const;

private:
    // The helper parses the document on the first question about it; a first render() answers
    // those questions with the same request, which saves a round trip per document.
    void parse() const;
    // A request to the helper: `size`, or the box to fit into as a negative size.
    QImage draw(QSize size) const;

    QByteArray m_svg;
    mutable bool m_parsed = false;
    mutable bool m_valid = false;
    mutable bool m_couldNotDraw = false;
    mutable QString m_error;
    mutable QSizeF m_natural{1, 1};
};
