#pragma once
// The stored rows of a macro's lines: reading them into command lines and
// display texts, writing command lines as rows, and deleting a macro's rows
// with the rows they own. Callers hold the transaction; these throw StoreError.

#include "macros/macro_lines.h"
#include "store/database.h"

#include <QStringList>

#include <optional>

namespace qv::macros::rows {

// The macro of that name (letter case ignored); the oldest when old data
// holds the name twice.
std::optional<qint64> macroIdByName(store::Database& db, const QString& name);

// The macro's MacrosDetails rows and the Orvanet and WAVfiles rows they own.
// Shared rows (e-mails, custom codes, light-box levels, plan views) stay.
void deleteMacroLines(store::Database& db, qint64 macroId);

// One MacrosDetails row per command line, in list order. A line that cannot
// be stored as written is skipped or stored without its reference, with a
// message for the user in messages; the other lines are written.
void writeMacroLines(store::Database& db, qint64 macroId, const MacroLines& lines, QStringList& messages);

// The macro's rows as the three lists, in ascending MacroDetails_ID.
MacroLines readMacroLines(store::Database& db, qint64 macroId);

}  // namespace qv::macros::rows
