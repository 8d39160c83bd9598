#pragma once
// Writes the configuration back: the Password, Config and Comms rows in one
// transaction, so a failure leaves every row as it was.

#include "shell/config/settings.h"

#include <QString>
#include <optional>

namespace qv::store {
class Database;
}

namespace qv::config {

// newPasswordHash: the hash to keep as the only password, or nothing to keep
// the stored one. Plain passwords left by older programs are replaced by
// their hashes either way. Updates the first row of Config and of Comms
// (adding it when the table has none); fields the configuration does not
// edit (DayLightSaving, portname) keep their stored values. Throws StoreError
// (or std::runtime_error when a legacy password cannot be hashed).
//
// With MailAndDevice the same transaction also writes what only the desktop
// configuration edits: the SMTP fields, ReminderCalendarPath and portname
// (an empty device path is stored as none).
enum class ExtraFields { None, MailAndDevice };
void storeSettings(store::Database& main, const Settings& settings,
                   const std::optional<QString>& newPasswordHash, ExtraFields extra = ExtraFields::None);

}  // namespace qv::config
