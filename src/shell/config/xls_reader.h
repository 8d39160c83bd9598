#pragma once
// AreaChannelNames.xls, read with FreeXL (Excel 97-2003 and older files).
// The names are on the worksheet called "sheet1" (in any letter case).

#include "shell/config/sheet_rows.h"

#include <QString>

namespace qv::config {

// A file that FreeXL cannot read, one protected by a password, or one without
// a sheet1 comes back not ok with the reason.
SheetRead readXlsSheet(const QString& path);

}  // namespace qv::config
