// librsvg's headers come first: GLib names a struct member "signals", which Qt defines as a macro.
#include <librsvg/rsvg.h>

#include "engine/SvgRenderer.h"

#include "model/Diagnostics.h"

#include <algorithm>
#include <cmath>

SvgRenderer::SvgRenderer(const QByteArray &svg) {
    GError *error = nullptr;
    m_handle = rsvg_handle_new_from_data(reinterpret_cast<const guint8 *>(svg.constData()),
                                         gsize(svg.size()), &error);
    if (!m_handle) {
        m_error = error ? QString::fromUtf8(error->message) : QString();
        if (error)
            g_error_free(error);
        return;
    }
    rsvg_handle_set_dpi(m_handle, 96);
    gboolean hasViewBox = false;
    RsvgRectangle viewBox{};
    rsvg_handle_get_intrinsic_dimensions(m_handle, nullptr, nullptr, nullptr, nullptr, &hasViewBox,
                                         &viewBox);
    double width = 0, height = 0;
    if (hasViewBox && viewBox.width > 0 && viewBox.height > 0)
        m_natural = QSizeF(viewBox.width, viewBox.height);
    else if (rsvg_handle_get_intrinsic_size_in_pixels(m_handle, &width, &height) && width > 0 &&
             height > 0)
        m_natural = QSizeF(width, height);
}

SvgRenderer::~SvgRenderer() {
    if (m_handle)
        g_object_unref(m_handle);
}

QSize SvgRenderer::fittedSize(QSize box) const {
    const QSizeF fitted = m_natural.scaled(QSizeF(box), Qt::KeepAspectRatio);
    return QSize(std::max(1, int(std::lround(fitted.width()))),
                 std::max(1, int(std::lround(fitted.height()))));
}

QImage SvgRenderer::render(QSize size) const {
    if (!m_handle || size.isEmpty())
        return {};
    size = size.boundedTo(QSize(maximumSide, maximumSide));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.fill(Qt::transparent);
    // Cairo's ARGB32 is QImage's premultiplied ARGB32 in native byte order, so it draws in place.
    cairo_surface_t *surface =
        cairo_image_surface_create_for_data(image.bits(), CAIRO_FORMAT_ARGB32, image.width(),
                                            image.height(), int(image.bytesPerLine()));
    cairo_t *cairo = cairo_create(surface);
    const RsvgRectangle viewport{0, 0, double(size.width()), double(size.height())};
    GError *error = nullptr;
    const bool drawn = rsvg_handle_render_document(m_handle, cairo, &viewport, &error);
    cairo_destroy(cairo);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    if (!drawn) {
        qCWarning(lcMirandel) << "librsvg could not draw a document:"
                              << (error ? error->message : "no reason given");
        if (error)
            g_error_free(error);
        return {};
    }
    return image;
}
