// Shared by the alert window's Qt tests: the real built-in sounds on an output that plays nothing.
#pragma once

#include <memory>
#include <vector>

#include "core/alert/alert_sounds.h"
#include "core/platform/audio_output.h"
#include "qt/alert/qt_sound_library.h"

namespace qfd::test {

class RecordingAudioOutput : public AudioOutput {
  public:
    std::vector<std::shared_ptr<const PcmImage>> plays;
    bool playing = false;

    bool Play(std::shared_ptr<const PcmImage> image) override {
        playing = image->dataSize > 0;
        plays.push_back(std::move(image));
        return true;
    }
    bool IsPlaying() const override { return playing; }
};

struct RecordedSounds {
    RecordingAudioOutput* output;
    AlertSounds sounds;

    RecordedSounds() : RecordedSounds(std::make_unique<RecordingAudioOutput>()) {}

  private:
    explicit RecordedSounds(std::unique_ptr<RecordingAudioOutput> out)
        : output(out.get()), sounds(std::make_unique<QtSoundLibrary>(), std::move(out)) {}
};

}  // namespace qfd::test
