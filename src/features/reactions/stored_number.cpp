#include "features/reactions/stored_number.h"

#include <cmath>
#include <limits>

namespace qv::reactions {

std::optional<int> storedInt(const QVariant& value) {
    if (value.isNull()) return std::nullopt;
    bool ok = false;
    const double number = value.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number) || number != std::floor(number)) return std::nullopt;
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(number);
}

}  // namespace qv::reactions
