#pragma once

class QThreadPool;

// The threads that draw SVG documents (the rendering check, the preview): as many as there are
// cores, apart from Qt's global pool, where lookups wait up to ten seconds on a shell and an
// install waits minutes on npm. Each thread keeps its own renderer helper process.
QThreadPool &renderPool();
