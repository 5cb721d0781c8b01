#include "platform/single_instance.h"

#include <windows.h>

#include <cstdint>
#include <utility>

namespace qfd {
namespace {

// The claim is a lock on one byte of the program file, far beyond its end: the system allows
// locks there, and no one ever reads there, so the lock gets in nobody's way (a locked range
// cannot be read by others on this platform). Every program file is far smaller than this.
constexpr DWORD kClaimOffset = 0xFFFFFF00u;

HANDLE AsHandle(long long value) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(value)); }

}  // namespace

SingleInstance::SingleInstance(SingleInstance&& other) noexcept
    : state_(std::exchange(other.state_, State::Unknown)),
      handle_(std::exchange(other.handle_, -1)) {}

SingleInstance& SingleInstance::operator=(SingleInstance&& other) noexcept {
    if (this != &other) {
        Release();
        state_ = std::exchange(other.state_, State::Unknown);
        handle_ = std::exchange(other.handle_, -1);
    }
    return *this;
}

SingleInstance::~SingleInstance() { Release(); }

void SingleInstance::Release() {
    if (handle_ != -1) ::CloseHandle(AsHandle(handle_));
    handle_ = -1;
}

SingleInstance SingleInstance::Claim(const std::string& programFile) {
    // The lock sits on the program file itself, opened for reading and shared with everyone (a
    // running program's file stays readable): nothing is created beside it, a read-only
    // installation folder works, and a second start leaves no trace. The lock belongs to this
    // open of the file, so the system drops it when the process ends, however it ends.
    SingleInstance claim;
    HANDLE h = ::CreateFileA(programFile.c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return claim;
    if (::GetFileType(h) != FILE_TYPE_DISK) {
        ::CloseHandle(h);
        return claim;
    }
    OVERLAPPED range{};
    range.Offset = kClaimOffset;
    if (::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &range)) {
        claim.state_ = State::Ours;
        claim.handle_ = static_cast<long long>(reinterpret_cast<intptr_t>(h));
        return claim;
    }
    // A lock held elsewhere is the answer; anything else (a file system without byte-range
    // locks) means this file system cannot tell.
    const DWORD error = ::GetLastError();
    claim.state_ = error == ERROR_LOCK_VIOLATION ? State::HeldByAnother : State::Unknown;
    ::CloseHandle(h);
    return claim;
}

}  // namespace qfd
