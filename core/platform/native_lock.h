#pragma once

#include "core/platform/native_handle.h"

#include <cstdint>
#include <string>

namespace qfd {

// The platform's own locks on single bytes of a lock file, under the waiting logic of
// file_lock.cpp. None of them ever waits.

// Opens the lock file for reading and writing (creating it where allowed), else for reading only;
// an empty handle where neither is possible.
NativeHandle OpenLockFile(const std::string& lockPath, bool createIfMissing, bool& writable);

bool TryLockByte(const NativeHandle& file, bool exclusive, std::uint32_t byte);
// Whether the last try failed because another party holds the byte (rather than for good).
bool LastTryFoundLockHeld();
void UnlockByte(const NativeHandle& file, std::uint32_t byte);

}  // namespace qfd
