#pragma once
// Numbers read back from stored rows. Files converted from older
// installations hold numbers as text, and any row may carry nonsense; a value
// that is not a whole number within int range reads as nothing, so a caller
// can skip the row and say so instead of using a made-up number.

#include <QVariant>

#include <optional>

namespace qv::reactions {

std::optional<int> storedInt(const QVariant& value);

}  // namespace qv::reactions
