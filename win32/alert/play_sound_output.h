#pragma once

#include <chrono>
#include <memory>

#include <windows.h>

#include "core/platform/audio_output.h"

namespace qfd {

// The sound device through PlaySoundA: an in-memory WAV image played asynchronously. The output
// keeps the image it plays (and the one before, which the system may still be letting go of), so
// a newer load never pulls the bytes from under a playing sound.
class PlaySoundOutput : public AudioOutput {
  public:
    using Clock = std::chrono::steady_clock;

    PlaySoundOutput();
    ~PlaySoundOutput() override;

    bool Play(std::shared_ptr<const PcmImage> image) override;
    // The platform's no-stop flag: it refuses while a sound of this program plays.
    bool PlayUnlessPlaying(std::shared_ptr<const PcmImage> image) override;
    // The platform cannot be asked whether its sound still plays; the end is known from the
    // image's length, counted from the moment playback was accepted.
    bool IsPlaying() const override;

  private:
    bool Start(std::shared_ptr<const PcmImage> image, DWORD flags);

    std::shared_ptr<const PcmImage> playing_;
    std::shared_ptr<const PcmImage> previous_;
    Clock::time_point playingUntil_{};
};

}  // namespace qfd
