#pragma once

#include <QByteArray>

// The size of `bytes` as `gzip -9 -n` would store them: zlib's deflate at its best level inside
// gzip's header and trailer (GNU gzip's own deflate may differ from it by a few bytes). What a
// browser downloads from a server that compresses SVG.
qint64 gzipSize(const QByteArray &bytes);

// The size of `bytes` as `brotli -q 11` writes them for a file of that size: quality 11, the
// window the command line picks from the input's length (the smallest from 10 to 24 bits whose
// reach covers it), the length as size hint, and the input handed over in the same 512 KiB reads.
// What a server that precompresses its files with brotli sends.
qint64 brotliSize(const QByteArray &bytes);

// Both sizes of one document; -1 where one could not be measured.
struct CompressedSizes {
    qint64 gzip = -1;
    qint64 brotli = -1;
};

CompressedSizes compressedSizes(const QByteArray &bytes);
