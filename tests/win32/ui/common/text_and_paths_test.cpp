#include <windows.h>

#include <gtest/gtest.h>

#include "win32/common/ansi_text.h"
#include "win32/options/file_filter.h"
#include "win32/shell/application_directory.h"

namespace qfd {
namespace {

using namespace std::string_literals;

TEST(AnsiText, WellFormedUtf8) {
    EXPECT_TRUE(IsWellFormedUtf8(""));
    EXPECT_TRUE(IsWellFormedUtf8("plain"));
    EXPECT_TRUE(IsWellFormedUtf8("Caf\xC3\xA9"));
    EXPECT_TRUE(IsWellFormedUtf8("\xE2\x82\xAC"));       // euro sign
    EXPECT_TRUE(IsWellFormedUtf8("\xF0\x9F\x94\x8A"));   // four bytes
    EXPECT_FALSE(IsWellFormedUtf8("Caf\xE9"));           // Windows-1252
    EXPECT_FALSE(IsWellFormedUtf8("\xC3"));              // cut off
    EXPECT_FALSE(IsWellFormedUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(IsWellFormedUtf8("\xE0\x80\xAF"));      // overlong
    EXPECT_FALSE(IsWellFormedUtf8("\xED\xA0\x80"));      // a surrogate
    EXPECT_FALSE(IsWellFormedUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
    EXPECT_FALSE(IsWellFormedUtf8("\x80 stray"));
}

class AnsiCodePage : public testing::Test {
  protected:
    void SetUp() override {
        if (GetACP() != 1252) GTEST_SKIP() << "these rows are written for code page 1252";
    }
};

TEST_F(AnsiCodePage, SettingBytesShowAsTheyWereMeant) {
    // Windows bytes stay; UTF-8 from an installation on another platform is converted.
    EXPECT_EQ(SettingToAnsi("Caf\xE9"), "Caf\xE9");
    EXPECT_EQ(SettingToAnsi("Caf\xC3\xA9"), "Caf\xE9");
    EXPECT_EQ(SettingToAnsi("\xE2\x82\xAC 5"), "\x80 5");
    EXPECT_EQ(SettingToAnsi("plain"), "plain");
    EXPECT_EQ(SettingToAnsi(""), "");
    // A character the code page lacks shows as its default character, never as raw bytes.
    EXPECT_EQ(SettingToAnsi("\xE4\xB8\xAD"), "?");
    EXPECT_EQ(Utf8ToAnsi("Copyright \xC2\xA9 2004"), "Copyright \xA9 2004");
}

TEST_F(AnsiCodePage, AlertLineHasNoControlCharacters) {
    EXPECT_EQ(PlainAnsiLine("Hello\tthere"), "Hello there");
    EXPECT_EQ(PlainAnsiLine(std::string("a\0b\r\nc", 6)), "a b  c");
    EXPECT_EQ(PlainAnsiLine("<b>Bob</b> & Co"), "<b>Bob</b> & Co");
    EXPECT_EQ(PlainAnsiLine("Caf\xC3\xA9\x1B"), "Caf\xE9 ");
}

TEST(FileFilter, OneEntryNamingBothProgramFiles) {
    const FileChooserRequest request{
        "Choose QF Detect Application", "Quorf Detector EXE", {"qfd", "qfd.exe"}};
    const std::string filter = OpenFileFilter(request);
    EXPECT_EQ(filter, "Quorf Detector EXE (qfd qfd.exe)\0qfd;qfd.exe\0\0"s);
}

TEST(FileFilter, PatternsThatWouldBreakTheListAreLeftOut) {
    const FileChooserRequest request{
        "t", "Programs", {"", "a;b", "a b", std::string("c\0d", 3), "e"}};
    EXPECT_EQ(OpenFileFilter(request), "Programs (e)\0e\0\0"s);
    const FileChooserRequest none{"t", "Anything", {}};
    EXPECT_EQ(OpenFileFilter(none), "Anything (*.*)\0*.*\0\0"s);
}

TEST(ApplicationDirectory, FolderOfTheProgramFile) {
    struct Case {
        const char* programFile;
        const char* directory;
    };
    const Case cases[] = {
        {"C:\\Program Files\\QF Detect\\qfd.exe", "C:\\Program Files\\QF Detect"},
        {"C:\\qfd.exe", "C:\\"},  // a drive's root keeps its backslash
        {"\\\\server\\share\\qfd.exe", "\\\\server\\share"},
        {"Z:\\tmp\\a&b\\qfd.exe", "Z:\\tmp\\a&b"},
        {"qfd.exe", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ApplicationDirectory(c.programFile), c.directory);
}

}  // namespace
}  // namespace qfd
