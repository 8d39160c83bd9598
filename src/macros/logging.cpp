#include "macros/logging.h"

namespace qv::macros {
Q_LOGGING_CATEGORY(lcMacros, "quorvel.macros")
}
