#include "win32/alert/resource_sound_library.h"

#include <windows.h>

namespace qfd {

std::optional<std::vector<unsigned char>> ResourceSoundLibrary::LoadSound(
    std::int32_t soundId) const {
    // Resource ids are 16-bit; anything else names no resource.
    if (soundId <= 0 || soundId > 0xFFFF) return std::nullopt;
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(soundId), "SOUND");
    if (!found) return std::nullopt;
    HGLOBAL loaded = LoadResource(module, found);
    const DWORD size = SizeofResource(module, found);
    const auto* bytes = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
    if (!bytes || size == 0) return std::nullopt;
    return std::vector<unsigned char>(bytes, bytes + size);
}

}  // namespace qfd
