#pragma once

#include <QLoggingCategory>

// Debug lines (every message the PC writes) only with --verbose; info lines
// (client comings and goings, the exit summary) unless --quiet.
Q_DECLARE_LOGGING_CATEGORY(lcSim)
