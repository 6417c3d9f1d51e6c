#include "engine/CompressedSize.h"

#include <zlib.h>

#include <vector>

qint64 gzipSize(const QByteArray &bytes) {
    z_stream stream{};
    // 15 window bits plus 16 asks for gzip's header and trailer; memory level 9 as gzip -9.
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY) !=
        Z_OK)
        return -1;
    std::vector<Bytef> out(deflateBound(&stream, uLong(bytes.size())));
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = out.data();
    stream.avail_out = uInt(out.size());
    const int status = deflate(&stream, Z_FINISH);
    const qint64 size = status == Z_STREAM_END ? qint64(stream.total_out) : -1;
    deflateEnd(&stream);
    return size;
}
