#include "model/Diagnostics.h"

Q_LOGGING_CATEGORY(lcMirandel, "mirandel")
