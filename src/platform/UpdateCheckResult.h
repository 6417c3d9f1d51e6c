#pragma once

#include "platform/Appcast.h"

#include <QMetaType>
#include <QString>

#include <optional>

// What one update check found.
struct UpdateCheckResult {
    enum class Outcome { UpdateAvailable, SkippedVersion, UpToDate, Failed };
    Outcome outcome = Outcome::Failed;
    // Asked for by the user rather than by the schedule.
    bool manual = false;
    // The newest release the feed offers this system, when the feed could be read.
    std::optional<AppcastItem> item;
    // Why the check failed, in words for people.
    QString error;
};

Q_DECLARE_METATYPE(UpdateCheckResult)
