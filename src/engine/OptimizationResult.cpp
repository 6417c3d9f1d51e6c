#include "engine/OptimizationResult.h"

#include <algorithm>

qsizetype OptimizationResult::count(FileOutcome::Status status) const {
    return std::count_if(outcomes.cbegin(), outcomes.cend(),
                         [status](const FileOutcome &outcome) { return outcome.status == status; });
}
