#include "core/settings/number_form.h"

#include <cstdint>
#include <optional>

#include <gtest/gtest.h>

namespace qfd {
namespace {

TEST(NumberForm, BlankBeforeZeroAndPositiveMinusBeforeNegative) {
    EXPECT_EQ(NumberForm(7), " 7");
    EXPECT_EQ(NumberForm(0), " 0");
    EXPECT_EQ(NumberForm(-3), "-3");
    EXPECT_EQ(NumberForm(16777215), " 16777215");
    EXPECT_EQ(NumberForm(-2147483648LL), "-2147483648");
    EXPECT_EQ("Option" + NumberForm(12), "Option 12");
}

struct ParseCase {
    const char* text;
    std::optional<std::int64_t> expected;
};

class ParseWholeNumberRows : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseWholeNumberRows, ConvertsLikeTheSettingsFileExpects) {
    EXPECT_EQ(ParseWholeNumber(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ParseWholeNumberRows,
    ::testing::Values(ParseCase{"7", 7}, ParseCase{" 7", 7}, ParseCase{"7 ", 7},
                      ParseCase{"\t7\t", 7}, ParseCase{"+7", 7}, ParseCase{"-3", -3},
                      ParseCase{"7.5", 8}, ParseCase{"6.5", 6}, ParseCase{"-2.5", -2},
                      ParseCase{"2.51", 3}, ParseCase{".5", 0}, ParseCase{"1.", 1},
                      ParseCase{"1E3", 1000}, ParseCase{"2.5e1", 25}, ParseCase{"007", 7},
                      ParseCase{"", std::nullopt}, ParseCase{"  ", std::nullopt},
                      ParseCase{"abc", std::nullopt}, ParseCase{"7abc", std::nullopt},
                      ParseCase{"7 7", std::nullopt}, ParseCase{"-", std::nullopt},
                      ParseCase{".", std::nullopt}, ParseCase{"1E", std::nullopt},
                      ParseCase{"inf", std::nullopt}, ParseCase{"nan", std::nullopt},
                      ParseCase{"0x10", std::nullopt}, ParseCase{"1e400", std::nullopt},
                      ParseCase{"1e30", std::nullopt}, ParseCase{"--1", std::nullopt}));

TEST(ParseIntegers, RefuseValuesOutsideTheVariablesWidthInsteadOfWrapping) {
    EXPECT_EQ(ParseInt16("32767"), 32767);
    EXPECT_EQ(ParseInt16("-32768"), -32768);
    EXPECT_EQ(ParseInt16("32768"), std::nullopt);
    EXPECT_EQ(ParseInt16("-32769"), std::nullopt);
    EXPECT_EQ(ParseInt16("32767.4"), 32767);
    EXPECT_EQ(ParseInt16("32767.5"), std::nullopt);  // rounds to 32768
    EXPECT_EQ(ParseInt16("1E9"), std::nullopt);
    EXPECT_EQ(ParseInt32("2147483647"), 2147483647);
    EXPECT_EQ(ParseInt32("2147483648"), std::nullopt);
    EXPECT_EQ(ParseInt32("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseInt32("16777215"), 16777215);
}

}  // namespace
}  // namespace qfd
