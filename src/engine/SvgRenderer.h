#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QSizeF>
#include <QString>

typedef struct _RsvgHandle RsvgHandle;

// One SVG document parsed by librsvg, ready to be drawn at any size. librsvg draws what the web
// draws (clip paths, masks, filters, CSS), which is what the preview and the visual check need.
//
// Each object owns its own librsvg handle: objects on different threads never share state, so
// worker threads may each make their own. One object is used by one thread at a time.
class SvgRenderer {
public:
    // A rendering never has a side longer than this, so a huge drawing costs bounded memory.
    static constexpr int maximumSide = 4096;

    explicit SvgRenderer(const QByteArray &svg);
    ~SvgRenderer();
    SvgRenderer(const SvgRenderer &) = delete;
    SvgRenderer &operator=(const SvgRenderer &) = delete;

    bool isValid() const { return m_handle != nullptr; }
    // librsvg's reason when the document could not be parsed.
    QString error() const { return m_error; }

    // The drawing's own proportions: its viewBox, else its width and height in pixels; a square
    // when the document states neither.
    QSizeF naturalSize() const { return m_natural; }
    // The largest size with the drawing's proportions that fits `box` (at least 1×1).
    QSize fittedSize(QSize box) const;

    // The drawing fitted into an image of `size` (centred, on a transparent background), in
    // QImage::Format_ARGB32_Premultiplied. A null image when the document is invalid or
    // librsvg fails; `size` is limited to maximumSide.
    QImage render(QSize size) const;

private:
    RsvgHandle *m_handle = nullptr;
    QString m_error;
    QSizeF m_natural{1, 1};
};
