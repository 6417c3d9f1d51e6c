// mirandel-render: draws SVG documents with librsvg on behalf of Mirandel, in a process of its
// own. librsvg panics (and so aborts its process) on some real files, and others take minutes or
// gigabytes to draw; out here such a file costs only its own drawing, never the program.
//
// Requests arrive on standard input, answers leave on standard output, one after the other, for
// as long as the input stays open. All numbers are in the machine's own byte order (both ends
// are always on one machine):
//   request: uint32 document length, the document's bytes, int32 width, int32 height
//            (width or height 0: only parse, and tell the natural size; both negative: the
//            largest size with the drawing's proportions that fits a box of -width × -height,
//            so that a first drawing needs no round trip to learn the proportions)
//   answer:  uint8 status (0 drawn, 1 not a document librsvg accepts, 2 librsvg could not draw),
//            double natural width, double natural height,
//            status 0 with a size: int32 width, int32 height, width·height·4 bytes of cairo
//            ARGB32 (premultiplied, rows without padding);
//            status 1 or 2: uint32 length and the reason in UTF-8.
//
// Plain C++ and librsvg only, built without sanitizers: the address space limit below and the
// sanitizers' shadow memory cannot live together.

#include <librsvg/rsvg.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// What one drawing may use: enough for the largest rendering with a few filter layers.
constexpr rlim_t addressSpaceLimit = rlim_t(1) << 30;
// The caller never asks for more; anything beyond is a broken request.
constexpr int32_t maximumSide = 4096;
constexpr uint32_t maximumDocument = 256u << 20;
constexpr size_t smallDrawing = 256 * 256 * 4;

// A request arrives in one piece or a few; its small fields come out of this buffer rather than
// a read each.
struct Input {
    static constexpr size_t chunk = 65536;
    std::vector<char> buffer = std::vector<char>(chunk);
    size_t start = 0, end = 0;
} input;

bool readAll(void *data, size_t size) {
    auto *bytes = static_cast<char *>(data);
    const auto take = [&] {
        const size_t taken = std::min(size, input.end - input.start);
        if (taken > 0)
            std::memcpy(bytes, input.buffer.data() + input.start, taken);
        input.start += taken;
        bytes += taken;
        size -= taken;
    };
    take();
    while (size > 0) {
        const bool direct = size >= Input::chunk;
        const ssize_t got =
            read(STDIN_FILENO, direct ? bytes : input.buffer.data(), direct ? size : Input::chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        if (direct) {
            bytes += got;
            size -= size_t(got);
        } else {
            input.start = 0;
            input.end = size_t(got);
            take();
        }
    }
    return true;
}

bool writeAll(const void *data, size_t size) {
    const auto *bytes = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t put = write(STDOUT_FILENO, bytes, size);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        bytes += put;
        size -= size_t(put);
    }
    return true;
}

// An answer's fields are gathered and written at once; the pixels follow in a second write.
struct Output {
    std::vector<char> bytes;
    template <typename T> Output &operator<<(T value) { return append(&value, sizeof value); }
    Output &append(const void *data, size_t size) {
        const size_t at = bytes.size();
        bytes.resize(at + size);
        if (size > 0)
            std::memcpy(bytes.data() + at, data, size);
        return *this;
    }
    bool write() const { return writeAll(bytes.data(), bytes.size()); }
};

// The one document parsed last: the caller draws a document at several sizes in a row.
struct Document {
    std::string svg;
    RsvgHandle *handle = nullptr;
    std::string error;
    double naturalWidth = 1, naturalHeight = 1;

