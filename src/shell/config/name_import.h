#pragma once
// Import of area and channel names from AreaChannelNames.xls (or .csv) in the
// data directory. The import replaces the names: every area name is blanked
// and every channel name deleted, then the sheet's names are written, all in
// one transaction. Ask msg::kImportQuestion (title msg::kImportTitle) first.

#include "shell/config/sheet_rows.h"
#include "store/outcome.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace qv::store {
class Database;
}

namespace qv::config {

struct NameImportResult {
    store::Outcome outcome;
    int areasNamed = 0;     // areas that got a name from the sheet
    int channelsNamed = 0;  // channel rows written
    QStringList skipped;    // one text per row (or part of a row) passed over
};

// AreaChannelNames.xls in the data directory, in any letter case; failing
// that AreaChannelNames.csv; the empty text when neither is there.
QString findNameSheet(const QString& dataDir);

// "12", " 12 ", "12.0" and "12.7" are 12: numbers are taken as whole numbers.
// False for a text that is not a number.
bool parseWholeNumber(const QString& text, int* number);

// Writes the rows. Throws StoreError; the transaction then leaves every name
// as it was.
NameImportResult writeNameRows(store::Database& main, const std::vector<SheetRow>& rows);

// Finds, reads and writes. Never throws: a missing or unreadable file, or a
// failed write, comes back not ok with its message and changes nothing.
NameImportResult importAreaChannelNames(store::Database& main, const QString& dataDir);

}  // namespace qv::config
