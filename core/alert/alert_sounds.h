#pragma once

#include <cstdint>
#include <memory>

#include "core/alert/sound_library.h"
#include "core/platform/audio_output.h"

namespace qfd {

// The alert sounds: loads a sound by id and plays it asynchronously with the platform's stop and
// no-stop rules. One instance serves the whole run (alert window and options dialog alike), so
// "a sound of this program" is whatever this instance started.
class AlertSounds {
  public:
    AlertSounds(std::unique_ptr<SoundLibrary> library, std::unique_ptr<AudioOutput> output);

    // Loads sound soundId into SoundData and starts it without waiting. Without noStop a playing
    // sound is cut off and the new one starts (104, the silent sound, thus only stops). With noStop
    // the request is refused while a sound started here can still be heard. Non-zero when playback
    // was accepted; 0 when refused, when no audio device takes it, or when no sound has this id
    // (map a setting's text with SoundIdFromSetting first).
    std::int32_t PlayAlertSound(std::int32_t soundId, bool noStop);

    // The image loaded last. A refused request has replaced it too; the sound still playing keeps
    // its own image alive inside the output.
    const std::shared_ptr<const PcmImage>& SoundData() const { return SoundData_; }

  private:
    std::unique_ptr<SoundLibrary> library_;
    std::unique_ptr<AudioOutput> output_;
    std::shared_ptr<const PcmImage> SoundData_;
};

}  // namespace qfd
