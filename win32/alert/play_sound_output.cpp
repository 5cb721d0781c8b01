#include "win32/alert/play_sound_output.h"

#include <windows.h>

#include <mmsystem.h>

#include <utility>

namespace qfd {

PlaySoundOutput::PlaySoundOutput() = default;

PlaySoundOutput::~PlaySoundOutput() {
    // Nothing may play from an image this object is about to release.
    if (playing_) PlaySoundA(nullptr, nullptr, 0);
}

bool PlaySoundOutput::Play(std::shared_ptr<const PcmImage> image) {
    if (!image || image->Samples().empty()) {
        // The silent sound: stopping is all it does.
        PlaySoundA(nullptr, nullptr, 0);
        previous_ = std::move(playing_);
        playingUntil_ = Clock::now();
        return true;
    }
    // A new request stops the sound of this program that is playing, then starts this one.
    if (Start(std::move(image), SND_ASYNC | SND_MEMORY)) return true;
    previous_ = std::move(playing_);
    playingUntil_ = Clock::now();
    return false;
}

bool PlaySoundOutput::PlayUnlessPlaying(std::shared_ptr<const PcmImage> image) {
    // The platform cannot be asked about the silent sound without playing it: the known end tells.
    if (!image || image->Samples().empty()) return !IsPlaying() && Play(std::move(image));
    // Refused: the sound that plays goes on, and so does what is known of it.
    return Start(std::move(image), SND_ASYNC | SND_MEMORY | SND_NOSTOP);
}

bool PlaySoundOutput::Start(std::shared_ptr<const PcmImage> image, DWORD flags) {
    if (!PlaySoundA(reinterpret_cast<LPCSTR>(image->bytes.data()), nullptr, flags)) return false;
    previous_ = std::move(playing_);
    playingUntil_ = Clock::now() + std::chrono::microseconds(image->DurationMicroseconds());
    playing_ = std::move(image);
    return true;
}

bool PlaySoundOutput::IsPlaying() const { return playing_ && Clock::now() < playingUntil_; }

}  // namespace qfd
