#pragma once
// The macro engine's logging category: cue decisions, processor runs, mail and media.

#include <QLoggingCategory>

namespace qv::macros {
Q_DECLARE_LOGGING_CATEGORY(lcMacros)
}
