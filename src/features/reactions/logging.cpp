#include "features/reactions/logging.h"

Q_LOGGING_CATEGORY(lcReactions, "quorvel.reactions")
