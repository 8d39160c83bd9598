#pragma once
// AreaChannelNames.csv: the same four columns as the spreadsheet, comma
// separated, UTF-8, fields optionally in double quotes (a doubled quote
// inside stands for one), first line the headings.

#include "shell/config/sheet_rows.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qv::config {

SheetRead readCsvSheet(const QString& path);
// The same from bytes in memory.
SheetRead parseCsvSheet(const QByteArray& bytes);

// One line's fields (quotes resolved). A quoted field may not span lines.
QStringList splitCsvLine(const QString& line);

}  // namespace qv::config
