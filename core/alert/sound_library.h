#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace qfd {

// The program's own sound images, by id (101 to 104): built-in resources of the front end.
class SoundLibrary {
  public:
    virtual ~SoundLibrary() = default;
    // A copy of the whole WAV image, or nothing when the program holds no sound with this id.
    virtual std::optional<std::vector<unsigned char>> LoadSound(std::int32_t soundId) const = 0;
};

}  // namespace qfd
