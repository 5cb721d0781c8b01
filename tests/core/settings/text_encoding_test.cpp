#include "core/settings/text_encoding.h"

#include "core/settings/settings_encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

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

// A UTF-16LE settings file: the byte-order mark, then the code units, low byte first.
std::string Utf16File(std::u16string_view units) {
    std::string file = "\xFF\xFE";
    for (char16_t unit : units) {
        file += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    }
    return file;
}

// Each file decodes to the text; the valid ones encode back to the very same bytes.
struct Utf16Case {
    std::string file;
    std::string text;
    bool valid;
};

TEST(SettingsEncoding, Utf16FilesDecodeToUtf8AndBack) {
    using namespace std::string_literals;
    const std::string bom = "\xFF\xFE";
    const Utf16Case cases[] = {
        {Utf16File(u"[QFD]\r\nName=Bob\r\n"), "[QFD]\r\nName=Bob\r\n", true},
        {Utf16File(u"Name=Ünïcödé ✓ 日本"), "Name=Ünïcödé ✓ 日本", true},
        {Utf16File(u"a\r\nb\nc\rd\n\r\r\n"), "a\r\nb\nc\rd\n\r\r\n", true},
        {bom + "\x3D\xD8\x00\xDE"s, "😀", true},
        {bom + "x\0\0\0y\0"s, "x\0y"s, true},
        {bom, "", true},
        {bom + bom, "\xEF\xBB\xBF", true},  // a second mark is text
        {bom + "a\0b"s, "a\uFFFD", false},
        {bom + "\x3D\xD8", "\uFFFD", false},
        {bom + "\x3D\xD8\x61\0"s, "\uFFFDa", false},
        {bom + "\x00\xDE\x61\0"s, "\uFFFDa", false},
        {bom + "\x00\xDE\x3D\xD8"s, "\uFFFD\uFFFD", false},
        {bom + "\x3D\xD8z", "\uFFFD\uFFFD", false},
    };
    for (const Utf16Case& c : cases) {
        const DecodedSettings decoded = DecodeSettingsFile(c.file);
        EXPECT_EQ(decoded.encoding, SettingsEncoding::Utf16Le) << c.text;
        EXPECT_EQ(decoded.bytes, c.text);
        if (c.valid) {
            EXPECT_EQ(EncodeSettingsFile(decoded.bytes, SettingsEncoding::Utf16Le), c.file);
        }
    }
    // A high surrogate and half a unit at the end: the pair's other half lies beyond the file.
    EXPECT_EQ(DecodeSettingsFile(std::string_view("\xFF\xFE\x3D\xD8\x00\xDC", 5)).bytes,
              "\uFFFD\uFFFD");
    // Damage is repaired on the next write: U+FFFD takes the broken unit's place.
    EXPECT_EQ(EncodeSettingsFile("a\uFFFD", SettingsEncoding::Utf16Le), Utf16File(u"a\uFFFD"));
}

TEST(SettingsEncoding, Windows1252BytesInDecodedTextEncodeAsTheirCharacters) {
    const std::pair<std::string, std::u16string> cases[] = {
        {"Name=M\xFCller\r\n", u"Name=Müller\r\n"},
        {"\x80\x81\x9F\xFF", u"€\u0081Ÿÿ"},
        {"日\xFC", u"日ü"},
        {"\xC0\xAF", u"À¯"},            // overlong: not UTF-8
        {"\xED\xA0\x80", u"í\u00A0€"},  // an encoded surrogate: not UTF-8
        {"\xF0\x9F\x98", u"ðŸ˜"},       // a cut four-byte sequence
    };
    for (const auto& [text, units] : cases) {
        EXPECT_EQ(EncodeSettingsFile(text, SettingsEncoding::Utf16Le), Utf16File(units)) << text;
    }
}

TEST(SettingsEncoding, OtherFilesStayBytes) {
    using namespace std::string_view_literals;
    for (std::string_view file :
         {""sv, "\xFF"sv, "\xFE\xFF[\0Q\0"sv, "\xEF\xBB\xBF[QFD]"sv, "Gr\xFC\r\n"sv}) {
        const DecodedSettings decoded = DecodeSettingsFile(file);
        EXPECT_EQ(decoded.encoding, SettingsEncoding::Bytes) << file;
        EXPECT_EQ(decoded.bytes, file);
        EXPECT_EQ(EncodeSettingsFile(file, SettingsEncoding::Bytes), file);
    }
}

}  // namespace
}  // namespace qfd
