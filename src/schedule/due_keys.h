#pragma once
// Due keys: a wall-clock minute written "YYMMDDHHMM", the unit by which
// schedules fire (18:30 on 5 December 2026 is "2612051830").

#include "schedule/local_time.h"

#include <QDateTime>
#include <QStringList>

#include <optional>

namespace qv::schedule {

QString dueKey(LocalDateTime when);
// The key of a stored StartDateTime text; empty when the text is not a date-time.
QString dueKeyOfText(const QString& storedDateTime);

// The minutes a reading of the clock stands for: its own minute and, in the
// first minute after the clocks went forward, every minute the jump skipped
// (a schedule at 01:30 on that day fires at 02:00). A clock that the user
// sets forward skips its minutes: only a change of the zone's offset counts.
QStringList dueKeysAt(const QDateTime& now);

// Milliseconds from now to the start of the next minute (1 ... 60000).
int msToNextMinute(const QDateTime& now);

}  // namespace qv::schedule
