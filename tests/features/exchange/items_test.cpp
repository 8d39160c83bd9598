// Each item of topic "Quorvel": what a write sends or starts, what the item
// reads afterwards, and the range checks; the status items and their change
// notices.

#include "features/exchange/exchange_fixture.h"
#include "features/exchange/exchange_items.h"

#include <gtest/gtest.h>
#include "support/case_names.h"

namespace qv::exchange {
namespace {

using test::ExchangeWorld;

// ---- names ------------------------------------------------------------------

struct NameRow {
    const char* text;
    std::optional<ItemRef> item;
};

void PrintTo(const NameRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.text);
}

class ItemNames : public ::testing::TestWithParam<NameRow> {};

TEST_P(ItemNames, AreReadAsTheirItem) {
    const NameRow& row = GetParam();
    EXPECT_EQ(parseItemName(QString::fromLatin1(row.text)), row.item) << row.text;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ItemNames,
    ::testing::Values(NameRow{"SetArea12", ItemRef{ItemKind::SetArea, 12}},
                      NameRow{"SetArea255", ItemRef{ItemKind::SetArea, 255}},
                      NameRow{"StatusArea12", ItemRef{ItemKind::StatusArea, 12}},
                      NameRow{"Area1", ItemRef{ItemKind::Area1, 0}},
                      NameRow{"SETAREAPRESET", ItemRef{ItemKind::SetAreaPreset, 0}},
                      NameRow{"RequestAreaPreset", ItemRef{ItemKind::RequestAreaPreset, 0}},
                      NameRow{"Macro", ItemRef{ItemKind::Macro, 0}},
                      NameRow{"StatusofAreaPreset", ItemRef{ItemKind::StatusofAreaPreset, 0}},
                      NameRow{"SetArea0", std::nullopt}, NameRow{"SetArea256", std::nullopt},
                      NameRow{"SetArea012", std::nullopt}, NameRow{"SetArea", std::nullopt},
                      NameRow{"Area2", std::nullopt}, NameRow{"Macros", std::nullopt}));

TEST(ItemNames, SpellTheirOwnName) {
    EXPECT_EQ((ItemRef{ItemKind::SetArea, 12}).name(), "SetArea12");
    EXPECT_EQ((ItemRef{ItemKind::StatusArea, 255}).name(), "StatusArea255");
    EXPECT_EQ((ItemRef{ItemKind::StatusofAreaPreset, 0}).name(), "StatusofAreaPreset");
    EXPECT_NE((ItemRef{ItemKind::SetArea, 1}).key(), (ItemRef{ItemKind::StatusArea, 1}).key());
}

// ---- writes -----------------------------------------------------------------

struct WriteRow {
    const char* item;
    QString value;
    std::vector<std::string> sent;
    QStringList macros;
    QString readAfter;
    bool ok;
};

void PrintTo(const WriteRow& row, std::ostream* os) {
    *os << row.item << " <- \"" << row.value.toStdString() << "\"";
}

class ItemWrite : public ::testing::TestWithParam<WriteRow> {
protected:
    ExchangeWorld world;
    ExchangeItems items{world.sent.sender(), world.runner};
};

TEST_P(ItemWrite, ActsAndResetsAsTheDdeWindowDid) {
    const WriteRow& row = GetParam();
    const ItemRef item = *parseItemName(QString::fromLatin1(row.item));
    const ExchangeItems::WriteResult result = items.write(item, row.value);
    EXPECT_EQ(result.ok, row.ok) << result.error.toStdString();
    EXPECT_EQ(result.error.isEmpty(), row.ok);
    EXPECT_EQ(world.sent.hex, row.sent);
    EXPECT_EQ(world.runner.names, row.macros);
    EXPECT_EQ(items.read(item), row.readAfter);
}

const std::vector<std::string> kNone;

INSTANTIATE_TEST_SUITE_P(
    SetArea, ItemWrite,
    ::testing::Values(WriteRow{"SetArea12", "5", {"1C 0C 32 0A 00 00 FF 9D"}, {}, "0", true},
                      WriteRow{"SetArea12", " 7 ", {"1C 0C 32 0C 00 00 FF 9B"}, {}, "0", true},
                      WriteRow{"SetArea255", "96", {"1C FF 32 0D 00 0B FF 9C"}, {}, "0", true},
                      // 0 is in range but no preset: nothing is sent.
                      WriteRow{"SetArea12", "0", kNone, {}, "0", true},
                      WriteRow{"SetArea12", "97", kNone, {}, "0", false},
                      WriteRow{"SetArea12", "", kNone, {}, "0", false},
                      WriteRow{"SetArea12", "99999999999999", kNone, {}, "0", false}));

INSTANTIATE_TEST_SUITE_P(Area1, ItemWrite,
                         ::testing::Values(WriteRow{"Area1", "3", {"1C 01 32 02 00 00 FF B0"}, {}, "0", true},
                                           WriteRow{
                                               "Area1", "96", {"1C 01 32 0D 00 0B FF 9A"}, {}, "0", true},
                                           // The same 0-96 as SetArea: a preset beyond sends nothing.
                                           WriteRow{"Area1", "97", kNone, {}, "0", false},
                                           WriteRow{"Area1", "0", kNone, {}, "0", true},
                                           WriteRow{"Area1", "x", kNone, {}, "0", false}));

INSTANTIATE_TEST_SUITE_P(
    SetAreaPreset, ItemWrite,
    ::testing::Values(WriteRow{"SetAreaPreset", "12,5", {"1C 0C 32 0A 00 00 FF 9D"}, {}, "12,5", true},
                      WriteRow{
                          "SetAreaPreset", " 12 , 14 ", {"1C 0C 32 0B 00 01 FF 9B"}, {}, " 12 , 14 ", true},
                      WriteRow{"SetAreaPreset", "0,3", {"1C 00 32 02 00 00 FF B1"}, {}, "0,3", true},
                      WriteRow{"SetAreaPreset", "12,0", kNone, {}, "12,0", true},
                      WriteRow{"SetAreaPreset", "", kNone, {}, "", true},
                      WriteRow{"SetAreaPreset", "256,3", kNone, {}, "256,3", false},
                      WriteRow{"SetAreaPreset", "12", kNone, {}, "12", false},
                      // An empty area is no area 0: it must not set the whole building.
                      WriteRow{"SetAreaPreset", ",5", kNone, {}, ",5", false},
                      WriteRow{"SetAreaPreset", "12,97", kNone, {}, "12,97", false},
                      WriteRow{"SetAreaPreset", "12,5,7", kNone, {}, "12,5,7", false}));

INSTANTIATE_TEST_SUITE_P(
    RequestAreaPreset, ItemWrite,
    ::testing::Values(WriteRow{"RequestAreaPreset", "7", {"1C 07 00 63 00 00 FF 7B"}, {}, "", true},
                      WriteRow{"RequestAreaPreset", "0", {"1C 00 00 63 00 00 FF 82"}, {}, "", true},
                      WriteRow{"RequestAreaPreset", "256", kNone, {}, "", false},
                      WriteRow{"RequestAreaPreset", "seven", kNone, {}, "", false},
                      WriteRow{"RequestAreaPreset", "", kNone, {}, "", true}));

INSTANTIATE_TEST_SUITE_P(
    Macro, ItemWrite,
    ::testing::Values(WriteRow{"Macro", "Lobby On", kNone, {"Lobby On"}, "", true},
                      WriteRow{"Macro", "  Lobby On ", kNone, {"Lobby On"}, "", true},
                      WriteRow{"Macro", "", kNone, {}, "", true},
                      WriteRow{"Macro", QString(256, QLatin1Char('m')), kNone, {}, "", false}));

INSTANTIATE_TEST_SUITE_P(StatusItems, ItemWrite,
                         ::testing::Values(WriteRow{"StatusArea12", "5", kNone, {}, "", false},
                                           WriteRow{"StatusofAreaPreset", "12,5", kNone, {}, "", false}));

// ---- status items and change notices ------------------------------------------

class StatusItems : public ::testing::Test {
protected:
    StatusItems() {
        items.setChangeHandler([this](const ItemRef& item, const QString& text) {
            changes << item.name() + QLatin1Char('=') + text;
        });
    }
    ExchangeWorld world;
    ExchangeItems items{world.sent.sender(), world.runner};
    QStringList changes;

