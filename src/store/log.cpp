#include "store/log.h"

namespace qv::store {
Q_LOGGING_CATEGORY(lcStore, "quorvel.store")
}
