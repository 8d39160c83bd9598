#include "editors/custom_codes.h"
#include "features/reactions/reactions_fixture.h"

namespace qv::editors {
namespace {

class CustomCodesTest : public ::testing::Test {
protected:
    reactions::test::MainDb main;
    CustomCodeStore codes{main.db};
};

TEST_F(CustomCodesTest, NonHexIsRefusedCriticallyAndStoresNothing) {
    auto result = codes.save("Door", "1C 01 6G 07 00 00 42 32");
    EXPECT_FALSE(result.done);
    EXPECT_EQ(result.message, CustomCodeStore::kNotHex);
    EXPECT_EQ(result.icon, reactions::MessageIcon::Critical);
    EXPECT_EQ(codes.save("", "1C 01 68 07 00 00 42 32").message, CustomCodeStore::kNeedName);
    EXPECT_TRUE(codes.all().empty());
}

TEST_F(CustomCodesTest, ACodeStoredUnderAnotherNameIsRefusedAndItsOwnNameRewritesIt) {
    ASSERT_TRUE(codes.save("O'Brien's door", "1C 01 68 07 00 00 42 32").done);
    const auto refused = codes.save("Hall", "1C 01 68 07 00 00 42 32");
    EXPECT_EQ(refused.message, CustomCodeStore::kAlreadySaved);
    EXPECT_EQ(refused.icon, reactions::MessageIcon::Critical);
    ASSERT_EQ(codes.all().size(), 1u);

    ASSERT_TRUE(codes.save("o'brien's DOOR", "1C 05 02 62 00 00 FF 7A").done);
    ASSERT_EQ(codes.all().size(), 1u);
    EXPECT_EQ(codes.find("O'Brien's door")->code, "1C 05 02 62 00 00 FF 7A");
    // The raw message macro lines send holds the same eight bytes.
    const QByteArray raw = main.exec("SELECT CustomCodeRS232 FROM CustomCodes").toByteArray();
    EXPECT_EQ(raw, QByteArray::fromHex("1C0502620000FF7A"));
    ASSERT_TRUE(codes.remove("O'BRIEN'S DOOR").done);
    EXPECT_TRUE(codes.all().empty());
}

TEST_F(CustomCodesTest, DollarNotationAndHeardDigits) {
    EXPECT_EQ(CustomCodeStore::dollarNotation("1C 01 68 07 00 00 42 32"), "$1C,$01,$68,$07,$00,$00,$42,$32");
    EXPECT_EQ(CustomCodeStore::dollarNotation("1C 01 68      "), "$1C,$01,$68");
    EXPECT_EQ(CustomCodeStore::spaced("1c0168070000423f"), "1C 01 68 07 00 00 42 3F");
}

}  // namespace
}  // namespace qv::editors
