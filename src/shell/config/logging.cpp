#include "shell/config/logging.h"

namespace qv::config {
Q_LOGGING_CATEGORY(lcConfig, "quorvel.config")
}
