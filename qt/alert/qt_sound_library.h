#pragma once

#include "core/alert/sound_library.h"

namespace qfd {

// The four sounds built into the program as Qt resources (qt/alert/alert_sounds.qrc).
class QtSoundLibrary : public SoundLibrary {
  public:
    QtSoundLibrary();
    std::optional<std::vector<unsigned char>> LoadSound(std::int32_t soundId) const override;
};

}  // namespace qfd
