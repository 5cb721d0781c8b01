// Fakes for the alert tests: the committed sound files as the library, an audio output whose
// "still being heard" the test decides, and a view that records what frmAlert was told.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/alert/alert_sounds.h"
#include "core/alert/alert_view.h"
#include "core/alert/sound_library.h"
#include "core/platform/audio_output.h"
#include "tests/support/sandbox.h"

namespace qfd::test {

inline const std::filesystem::path kSoundsDir =
    std::filesystem::path(QFD_TEST_DATA_DIR) / ".." / ".." / ".." / "resources" / "sounds";

inline std::string SoundFileName(std::int32_t id) {
    switch (id) {
        case 101:
            return "whoop.wav";
        case 102:
            return "deedoodeedoo.wav";
        case 103:
            return "weeooweeoo.wav";
        case 104:
            return "none.wav";
        default:
            return "";
    }
}

// The sound files exactly as committed, by id.
class FileSoundLibrary : public SoundLibrary {
  public:
    std::optional<std::vector<unsigned char>> LoadSound(std::int32_t soundId) const override {
        const std::string name = SoundFileName(soundId);
        if (name.empty()) {
            return std::nullopt;
        }
        const std::string bytes = ReadFileBytes(kSoundsDir / name);
        return std::vector<unsigned char>(bytes.begin(), bytes.end());
    }
};

// Plays nothing; a sound "is heard" until the test ends it.
class FakeAudioOutput : public AudioOutput {
  public:
    bool deviceAvailable = true;
    std::shared_ptr<const PcmImage> playing;             // what is being heard now
    std::vector<std::shared_ptr<const PcmImage>> plays;  // every accepted request

    bool Play(std::shared_ptr<const PcmImage> image) override {
        if (!deviceAvailable) {
            return false;
        }
        plays.push_back(image);
        playing = image->dataSize > 0 ? image : nullptr;
        return true;
    }
    bool IsPlaying() const override { return playing != nullptr; }
    // A platform with a no-stop rule of its own, which may know of a sound that this output
    // does not (one the program started through another output).
    bool platformSoundPlays = false;
    int noStopRequests = 0;
    bool PlayUnlessPlaying(std::shared_ptr<const PcmImage> image) override {
        ++noStopRequests;
        return !platformSoundPlays && AudioOutput::PlayUnlessPlaying(std::move(image));
    }
    void EndSound() { playing.reset(); }
};

// AlertSounds over the committed files and a fake output the test keeps a hand on.
struct SoundsUnderTest {
    FakeAudioOutput* output;
    AlertSounds sounds;

    SoundsUnderTest() : SoundsUnderTest(std::make_unique<FakeAudioOutput>()) {}

  private:
    explicit SoundsUnderTest(std::unique_ptr<FakeAudioOutput> fake)
        : output(fake.get()), sounds(std::make_unique<FileSoundLibrary>(), std::move(fake)) {}
};

// Records frmAlert's state as the presenter leaves it. Text is measured as a made-up font would:
// each byte 0.6 em wide and a line 1.15 em high, an em being the point size in twips (20 per pt).
class FakeAlertView : public AlertView {
  public:
    struct LabelState {
        double points = 0;
        std::string text;
        double left = -1;
        double top = -1;
        std::uint32_t colour = 0xDEADBEEF;
    };

    TwipSize screen{1024 * 15.0, 768 * 15.0};
    TwipSize window;
    std::map<AlertLabel, LabelState> labels;
    std::uint32_t backColour = 0xDEADBEEF;
    bool topmost = false;
    int timerInterval = 0;  // 0: not enabled
    int unloadRequests = 0;
    std::vector<std::string> calls;  // in order, for the checks on what comes before what

    TwipSize ScreenSize() const override { return screen; }
    void SetWindowSize(TwipSize size) override {
        window = size;
        calls.push_back("SetWindowSize");
    }
    void SetFontSize(AlertLabel label, double points) override { labels[label].points = points; }
    void SetCaption(AlertLabel label, const std::string& text) override {
        labels[label].text = text;
    }
    TwipSize LabelSize(AlertLabel label) const override {
        const LabelState& l = labels.at(label);
        return {static_cast<double>(l.text.size()) * l.points * 20 * 0.6, l.points * 20 * 1.15};
    }
    void SetLabelLeft(AlertLabel label, double left) override { labels[label].left = left; }
    void SetLabelTop(AlertLabel label, double top) override { labels[label].top = top; }
    void SetTextColour(AlertLabel label, std::uint32_t colour) override {
        labels[label].colour = colour;
    }
    void SetBackColour(std::uint32_t colour) override { backColour = colour; }
    void MakeTopmost() override {
        topmost = true;
        calls.push_back("MakeTopmost");
    }
    void EnableTimer1(int intervalMs) override {
        timerInterval = intervalMs;
        calls.push_back("EnableTimer1");
    }
    void UnloadWindow() override { ++unloadRequests; }
};

}  // namespace qfd::test
