// The delay and latency boxes' number reading at its limits: what it does with text no user
// types by hand but a paste can bring.
#include "core/options/typed_number.h"

#include <string>

#include <gtest/gtest.h>

namespace qfd::test {
namespace {

TEST(TypedNumber, NormalTextReadsBackToItself) {
    const char* typed[] = {"0",
                           "7",
                           "-5",
                           "2.5",
                           "0.1",
                           "1E3",
                           "1E15",
                           "1E-5",
                           "0.0001",
                           "1/3",
                           "1E999",
                           "-1E999",
                           "1E-999",
                           "&HFFFFFF",
                           "&O777",
                           "3.14159265358979323846",
                           "123456789012345678901234567890"};
    for (const char* t : typed) {
        const std::string once = NormaliseTypedNumber(t);
        EXPECT_EQ(NormaliseTypedNumber(once), once) << t;
    }
}

TEST(TypedNumber, FifteenSignificantDigits) {
    EXPECT_EQ(NormaliseTypedNumber("123456789012345"), "123456789012345");
    EXPECT_EQ(NormaliseTypedNumber("1234567890123456"), "1.23456789012346E+15");
    EXPECT_EQ(NormaliseTypedNumber("3.14159265358979323846"), "3.14159265358979");
    EXPECT_EQ(NormaliseTypedNumber("0.0001"), "0.0001");
}

TEST(TypedNumber, HugeInputsStayFiniteAndNeverHang) {
    EXPECT_EQ(NormaliseTypedNumber(std::string(5000, '9')), "1.79769313486231E+308");
    EXPECT_EQ(NormaliseTypedNumber("&H" + std::string(5000, 'F')), "1.79769313486231E+308");
    EXPECT_EQ(NormaliseTypedNumber("0." + std::string(5000, '0') + "1"), "0");
    EXPECT_EQ(NormaliseTypedNumber("1E99999999999999999999999"), "1.79769313486231E+308");
    EXPECT_EQ(NormaliseTypedNumber("1E-99999999999999999999999"), "0");
    EXPECT_EQ(NormaliseTypedNumber(std::string(5000, '0') + "42"), "42");
    EXPECT_EQ(NormaliseTypedNumber("\xEF\xBB\xBF"
                                   "5"),
              "0");  // bytes that are no number
}

TEST(TypedNumber, WholeNumberRoundsHalvesToEvenWithinSixteenBits) {
    EXPECT_EQ(WholeNumber16(0.5), 0);
    EXPECT_EQ(WholeNumber16(1.5), 2);
    EXPECT_EQ(WholeNumber16(-2.5), -2);
    EXPECT_EQ(WholeNumber16(32766.5), 32766);
    EXPECT_EQ(WholeNumber16(32767.4), 32767);
    EXPECT_EQ(WholeNumber16(1e300), 32767);
    EXPECT_EQ(WholeNumber16(-32768.5), -32768);
    EXPECT_EQ(WholeNumber16(-1e300), -32768);
}

}  // namespace
}  // namespace qfd::test
