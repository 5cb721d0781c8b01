#pragma once

#include "core/alert/sound_library.h"

namespace qfd {

// The four sounds as resources of type "SOUND" in the program file, ids 101 to 104.
class ResourceSoundLibrary : public SoundLibrary {
  public:
    std::optional<std::vector<unsigned char>> LoadSound(std::int32_t soundId) const override;
};

}  // namespace qfd
