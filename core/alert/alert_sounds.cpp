#include "core/alert/alert_sounds.h"

#include <utility>

#include "core/alert/wav_image.h"

namespace qfd {

AlertSounds::AlertSounds(std::unique_ptr<SoundLibrary> library, std::unique_ptr<AudioOutput> output)
    : library_(std::move(library)), output_(std::move(output)) {}

std::int32_t AlertSounds::PlayAlertSound(std::int32_t soundId, bool noStop) {
    auto bytes = library_->LoadSound(soundId);
    if (!bytes) {
        return 0;
    }
    auto image = ParseWavImage(std::move(*bytes));
    if (!image) {
        return 0;
    }
    SoundData_ = std::make_shared<const PcmImage>(std::move(*image));
    if (noStop) return output_->PlayUnlessPlaying(SoundData_) ? 1 : 0;
    return output_->Play(SoundData_) ? 1 : 0;
}

}  // namespace qfd
