#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/options/byte_limit.h"
#include "core/options/options_form_design.h"
#include "core/shell/splash_form_design.h"

namespace qfd {
namespace {

// Rows are front to back, and a frame is drawn behind what it holds: every container stands
// after the controls inside it, and each control lies within its container's rectangle.
void ExpectContainersHoldTheirControls(std::span<const design::Control> controls) {
    for (std::size_t row = 0; row < controls.size(); ++row) {
        const design::Control& c = controls[row];
        if (*c.container == '\0') continue;
        const int at = design::RowOf(controls, c.container);
        ASSERT_GT(at, static_cast<int>(row)) << c.name;
        const design::Rect& box = controls[static_cast<std::size_t>(at)].rect;
        EXPECT_GE(c.rect.left, box.left) << c.name;
        EXPECT_GE(c.rect.top, box.top) << c.name;
        EXPECT_LE(c.rect.left + c.rect.width, box.left + box.width) << c.name;
        EXPECT_LE(c.rect.top + c.rect.height, box.top + box.height) << c.name;
    }
}

TEST(FormDesign, OptionsContainersHoldTheirControls) {
    ExpectContainersHoldTheirControls(design::kOptionsControls);
}

TEST(FormDesign, SplashPanelHoldsItsControls) {
    ExpectContainersHoldTheirControls(design::kSplashControls);
}

// Win32 creates the controls in table order, which is its tab order: the tab indexes rise down
// the table, once each.
TEST(FormDesign, OptionsTabIndexesRiseDownTheTable) {
    int last = -1;
    for (const design::Control& c : design::kOptionsControls) {
        if (c.tabIndex < 0) continue;
        EXPECT_EQ(c.tabIndex, last + 1) << c.name;
        last = c.tabIndex;
    }
}

TEST(FormDesign, OptionsNamesAreUnique) {
    std::set<std::pair<std::string, int>> seen;
    for (const design::Control& c : design::kOptionsControls)
        EXPECT_TRUE(seen.insert({c.name, c.index}).second) << c.name << c.index;
}

TEST(FormDesign, OnlyTheFreeTextBoxesHaveByteLimits) {
    EXPECT_EQ(design::OptionsByteLimit("txtMyName"), 15u);
    EXPECT_EQ(design::OptionsByteLimit("txtAlertText1"), 22u);
    EXPECT_EQ(design::OptionsByteLimit("txtAlertText2"), 20u);
    EXPECT_EQ(design::OptionsByteLimit("txtDelay"), 0u);
    EXPECT_EQ(design::OptionsByteLimit("txtLatency"), 0u);
}

struct FitCase {
    const char* before;
    const char* after;
    std::size_t limit;
    std::size_t caret;
    const char* text;
    std::size_t fittedCaret;
};

// "é" is one byte in the file (Windows-1252); "€" also; "中" and "😀" need UTF-8.
const FitCase kFitCases[] = {
    {"abc", "abcdef", 0, 6, "abcdef", 6},      // no limit
    {"abc", "abcdef", 6, 6, "abcdef", 6},      // fits
    {"abc", "abcdef", 4, 6, "abcd", 4},        // cut paste
    {"ab", "aXYZb", 4, 4, "aXYb", 3},          // cut in the middle
    {"abcdef", "abcdefg", 4, 7, "abcdef", 6},  // longer text from the file
    {"abcdef", "abcde", 4, 5, "abcde", 5},     // shortening goes through
    {"ab", "ab\xE4\xB8\xAD", 4, 5, "ab", 2},   // UTF-8 text: 5 bytes
    {"a", "a\xF0\x9F\x98\x80", 4, 5, "a", 1},  // never half a character
    {"\xC3\xA9", "\xC3\xA9\xC3\xA9\xC3\xA9", 2, 6, "\xC3\xA9\xC3\xA9", 4},  // é is one byte
};

TEST(FormDesign, FitEditKeepsWholeCharactersWithinTheLimit) {
    for (const FitCase& c : kFitCases) {
        const FittedEdit fitted = FitEdit(c.before, c.after, c.limit, c.caret);
        EXPECT_EQ(fitted.text, c.text) << c.after;
        EXPECT_EQ(fitted.caret, c.fittedCaret) << c.after;
    }
}

}  // namespace
}  // namespace qfd
