#include "settings/text_encoding.h"

#include <gtest/gtest.h>

namespace qfd {
namespace {

TEST(TextEncoding, WindowsBytesReadAsWindows1252) {
    EXPECT_EQ(FileBytesToUtf8("Gr\xFC\xDF"
                              "e"),
              "Grüße");
    EXPECT_EQ(FileBytesToUtf8("\x80 5"), "€ 5");
    EXPECT_EQ(FileBytesToUtf8("\x93quoted\x94"), "“quoted”");
}

TEST(TextEncoding, Utf8BytesStayUtf8) {
    EXPECT_EQ(FileBytesToUtf8("Grüße 日本"), "Grüße 日本");
    // An overlong form is not UTF-8: each byte is read as Windows-1252.
    EXPECT_EQ(FileBytesToUtf8("\xC0\xAF"), "À¯");
}

TEST(TextEncoding, TypedTextStoredAsWindows1252WhenEveryCharacterFits) {
    EXPECT_EQ(Utf8ToFileBytes("Grüße €"),
              "Gr\xFC\xDF"
              "e \x80");
    EXPECT_EQ(Utf8ToFileBytes("plain"), "plain");
    EXPECT_EQ(Utf8ToFileBytes("Grüße 日本"), "Grüße 日本");
}

TEST(TextEncoding, RoundTripsThroughTheFileForm) {
    for (const char* text : {"Grüße €", "日本 and ü", "\"<b>&amp;</b>\""}) {
        EXPECT_EQ(FileBytesToUtf8(Utf8ToFileBytes(text)), text);
    }
}

}  // namespace
}  // namespace qfd
