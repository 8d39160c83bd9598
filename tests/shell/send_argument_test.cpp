#include "shell/send_argument.h"

#include <gtest/gtest.h>
#include "support/case_names.h"

namespace qv::shell {
namespace {

TEST(SendArgument, EightBytesAreSentAsGivenEvenWithAWrongChecksum) {
    const SendArgument parsed = parseSendArgument("1c 01 68 07 00 00 42 99");
    ASSERT_TRUE(parsed.message);
    EXPECT_EQ(net::toHex(*parsed.message), "1C 01 68 07 00 00 42 99");
}

TEST(SendArgument, SevenBytesGetTheirChecksumAndSpacingAndSingleDigitsAreForgiven) {
    const SendArgument parsed = parseSendArgument("  1C 5  32 2 0 0 FF ");
    ASSERT_TRUE(parsed.message);
    EXPECT_EQ(net::toHex(*parsed.message), "1C 05 32 02 00 00 FF AC");
}

struct Bad {
    const char* text;
    const char* error;
};

void PrintTo(const Bad& row, std::ostream* os) {
    *os << qv::test::caseName(row.text);
}

class SendArgumentRefuses : public ::testing::TestWithParam<Bad> {};

TEST_P(SendArgumentRefuses, WithAReason) {
    const SendArgument parsed = parseSendArgument(GetParam().text);
    EXPECT_FALSE(parsed.message);
    EXPECT_NE(parsed.error.find(GetParam().error), std::string::npos) << parsed.error;
}

INSTANTIATE_TEST_SUITE_P(Bad, SendArgumentRefuses,
                         ::testing::Values(Bad{"", "not 0"}, Bad{"1C 05 32", "not 3"},
                                           Bad{"1C 05 32 02 00 00 FF 00 11", "not 9"},
                                           Bad{"1C 05 GG 02 00 00 FF", "'GG' is not a hex byte"},
                                           Bad{"1C05 32 02 00 00 FF", "'1C05' is not a hex byte"},
                                           Bad{"1C,05,32,02,00,00,FF", "is not a hex byte"}));

}  // namespace
}  // namespace qv::shell
