#pragma once

#include <QByteArray>

// The size of `bytes` as `gzip -9 -n` would store them: zlib's deflate at its best level inside
// gzip's header and trailer (GNU gzip's own deflate may differ from it by a few bytes). What a
// browser downloads from a server that compresses SVG.
qint64 gzipSize(const QByteArray &bytes);
