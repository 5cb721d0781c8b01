#include <gtest/gtest.h>

#include "core/alert/alert_sounds.h"
#include "core/alert/sound_ids.h"
#include "tests/core/alert/alert_fakes.h"

namespace qfd {
namespace {

using test::SoundsUnderTest;

constexpr std::size_t kWhoopBytes = 10119;
constexpr std::size_t kDeedooBytes = 8125;
constexpr std::size_t kWeeooBytes = 126688;

class AlertSoundsTest : public ::testing::Test {
  protected:
    SoundsUnderTest s;
    std::size_t HeardBytes() const { return s.output->playing ? s.output->playing->dataSize : 0; }
};

TEST_F(AlertSoundsTest, WithoutNoStopAPlayingSoundIsCutAndTheNewOneStarts) {
    EXPECT_NE(s.sounds.PlayAlertSound(kSoundWeeooweeoo, false), 0);
    EXPECT_EQ(HeardBytes(), kWeeooBytes);
    EXPECT_NE(s.sounds.PlayAlertSound(kSoundWhoop, false), 0);
    EXPECT_EQ(HeardBytes(), kWhoopBytes);
    // The play button pressed twice: the same sound starts again from its beginning.
    EXPECT_NE(s.sounds.PlayAlertSound(kSoundWhoop, false), 0);
    ASSERT_EQ(s.output->plays.size(), 3u);
    EXPECT_EQ(s.output->plays[2]->dataSize, kWhoopBytes);
}

TEST_F(AlertSoundsTest, WithNoStopARequestIsRefusedWhileASoundIsStillHeard) {
    ASSERT_NE(s.sounds.PlayAlertSound(kSoundWeeooweeoo, true), 0);
    const auto playing = s.output->playing;

    EXPECT_EQ(s.sounds.PlayAlertSound(kSoundDeedoodeedoo, true), 0);
    EXPECT_EQ(s.sounds.PlayAlertSound(kSoundNone, true), 0);
    EXPECT_EQ(s.output->plays.size(), 1u);
    EXPECT_EQ(s.output->playing, playing);

    // The refused request has replaced SoundData, but the playing image is untouched.
    EXPECT_EQ(s.sounds.SoundData()->dataSize, 0u);
    EXPECT_EQ(playing->dataSize, kWeeooBytes);
    EXPECT_EQ(playing->bytes.size(), 44 + kWeeooBytes);
    EXPECT_EQ(playing->Samples().size(), kWeeooBytes);
}

TEST_F(AlertSoundsTest, NoStopRequestsStartAgainOnceTheSoundHasEnded) {
    ASSERT_NE(s.sounds.PlayAlertSound(kSoundWeeooweeoo, true), 0);
    EXPECT_EQ(s.sounds.PlayAlertSound(kSoundWeeooweeoo, true), 0);
    s.output->EndSound();
    EXPECT_NE(s.sounds.PlayAlertSound(kSoundWeeooweeoo, true), 0);
    EXPECT_EQ(s.output->plays.size(), 2u);
    EXPECT_EQ(HeardBytes(), kWeeooBytes);
}

TEST_F(AlertSoundsTest, NoStopIsLeftToThePlatformsOwnRule) {
    s.output->platformSoundPlays = true;
    EXPECT_EQ(s.sounds.PlayAlertSound(kSoundWhoop, true), 0);
    EXPECT_TRUE(s.output->plays.empty());
    EXPECT_NE(s.sounds.PlayAlertSound(kSoundWhoop, false), 0) << "a plain request cuts in";
    EXPECT_EQ(s.output->noStopRequests, 1);
}

TEST_F(AlertSoundsTest, TheSilentSoundStopsAPlayingSoundAndPlaysNothing) {
    ASSERT_NE(s.sounds.PlayAlertSound(kSoundWeeooweeoo, false), 0);
    EXPECT_NE(s.sounds.PlayAlertSound(kSoundNone, false), 0);
    EXPECT_FALSE(s.output->IsPlaying());
    const auto& image = s.sounds.SoundData();
    EXPECT_EQ(image->bytes.size(), 44u);
    EXPECT_EQ(image->dataSize, 0u);
    EXPECT_EQ(image->format.sampleRate, 22050u);

    // "None" chosen for an alert: every tick's request is accepted and nothing is heard.
    EXPECT_NE(s.sounds.PlayAlertSound(kSoundNone, true), 0);
    EXPECT_NE(s.sounds.PlayAlertSound(kSoundNone, true), 0);
    EXPECT_FALSE(s.output->IsPlaying());
}

TEST_F(AlertSoundsTest, WithoutAnAudioDeviceEveryRequestReturnsZero) {
    s.output->deviceAvailable = false;
    for (const std::int32_t id : {kSoundWhoop, kSoundDeedoodeedoo, kSoundWeeooweeoo, kSoundNone}) {
        for (const bool noStop : {false, true}) {
            EXPECT_EQ(s.sounds.PlayAlertSound(id, noStop), 0) << id << " " << noStop;
        }
    }
    EXPECT_TRUE(s.output->plays.empty());
}

TEST_F(AlertSoundsTest, AnIdThatNamesNoSoundIsRefusedAndChangesNothing) {
    ASSERT_NE(s.sounds.PlayAlertSound(kSoundDeedoodeedoo, false), 0);
    for (const std::int32_t id : {0, 100, 105, -1, 2147483647}) {
        EXPECT_EQ(s.sounds.PlayAlertSound(id, false), 0) << id;
    }
    EXPECT_EQ(s.output->plays.size(), 1u);
    EXPECT_EQ(HeardBytes(), kDeedooBytes);
    EXPECT_EQ(s.sounds.SoundData()->dataSize, kDeedooBytes);
}

TEST(SoundIdFromSettingTest, ReadsTheSettingLikeEveryNumberAndFallsBackToWhoop) {
    const struct {
        const char* text;
        std::int32_t id;
    } cases[] = {
        {"101", 101},    {"102", 102},    {"103", 103},         {"104", 104},   {" 103", 103},
        {"103 ", 103},   {"+102", 102},   {"102.4", 102},       {"", 101},      {"abc", 101},
        {"103abc", 101}, {"100", 101},    {"105", 101},         {"0", 101},     {"-101", 101},
        {"1e2", 101},    {"1.03e2", 103}, {"99999999999", 101}, {"\t104", 104},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SoundIdFromSetting(c.text), c.id) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace qfd
