#pragma once
// The areas this PC may not send to, kept in the area-permission store
// (winrights.db) apart from the main database so a site can hand each PC its
// own file. The store is opened for one load or save and closed again.

#include <QString>
#include <array>

namespace qv::store {

// One flag per area 0..255, true = do not send. A missing file is created
// empty (every area allowed); a damaged one throws StoreError and is left as it
// is, so the caller can disable the area list. Rows outside 0..255 are ignored.
std::array<bool, 256> loadDoNotSendAreas(const QString& winrightsPath);

// Replaces the stored areas with the flagged ones, in one transaction.
void saveDoNotSendAreas(const QString& winrightsPath, const std::array<bool, 256>& doNotSend);

}  // namespace qv::store
