#include "features/reactions/hex_text.h"
#include "features/reactions/stored_number.h"

#include <gtest/gtest.h>
#include "support/case_names.h"

namespace qv::reactions {
namespace {

struct HexRow {
    const char* stored;
    const char* expected;
};

void PrintTo(const HexRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.stored);
}

class NormaliseHexText : public ::testing::TestWithParam<HexRow> {};

TEST_P(NormaliseHexText, GivesTheWireForm) {
    EXPECT_EQ(normaliseHexText(QString::fromLatin1(GetParam().stored)),
              QString::fromLatin1(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Rows, NormaliseHexText,
                         ::testing::Values(HexRow{"1C 05 02 62 00 00 FF 7A", "1C 05 02 62 00 00 FF 7A"},
                                           HexRow{"  1c  05\t02 62 00 00 ff 7a  ", "1C 05 02 62 00 00 FF 7A"},
                                           HexRow{"1c0502620000ff7a", "1C 05 02 62 00 00 FF 7A"},
                                           HexRow{"1C 5 2 62 0 0 FF 7A", "1C 05 02 62 00 00 FF 7A"},
                                           // Not hex: kept, so it still matches only itself.
                                           HexRow{"1C 05 ZZ", "1C 05 ZZ"}, HexRow{"1C 053", "1C 053"},
                                           HexRow{"   ", ""}));

struct NumberRow {
    QVariant stored;
    std::optional<int> expected;
};

void PrintTo(const NumberRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.stored.typeName(), row.stored);
}

class StoredInt : public ::testing::TestWithParam<NumberRow> {};

TEST_P(StoredInt, ReadsOnlyWholeNumbersInRange) {
    EXPECT_EQ(storedInt(GetParam().stored), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, StoredInt,
                         ::testing::Values(NumberRow{QVariant(5), 5},
                                           NumberRow{QVariant(QStringLiteral(" 17 ")), 17},
                                           NumberRow{QVariant(3.0), 3},
                                           NumberRow{QVariant(3.5), std::nullopt},
                                           NumberRow{QVariant(1e20), std::nullopt},
                                           NumberRow{QVariant(QStringLiteral("abc")), std::nullopt},
                                           NumberRow{QVariant(QStringLiteral("nan")), std::nullopt},
                                           NumberRow{QVariant(), std::nullopt}, NumberRow{QVariant(-1), -1}));

}  // namespace
}  // namespace qv::reactions
