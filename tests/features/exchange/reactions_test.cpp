// What the decoder hears reaches the status items: the real in box and
// decoder, with the exchange's reaction registered as the program does.

#include "comms/in_box.h"
#include "features/exchange/exchange_fixture.h"
#include "features/exchange/exchange_reactions.h"
#include "net/decoder.h"

#include <gtest/gtest.h>

namespace qv::exchange {
namespace {

using test::ExchangeWorld;

class Reactions : public ::testing::Test {
protected:
    Reactions() {
        qv::test::qtApp();
        inbox.addReactions(&reactions);
        items.setChangeHandler([this](const ItemRef& item, const QString& text) {
            changes << item.name() + QLatin1Char('=') + text;
        });
    }

    void hear(const char* receivedHex) {
        inbox.append(net::makeInboxLine(receivedHex, "2024-03-05 09:30:00", "Comms"));
        inbox.RS232inboxTimer();
    }
    QString read(ItemKind kind, int area = 0) const { return items.read(ItemRef{kind, area}); }

    ExchangeWorld world;
    net::NameTables names;
    comms::InBox inbox{world.clock, names, world.state, world.monitor};
    ExchangeItems items{world.sent.sender(), world.runner};
    ExchangeReactions reactions{items};
    QStringList changes;
};

TEST_F(Reactions, PresetReportUpdatesBothStatusItems) {
    items.load(world.state);
    hear("1C 0C 04 62 00 00 FF 73 ");  // area 12 is in preset 5
    EXPECT_EQ(read(ItemKind::StatusArea, 12), "5");
    EXPECT_EQ(read(ItemKind::StatusofAreaPreset), "12,5");
    EXPECT_EQ(changes, (QStringList{"StatusArea12=5", "StatusofAreaPreset=12,5"}));
}

TEST_F(Reactions, PresetSelectHeardForOneAreaCounts) {
    items.load(world.state);
    hear("1C 0C 32 0A 00 00 FF 9D ");  // another panel sets area 12 to preset 5
    EXPECT_EQ(read(ItemKind::StatusofAreaPreset), "12,5");
}

TEST_F(Reactions, PresetForAreaZeroReachesEveryArea) {
    items.load(world.state);
    hear("1C 0C 04 62 00 00 FF 73 ");
    hear("1C 00 32 0B 00 01 FF A7 ");  // every area to preset 14
    EXPECT_EQ(read(ItemKind::StatusArea, 1), "14");
    EXPECT_EQ(read(ItemKind::StatusArea, 12), "14");
    EXPECT_EQ(read(ItemKind::StatusArea, 255), "14");
    EXPECT_EQ(read(ItemKind::StatusofAreaPreset), "12,5");
}

TEST_F(Reactions, LevelReportsAndBadChecksumsLeaveTheItemsAlone) {
    items.load(world.state);
    hear("1C 03 01 60 80 00 FF 01 ");  // a level report: no preset
    hear("1C 0C 04 62 00 00 FF 74 ");  // a preset report with a wrong checksum
    EXPECT_TRUE(changes.isEmpty());
}

TEST_F(Reactions, NothingBeforeTheItemsAreLoaded) {
    hear("1C 0C 04 62 00 00 FF 73 ");
    EXPECT_EQ(read(ItemKind::StatusArea, 12), "");
    // Loading afterwards still shows what the decoder knows.
    items.load(world.state);
    EXPECT_EQ(read(ItemKind::StatusArea, 12), "5");
}

}  // namespace
}  // namespace qv::exchange
