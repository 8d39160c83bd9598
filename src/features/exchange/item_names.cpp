#include "features/exchange/item_names.h"

#include "net/labels.h"

namespace qv::exchange {

namespace {

constexpr const char* kSetArea = "SetArea";
constexpr const char* kStatusArea = "StatusArea";

struct Single {
    const char* name;
    ItemKind kind;
};
constexpr Single kSingles[] = {
    {"Area1", ItemKind::Area1},
    {"SetAreaPreset", ItemKind::SetAreaPreset},
    {"RequestAreaPreset", ItemKind::RequestAreaPreset},
    {"Macro", ItemKind::Macro},
    {"StatusofAreaPreset", ItemKind::StatusofAreaPreset},
};

// 1..255 written plainly: digits only, no leading zero.
std::optional<int> areaNumber(QStringView digits) {
    if (digits.isEmpty() || digits.size() > 3 || digits.front() == QLatin1Char('0')) return std::nullopt;
    int value = 0;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    if (value < 1 || value > net::kMaxArea) return std::nullopt;
    return value;
}

std::optional<ItemRef> perArea(QStringView name, const char* prefix, ItemKind kind) {
    const QLatin1String p(prefix);
    if (!name.startsWith(p, Qt::CaseInsensitive)) return std::nullopt;
    const std::optional<int> area = areaNumber(name.mid(p.size()));
    if (!area) return std::nullopt;
    return ItemRef{kind, *area};
}

}  // namespace

QString ItemRef::name() const {
    switch (kind) {
        case ItemKind::SetArea:
            return QLatin1String(kSetArea) + QString::number(area);
        case ItemKind::StatusArea:
            return QLatin1String(kStatusArea) + QString::number(area);
        default:
            break;
    }
    for (const Single& s : kSingles)
        if (s.kind == kind) return QLatin1String(s.name);
    return {};
}

std::optional<ItemRef> parseItemName(QStringView name) {
    for (const Single& s : kSingles)
        if (name.compare(QLatin1String(s.name), Qt::CaseInsensitive) == 0) return ItemRef{s.kind, 0};
    if (auto item = perArea(name, kSetArea, ItemKind::SetArea)) return item;
    return perArea(name, kStatusArea, ItemKind::StatusArea);
}

}  // namespace qv::exchange
