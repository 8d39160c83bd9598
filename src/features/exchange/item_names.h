#pragma once
// The items of topic "Quorvel" and their names.
//
// SetArea1..SetArea255 and StatusArea1..StatusArea255 are one item per area;
// Area1, SetAreaPreset, RequestAreaPreset, Macro and StatusofAreaPreset are
// single items. Clients may spell a name in any case.

#include <QString>
#include <QStringView>

#include <optional>

namespace qv::exchange {

enum class ItemKind {
    SetArea,
    StatusArea,
    Area1,
    SetAreaPreset,
    RequestAreaPreset,
    Macro,
    StatusofAreaPreset
};

struct ItemRef {
    ItemKind kind = ItemKind::Macro;
    int area = 0;  // 1..255 for SetArea and StatusArea, 0 otherwise

    // The item's own spelling: "SetArea12", "StatusofAreaPreset".
    QString name() const;
    // A small number unique to the item, for sets of watched items.
    int key() const { return static_cast<int>(kind) * 256 + area; }
    // The status items are the program's to write.
    bool writtenByProgram() const {
        return kind == ItemKind::StatusArea || kind == ItemKind::StatusofAreaPreset;
    }

    bool operator==(const ItemRef&) const = default;
};

// Nothing for a name that is no item, including areas outside 1..255 and
// numbers written with a sign or leading zeros.
std::optional<ItemRef> parseItemName(QStringView name);

}  // namespace qv::exchange
