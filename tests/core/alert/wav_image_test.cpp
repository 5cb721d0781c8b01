#include "core/alert/wav_image.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/core/alert/alert_fakes.h"

namespace qfd {
namespace {

using test::kSoundsDir;
using test::ReadFileBytes;

std::uint32_t U32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = v << 8 | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    }
    return v;
}
std::uint16_t U16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8);
}

std::vector<unsigned char> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

// The committed files as they lie on disk: canonical 44-byte headers, the exact formats and sizes.
TEST(SoundFilesTest, EachCommittedWavHasItsFormatAndDataSize) {
    const struct {
        const char* name;
        std::uint16_t channels;
        std::uint32_t rate;
        std::uint16_t bits;
        std::uint32_t dataBytes;
        double seconds;
    } files[] = {
        {"whoop.wav", 1, 11025, 8, 10119, 0.918},
        {"deedoodeedoo.wav", 1, 11025, 8, 8125, 0.737},
        {"weeooweeoo.wav", 1, 22050, 16, 126688, 2.873},
        {"none.wav", 1, 22050, 8, 0, 0},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        const std::string b = ReadFileBytes(kSoundsDir / f.name);
        const std::size_t pad = f.dataBytes % 2;
        ASSERT_EQ(b.size(), 44 + f.dataBytes + pad);
        EXPECT_EQ(b.substr(0, 4), "RIFF");
        EXPECT_EQ(U32(b, 4), b.size() - 8);
        EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
        EXPECT_EQ(U32(b, 16), 16u);
        EXPECT_EQ(U16(b, 20), 1);  // PCM
        EXPECT_EQ(U16(b, 22), f.channels);
        EXPECT_EQ(U32(b, 24), f.rate);
        EXPECT_EQ(U32(b, 28), f.rate * f.channels * f.bits / 8);
        EXPECT_EQ(U16(b, 32), f.channels * f.bits / 8);
        EXPECT_EQ(U16(b, 34), f.bits);
        EXPECT_EQ(b.substr(36, 4), "data");
        EXPECT_EQ(U32(b, 40), f.dataBytes);

        const auto image = ParseWavImage(Bytes(b));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->dataOffset, 44u);
        EXPECT_EQ(image->dataSize, f.dataBytes);
        EXPECT_NEAR(static_cast<double>(image->DurationMicroseconds()) / 1e6, f.seconds, 0.0005);
    }
}

TEST(SoundFilesTest, AlertSoundsAreAudibleFromEndToEnd) {
    // The sound checks measure a sound's length by its first and last loud samples.
    for (const char* name : {"whoop.wav", "deedoodeedoo.wav", "weeooweeoo.wav"}) {
        SCOPED_TRACE(name);
        const auto image = ParseWavImage(Bytes(ReadFileBytes(kSoundsDir / name)));
        ASSERT_TRUE(image);
        const auto samples = image->Samples();
        const bool wide = image->format.bitsPerSample == 16;
        const std::size_t frames = samples.size() / (wide ? 2 : 1);
        auto level = [&](std::size_t i) {
            return wide ? std::abs(
                              static_cast<std::int16_t>(samples[2 * i] | samples[2 * i + 1] << 8)) /
                              32768.0
                        : std::abs(samples[i] - 128) / 128.0;
        };
        double peakHead = 0, peakTail = 0, peakMiddle = 0;
        const std::size_t window = frames / 50;  // 2 %
        for (std::size_t i = 0; i < window; ++i) {
            peakHead = std::max(peakHead, level(i));
            peakTail = std::max(peakTail, level(frames - 1 - i));
            peakMiddle = std::max(peakMiddle, level(frames / 2 + i));
        }
        EXPECT_GT(peakHead, 0.3);
        EXPECT_GT(peakTail, 0.3);
        EXPECT_GT(peakMiddle, 0.5);
    }
}

