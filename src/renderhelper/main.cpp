// mirandel-render: draws SVG documents with librsvg on behalf of Mirandel, in a process of its
// own. librsvg panics (and so aborts its process) on some real files, and others take minutes or
// gigabytes to draw; out here such a file costs only its own drawing, never the program.
//
// Requests arrive on standard input, answers leave on standard output, one after the other, for
// as long as the input stays open. All numbers are in the machine's own byte order (both ends
// are always on one machine):
//   request: uint32 document length, the document's bytes, int32 width, int32 height
//            (width or height 0: only parse, and tell the natural size)
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

#include <cerrno>
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

bool readAll(void *data, size_t size) {
    auto *bytes = static_cast<char *>(data);
    while (size > 0) {
        const ssize_t got = read(STDIN_FILENO, bytes, size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        bytes += got;
        size -= size_t(got);
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

template <typename T> bool put(T value) {
    return writeAll(&value, sizeof value);
}

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
    return put(status) && put(document.naturalWidth) && put(document.naturalHeight) &&
           put(uint32_t(reason.size())) && writeAll(reason.data(), reason.size());
}

bool answer(Document &document, int32_t width, int32_t height) {
    if (!document.handle)
        return answerFailure(1, document, document.error);
    if (width <= 0 || height <= 0) {
        // Parsing only; no pixels follow.
        return put(uint8_t(0)) && put(document.naturalWidth) && put(document.naturalHeight) &&
               put(int32_t(0)) && put(int32_t(0));
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
    return put(uint8_t(0)) && put(document.naturalWidth) && put(document.naturalHeight) &&
           put(width) && put(height) && writeAll(pixels.data(), pixels.size());
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
        if (width > maximumSide || height > maximumSide)
            return 1;
        document.load(std::move(svg));
        if (!answer(document, width, height))
            return 0;
    }
}
