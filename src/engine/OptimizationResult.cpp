#include "engine/OptimizationResult.h"

#include <algorithm>

qsizetype OptimizationResult::count(FileResult::Status status) const {
    return std::count_if(outcomes.cbegin(), outcomes.cend(),
                         [status](const FileResult &outcome) { return outcome.status == status; });
}