TEST(SoundFilesTest, TheGeneratorWritesTheCommittedFilesAgain) {
    if (std::system("python3 --version > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "python3 is not installed";
    }
    test::Sandbox sandbox;
    const std::string command = "python3 \"" + (kSoundsDir / "make_sounds.py").string() + "\" \"" +
                                sandbox.Dir().string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* name : {"whoop.wav", "deedoodeedoo.wav", "weeooweeoo.wav", "none.wav"}) {
        EXPECT_TRUE(ReadFileBytes(kSoundsDir / name) == sandbox.ReadBytes(name)) << name;
    }
}

// A little WAV image builder for the damaged cases.
std::string Chunk(const char* tag, const std::string& body, std::uint32_t claimed) {
    std::string c(tag, 4);
    for (int i = 0; i < 4; ++i) {
        c.push_back(static_cast<char>(claimed >> (8 * i) & 0xFF));
    }
    return c + body;
}
std::string Chunk(const char* tag, const std::string& body) {
    return Chunk(tag, body, static_cast<std::uint32_t>(body.size()));
}
std::string Fmt(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    std::string f;
    auto put = [&f](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) {
            f.push_back(static_cast<char>(v >> (8 * i) & 0xFF));
        }
    };
    put(tag, 2);
    put(channels, 2);
    put(rate, 4);
    put(rate * channels * bits / 8, 4);
    put(channels * bits / 8, 2);
    put(bits, 2);
    return Chunk("fmt ", f);
}
std::string Riff(const std::string& chunks) { return Chunk("RIFF", "WAVE" + chunks); }

TEST(WavImageTest, DamagedAndUnusualImages) {
    const std::string pcm8 = Fmt(1, 1, 11025, 8);
    const std::string pcm16stereo = Fmt(1, 2, 22050, 16);
    const struct {
        const char* what;
        std::string bytes;
        bool ok;
        std::size_t dataSize;
    } cases[] = {
        {"plain", Riff(pcm8 + Chunk("data", "abc")), true, 3},
        {"odd chunk padded before data",
         Riff(pcm8 + Chunk("LIST", std::string("xyz") + '\0', 3) + Chunk("data", "ab")), true, 2},
        {"data claims more than there is", Riff(pcm8 + Chunk("data", "abcd", 1000)), true, 4},
        {"torn last frame", Riff(pcm16stereo + Chunk("data", "0123456")), true, 4},
        {"empty data", Riff(pcm8 + Chunk("data", "")), true, 0},
        {"no data chunk", Riff(pcm8), false, 0},
        {"data before fmt", Riff(Chunk("data", "ab") + pcm8), false, 0},
        {"compressed", Riff(Fmt(2, 1, 11025, 4) + Chunk("data", "ab")), false, 0},
        {"24-bit", Riff(Fmt(1, 1, 11025, 24) + Chunk("data", "abc")), false, 0},
        {"no channels", Riff(Fmt(1, 0, 11025, 8) + Chunk("data", "ab")), false, 0},
        {"rate 0", Riff(Fmt(1, 1, 0, 8) + Chunk("data", "ab")), false, 0},
        {"short fmt", Riff(Chunk("fmt ", "\x01\x00\x01\x00") + Chunk("data", "ab")), false, 0},
        {"huge chunk before data", Riff(pcm8 + Chunk("junk", "", 0xFFFFFFFF) + Chunk("data", "a")),
         false, 0},
        {"not RIFF", "RIFX" + Riff(pcm8).substr(4), false, 0},
        {"not WAVE", Chunk("RIFF", "AVI " + pcm8), false, 0},
        {"empty", "", false, 0},
        {"header cut", Riff(pcm8 + Chunk("data", "abc")).substr(0, 30), false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto image = ParseWavImage(Bytes(c.bytes));
        ASSERT_EQ(image.has_value(), c.ok);
        if (image) {
            EXPECT_EQ(image->dataSize, c.dataSize);
            EXPECT_LE(image->dataOffset + image->dataSize, image->bytes.size());
        }
    }
}

}  // namespace
}  // namespace qfd
