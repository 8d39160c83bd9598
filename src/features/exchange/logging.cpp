#include "features/exchange/logging.h"

Q_LOGGING_CATEGORY(lcExchange, "quorvel.exchange")