    QString status(int area) const { return items.read(ItemRef{ItemKind::StatusArea, area}); }
    QString latest() const { return items.read(ItemRef{ItemKind::StatusofAreaPreset, 0}); }
};

TEST_F(StatusItems, StayEmptyUntilLoaded) {
    items.statusHeard(12, 5);
    EXPECT_EQ(status(12), "");
    EXPECT_EQ(latest(), "");
    EXPECT_TRUE(changes.isEmpty());
    items.load(world.state);
    items.statusHeard(12, 5);
    EXPECT_EQ(status(12), "5");
    EXPECT_EQ(latest(), "12,5");
    EXPECT_EQ(changes, (QStringList{"StatusArea12=5", "StatusofAreaPreset=12,5"}));
}

TEST_F(StatusItems, LoadingTakesThePresetsAlreadyKnown) {
    world.state.setPreset(3, 7);
    world.state.setPreset(200, 97);
    items.load(world.state);
    EXPECT_EQ(status(3), "7");
    EXPECT_EQ(status(200), "97");
    EXPECT_EQ(status(4), "");
    EXPECT_EQ(latest(), "");
}

TEST_F(StatusItems, OnlyRealChangesAreAnnounced) {
    items.load(world.state);
    items.statusHeard(12, 5);
    changes.clear();
    items.statusHeard(12, 5);  // the same preset heard again
    EXPECT_TRUE(changes.isEmpty());
    items.statusHeard(7, 5);
    EXPECT_EQ(changes, (QStringList{"StatusArea7=5", "StatusofAreaPreset=7,5"}));
}

TEST_F(StatusItems, IgnoreAreasAndPresetsOutOfRange) {
    items.load(world.state);
    items.statusHeard(0, 5);
    items.statusHeard(256, 5);
    items.statusHeard(12, 0);
    items.statusHeard(-1, 3);
    EXPECT_TRUE(changes.isEmpty());
    EXPECT_EQ(latest(), "");
}

TEST_F(StatusItems, AllAreasChangeEveryStatusButNotTheLatest) {
    items.load(world.state);
    items.statusHeard(12, 5);
    changes.clear();
    items.allAreasHeard(14);
    EXPECT_EQ(status(1), "14");
    EXPECT_EQ(status(12), "14");
    EXPECT_EQ(status(255), "14");
    EXPECT_EQ(changes.size(), 255);
    EXPECT_EQ(latest(), "12,5");
}

TEST_F(StatusItems, WritesAnnounceOnlyTheTextLeftBehind) {
    items.load(world.state);
    // SetArea12 reads "0" before and after: nothing to announce.
    items.write(ItemRef{ItemKind::SetArea, 12}, "5");
    EXPECT_TRUE(changes.isEmpty());
    items.write(ItemRef{ItemKind::SetAreaPreset, 0}, "12,5");
    EXPECT_EQ(changes, QStringList{"SetAreaPreset=12,5"});
}

TEST_F(StatusItems, RepeatedWritesActEachTime) {
    const ItemRef item{ItemKind::SetAreaPreset, 0};
    items.write(item, "12,5");
    items.write(item, "12,5");
    EXPECT_EQ(world.sent.hex.size(), 2u);
}

}  // namespace
}  // namespace qv::exchange
