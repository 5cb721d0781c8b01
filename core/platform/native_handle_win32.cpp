#include "core/platform/native_handle.h"

#include <windows.h>

namespace qfd {

// Some calls fail with INVALID_HANDLE_VALUE, others with none at all.
NativeHandle::NativeHandle(Raw raw) : raw_(raw == INVALID_HANDLE_VALUE ? kEmpty : raw) {}

bool NativeHandle::Close() { return ::CloseHandle(std::exchange(raw_, kEmpty)) != 0; }

}  // namespace qfd
