#include "sim/logging.h"

Q_LOGGING_CATEGORY(lcSim, "quorvel.sim", QtInfoMsg)
