#include "core/alert/sound_ids.h"

#include "core/settings/number_form.h"

namespace qfd {

std::int32_t SoundIdFromSetting(std::string_view soundSetting) {
    const auto id = ParseInt32(soundSetting);
    if (!id || *id < kSoundWhoop || *id > kSoundNone) {
        return kDefaultSound;
    }
    return *id;
}

}  // namespace qfd
