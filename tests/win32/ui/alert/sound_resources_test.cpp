#include <gtest/gtest.h>

#include <string>

#include "core/alert/wav_image.h"
#include "tests/support/sandbox.h"
#include "win32/alert/resource_sound_library.h"

namespace qfd {
namespace {

struct SoundCase {
    std::int32_t id;
    const char* file;
    std::uint32_t sampleRate;
    std::uint16_t bits;
    std::size_t dataBytes;
};

// The program file carries the four sounds as "SOUND" resources, byte for byte the WAV files of
// the source tree, under the ids the settings file names them by.
TEST(SoundResources, EachIdHoldsItsWavFileByteForByte) {
    const SoundCase cases[] = {
        {101, "whoop.wav", 11025, 8, 10119},
        {102, "deedoodeedoo.wav", 11025, 8, 8125},
        {103, "weeooweeoo.wav", 22050, 16, 126688},
        {104, "none.wav", 22050, 8, 0},
    };
    const ResourceSoundLibrary library;
    for (const SoundCase& c : cases) {
        const auto bytes = library.LoadSound(c.id);
        ASSERT_TRUE(bytes) << c.id;
        const std::string onDisk = test::ReadFileBytes(std::string(QFD_SOUNDS_DIR) + "/" + c.file);
        ASSERT_FALSE(onDisk.empty()) << c.file;
        EXPECT_EQ(std::string(bytes->begin(), bytes->end()), onDisk) << c.id;

        const auto image = ParseWavImage(*bytes);
        ASSERT_TRUE(image) << c.id;
        EXPECT_EQ(image->format.channels, 1);
        EXPECT_EQ(image->format.sampleRate, c.sampleRate) << c.id;
        EXPECT_EQ(image->format.bitsPerSample, c.bits) << c.id;
        EXPECT_EQ(image->dataSize, c.dataBytes) << c.id;
    }
}

TEST(SoundResources, OtherIdsNameNoSound) {
    const ResourceSoundLibrary library;
    for (const std::int32_t id : {0, -1, 1, 100, 105, 65536 + 101}) {
        EXPECT_FALSE(library.LoadSound(id)) << id;
    }
}

}  // namespace
}  // namespace qfd