    void load(std::string bytes) {
        if (handle && bytes == svg)
            return;
        if (handle)
            g_object_unref(handle);
        handle = nullptr;
        error.clear();
        naturalWidth = naturalHeight = 1;
        svg = std::move(bytes);
        GError *failure = nullptr;
        handle = rsvg_handle_new_from_data(reinterpret_cast<const guint8 *>(svg.data()),
                                           gsize(svg.size()), &failure);
        if (!handle) {
            error = failure ? failure->message : "";
            if (failure)
                g_error_free(failure);
            svg.clear();
            return;
        }
        rsvg_handle_set_dpi(handle, 96);
        // The viewBox gives the proportions, else the width and height in pixels.
        gboolean hasViewBox = false;
        RsvgRectangle viewBox{};
        rsvg_handle_get_intrinsic_dimensions(handle, nullptr, nullptr, nullptr, nullptr,
                                             &hasViewBox, &viewBox);
        double width = 0, height = 0;
        if (hasViewBox && viewBox.width > 0 && viewBox.height > 0) {
            naturalWidth = viewBox.width;
            naturalHeight = viewBox.height;
        } else if (rsvg_handle_get_intrinsic_size_in_pixels(handle, &width, &height) && width > 0 &&
                   height > 0) {
            naturalWidth = width;
            naturalHeight = height;
        }
    }
};

bool answerFailure(uint8_t status, const Document &document, const std::string &reason) {
    Output output;
    output << status << document.naturalWidth << document.naturalHeight << uint32_t(reason.size());
    return output.append(reason.data(), reason.size()).write();
}

// What SvgRenderer::fittedSize() computes from the natural size (QSizeF::scaled with
// Qt::KeepAspectRatio, rounded, at least one pixel), so both ends agree on the size.
void fit(const Document &document, int32_t &width, int32_t &height) {
    const double boxWidth = -double(width), boxHeight = -double(height);
    const double naturalWidth = document.naturalWidth, naturalHeight = document.naturalHeight;
    double fittedWidth = boxWidth, fittedHeight = boxHeight;
    if (naturalWidth != 0 && naturalHeight != 0) {
        const double scaledWidth = boxHeight * naturalWidth / naturalHeight;
        if (scaledWidth <= boxWidth)
            fittedWidth = scaledWidth;
        else
            fittedHeight = boxWidth * naturalHeight / naturalWidth;
    }
    width = std::max<int32_t>(1, int32_t(std::lround(fittedWidth)));
    height = std::max<int32_t>(1, int32_t(std::lround(fittedHeight)));
}

bool answer(Document &document, int32_t width, int32_t height) {
    if (!document.handle)
        return answerFailure(1, document, document.error);
    if (width < 0 && height < 0)
        fit(document, width, height);
    if (width <= 0 || height <= 0) {
        // Parsing only; no pixels follow.
        Output output;
        output << uint8_t(0) << document.naturalWidth << document.naturalHeight << int32_t(0)
               << int32_t(0);
        return output.write();
    }
    std::vector<unsigned char> pixels(size_t(width) * size_t(height) * 4, 0);
    cairo_surface_t *surface = cairo_image_surface_create_for_data(
        pixels.data(), CAIRO_FORMAT_ARGB32, width, height, width * 4);
    cairo_t *cairo = cairo_create(surface);
    const RsvgRectangle viewport{0, 0, double(width), double(height)};
    GError *failure = nullptr;
    const bool drawn = rsvg_handle_render_document(document.handle, cairo, &viewport, &failure);
    cairo_destroy(cairo);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    if (!drawn) {
        const std::string reason = failure ? failure->message : "";
        if (failure)
            g_error_free(failure);
        return answerFailure(2, document, reason);
    }
    Output output;
    output << uint8_t(0) << document.naturalWidth << document.naturalHeight << width << height;
    // An icon's pixels are copied into the one write; a large drawing's are written as they are.
    if (pixels.size() <= smallDrawing)
        return output.append(pixels.data(), pixels.size()).write();
    return output.write() && writeAll(pixels.data(), pixels.size());
}

} // namespace

int main() {
    const rlimit memory{addressSpaceLimit, addressSpaceLimit};
    setrlimit(RLIMIT_AS, &memory);
    // A panic aborts; its core file would only fill the disk.
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);

    Document document;
    for (;;) {
        uint32_t length = 0;
        if (!readAll(&length, sizeof length) || length > maximumDocument)
            return 0;
        std::string svg(length, '\0');
        int32_t width = 0, height = 0;
        if (!readAll(svg.data(), length) || !readAll(&width, sizeof width) ||
            !readAll(&height, sizeof height))
            return 0;
        if (width > maximumSide || height > maximumSide || width < -maximumSide ||
            height < -maximumSide)
            return 1;
        document.load(std::move(svg));
        if (!answer(document, width, height))
            return 0;
    }
}
