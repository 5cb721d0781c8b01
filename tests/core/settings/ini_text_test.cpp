// Reading and editing INI text in memory: the rules beyond the recorded transcripts.
#include "core/settings/ini_text.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace qfd {
namespace {

struct ReadCase {
    const char* name;
    std::string file;
    const char* section;
    const char* key;
    std::optional<std::string> expected;  // nothing: the key is not found
};

class IniTextRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniTextRead, FindsWhatThePlatformFinds) {
    const ReadCase& c = GetParam();
    std::optional<IniValue> found = FindIniValue(c.file, c.section, c.key);
    ASSERT_EQ(found.has_value(), c.expected.has_value());
    if (found) {
        EXPECT_EQ(std::string(found->text), *c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IniTextRead,
    ::testing::Values(
        ReadCase{"ByteOrderMarkIgnored", "\xEF\xBB\xBF[Settings]\r\nDelay= 7\r\n", "Settings",
                 "Delay", "7"},
        ReadCase{"NulLineIsNoKey", std::string("[S]\r\nk=a\0b\r\n", 11), "S", "k", std::nullopt},
        ReadCase{"NulLineIsNoHeader", std::string("[S\0]\r\nk=v\r\n", 11), "S", "k", std::nullopt},
        ReadCase{"NulLineSkippedNextKeyFound", std::string("[S]\r\nx=\0\r\nk=v\r\n", 14), "S", "k",
                 "v"},
        ReadCase{"MixedLineEnds", "[S]\ra=1\nb=2\r\nc=3", "S", "c", "3"},
        ReadCase{"LoneCrEndsLine", "[S]\rk=v\r[T]\rk=w\r", "T", "k", "w"},
        ReadCase{"FirstSectionWins", "[S]\r\na=1\r\n[S]\r\na=2\r\nb=3\r\n", "S", "b", std::nullopt},
        ReadCase{"FirstKeyWins", "[S]\r\na=1\r\nA=2\r\n", "s", "a", "1"},
        ReadCase{"TextAfterHeaderIgnored", "[c] trailing\r\nk=v\r\n", "c", "k", "v"},
        ReadCase{"FirstBracketClosesHeader", "[a]b]\r\nk=v\r\n", "a", "k", "v"},
        ReadCase{"HeaderWithoutBracket", "[Section\r\nk=v\r\n", "Section", "k", "v"},
        ReadCase{"EmptySectionName", "[]\r\nk=v\r\n", "", "k", "v"},
        ReadCase{"BlanksInsideBrackets", "[ \tS \t]\r\nk=v\r\n", "S", "k", "v"},
        ReadCase{"UnpairedQuoteStays", "[S]\r\nk=\"abc\r\n", "S", "k", "\"abc"},
        ReadCase{"MixedQuotesStay", "[S]\r\nk=\"abc'\r\n", "S", "k", "\"abc'"},
        ReadCase{"SingleQuotesRemoved", "[S]\r\nk=' x '\r\n", "S", "k", " x "},
        ReadCase{"HashIsNoComment", "[S]\r\n#k=v\r\n", "S", "#k", "v"},
        ReadCase{"IndentedCommentSkipped", "[S]\r\n  ;k=v\r\n", "S", ";k", std::nullopt},
        ReadCase{"InnerSpacesOfNameCount", "[S]\r\nOption 12=x\r\n", "S", "Option12", std::nullopt},
        ReadCase{"NonAsciiNamesMatchExactly", "[S]\r\n\xC4=1\r\n", "S", "\xE4", std::nullopt},
        ReadCase{"KeyBeforeAnySectionUnreachable", "k=v\r\n[S]\r\n", "", "k", std::nullopt}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(IniTextRead, ReportsWhetherTheValuesLineWasTerminated) {
    EXPECT_TRUE(FindIniValue("[S]\r\nk=v\r\n", "S", "k")->lineTerminated);
    EXPECT_FALSE(FindIniValue("[S]\r\nk=v", "S", "k")->lineTerminated);
}

struct EditCase {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

class IniTextEdit : public ::testing::TestWithParam<EditCase> {};

TEST_P(IniTextEdit, KeepsEveryOtherByte) {
    const EditCase& c = GetParam();
    std::optional<std::string> edited = SetIniValue(c.before, c.section, c.key, c.value);
    ASSERT_TRUE(edited.has_value());
    EXPECT_EQ(*edited, c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IniTextEdit,
    ::testing::Values(
        EditCase{"ByteOrderMarkDropped", "\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "2",
                 "[S]\r\nk=2\r\n"},
        // Dropping the first mark would make the second one skipped, and "[" a header.
        EditCase{"ByteOrderMarkKeptBeforeAnother", "\xEF\xBB\xBF\xEF\xBB\xBF[", "", "k", "v",
                 "\xEF\xBB\xBF\xEF\xBB\xBF[\r\n[]\r\nk=v\r\n"},
        EditCase{"NulLineKeptByteForByte", std::string("[S]\r\nk=\0x\r\na=1\r\n", 17), "S", "k",
                 "v", std::string("[S]\r\nk=\0x\r\na=1\r\nk=v\r\n", 22)},
        EditCase{"NewKeyAfterLastKeyBeforeComments", "[S]\r\na=1\r\n; note\r\n\r\n[T]\r\n", "S",
                 "b", "2", "[S]\r\na=1\r\nb=2\r\n; note\r\n\r\n[T]\r\n"},
        EditCase{"NewKeyInEmptySectionFollowsHeader", "[S]\n\n[T]\n", "S", "k", "v",
                 "[S]\nk=v\r\n\n[T]\n"},
        EditCase{"NewSectionAfterUnterminatedLastLine", "[S]\r\na=1", "T", "k", "v",
                 "[S]\r\na=1\r\n[T]\r\nk=v\r\n"},
        EditCase{"NewKeyAfterUnterminatedLastLine", "[S]\r\na=1", "S", "k", "v",
                 "[S]\r\na=1\r\nk=v\r\n"},
        EditCase{"FirstOfDuplicateKeysChanged", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "3",
                 "[S]\r\nk=3\r\nK=2\r\n"},
        EditCase{"FirstOfDuplicateSectionsChanged", "[S]\r\na=1\r\n[S]\r\nk=2\r\n", "S", "k", "3",
                 "[S]\r\na=1\r\nk=3\r\n[S]\r\nk=2\r\n"},
        EditCase{"KeyKeepsFileSpelling", "[settings]\r\nDELAY=5\r\n", "Settings", "Delay", " 7",
                 "[settings]\r\nDELAY= 7\r\n"},
        EditCase{"LineEndOfReplacedLineKept", "[S]\na=1\nb=2\n", "S", "a", "9", "[S]\na=9\nb=2\n"},
        EditCase{"NumberFormBlankStays", "", "Settings", "Delay", " 7",
                 "[Settings]\r\nDelay= 7\r\n"},
        EditCase{"SectionNameTrimmedOfSpaces", "", " Commands ", " Type ", "1",
                 "[Commands]\r\nType=1\r\n"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(IniTextEdit, SameValueLeavesTheFileUntouched) {
    EXPECT_FALSE(SetIniValue("[S]\r\n\r\na = 1\r\n", "S", "a", "1").has_value());
    EXPECT_FALSE(SetIniValue("[S]\r\nDelay= 7\r\n", "S", "Delay", " 7").has_value());
    EXPECT_FALSE(SetIniValue("[S]\r\nq=\"x\"\r\n", "S", "q", "x").has_value());
    EXPECT_TRUE(SetIniValue("[S]\r\nk=\r\n", "S", "k", "v").has_value());
}

}  // namespace
}  // namespace qfd
