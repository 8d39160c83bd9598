#include "server/logging.h"

Q_LOGGING_CATEGORY(lcRelay, "quorvel.server")
