#include "features/devices/logging.h"

namespace qv::devices {
Q_LOGGING_CATEGORY(lcDevices, "quorvel.devices")
}
