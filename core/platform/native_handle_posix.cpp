#include "core/platform/native_handle.h"

#include <unistd.h>

namespace qfd {

NativeHandle::NativeHandle(Raw raw) : raw_(raw < 0 ? kEmpty : raw) {}

bool NativeHandle::Close() { return ::close(std::exchange(raw_, kEmpty)) == 0; }

}  // namespace qfd
