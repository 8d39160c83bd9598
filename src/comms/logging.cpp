#include "comms/logging.h"

Q_LOGGING_CATEGORY(lcComms, "quorvel.comms")
