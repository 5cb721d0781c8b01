#include "core/platform/single_instance.h"

#include <windows.h>

namespace qfd {
namespace {

// The claim is a lock on one byte of the program file, far beyond its end: the system allows
// locks there, and no one ever reads there, so the lock gets in nobody's way (a locked range
// cannot be read by others on this platform). Every program file is far smaller than this.
constexpr DWORD kClaimOffset = 0xFFFFFF00u;

}  // namespace

SingleInstance SingleInstance::Claim(const std::string& programFile) {
    // The lock sits on the program file itself, opened for reading and shared with everyone (a
    // running program's file stays readable): nothing is created beside it, a read-only
    // installation folder works, and a second start leaves no trace. The lock belongs to this
    // open of the file, so the system drops it when the process ends, however it ends.
    SingleInstance claim;
    NativeHandle file(::CreateFileA(programFile.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid() || ::GetFileType(file.Get()) != FILE_TYPE_DISK) return claim;
    OVERLAPPED range{};
    range.Offset = kClaimOffset;
    if (::LockFileEx(file.Get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                     &range)) {
        claim.handle_ = std::move(file);
        return claim;
    }
    // A lock held elsewhere is the answer; anything else (a file system without byte-range
    // locks) means this file system cannot tell.
    claim.refusal_ =
        ::GetLastError() == ERROR_LOCK_VIOLATION ? State::HeldByAnother : State::Unknown;
    return claim;
}

}  // namespace qfd
