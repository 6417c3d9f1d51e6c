#pragma once

#include <QLoggingCategory>

// The one channel for diagnostics of unexpected failures: one line each, never shown to the
// user. QT_LOGGING_RULES="mirandel.debug=false" and the like filter it.
Q_DECLARE_LOGGING_CATEGORY(lcMirandel)
