#include "platform/file_lock.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <thread>
#include <utility>

namespace qfd {
namespace {

using Clock = std::chrono::steady_clock;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Byte 1 of the lock file is the lock itself. Byte 0 is a turnstile that every party passes before
// trying for byte 1, and holds while it tries: the system grants a shared lock whenever no
// exclusive one is held, so a stream of readers would otherwise starve a waiting writer, and a
// writer in a tight loop would take the lock again before a waiting reader's next try. Both lie
// beyond the (empty) file's end, which the system allows, so the locks never get in the way of
// anyone reading the file.
constexpr DWORD kTurnstileByte = 0;
constexpr DWORD kLockByte = 1;

// One attempt that never blocks; GetLastError says why it failed.
bool SetLock(HANDLE h, bool exclusive, DWORD byte) {
    OVERLAPPED range{};
    range.Offset = byte;
    const DWORD flags = (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0) | LOCKFILE_FAIL_IMMEDIATELY;
    return ::LockFileEx(h, flags, 0, 1, 0, &range) != 0;
}

void Unlock(HANDLE h, DWORD byte) {
    OVERLAPPED range{};
    range.Offset = byte;
    ::UnlockFileEx(h, 0, 1, 0, &range);
}

constexpr auto kFirstPause = std::chrono::microseconds(250);
constexpr auto kLongestPause = std::chrono::microseconds(4000);

// Takes the lock by trying again and again until the deadline, so that a wait that gives up
// leaves nothing behind (a blocked request on a synchronous handle cannot be called off, and one
// on a helper thread would stay blocked for as long as the holder keeps the lock). The pauses
// start short, so that a lock that is free again is taken soon, and stay short, so that a party
// waiting at the turnstile is not overtaken by one that keeps retrying.
bool LockBefore(HANDLE h, bool exclusive, DWORD byte, Clock::time_point deadline) {
    for (auto pause = kFirstPause;; pause = std::min(pause * 2, kLongestPause)) {
        if (SetLock(h, exclusive, byte)) return true;
        if (::GetLastError() != ERROR_LOCK_VIOLATION) return false;  // not a lock held by another
        const Clock::time_point now = Clock::now();
        if (now >= deadline) return false;
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
    }
}

HANDLE OpenLockFile(const std::string& lockPath, bool createIfMissing, bool& writable) {
    DWORD access = GENERIC_READ | GENERIC_WRITE;
    HANDLE h = ::CreateFileA(lockPath.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_FILE_NOT_FOUND && createIfMissing) {
        h = ::CreateFileA(lockPath.c_str(), access, kShareAll, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    writable = h != INVALID_HANDLE_VALUE;
    if (!writable) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT) {
            access = GENERIC_READ;
            h = ::CreateFileA(lockPath.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        }
    }
    return h == INVALID_HANDLE_VALUE ? nullptr : h;
}

HANDLE AsHandle(long long value) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(value)); }
long long FromHandle(HANDLE h) { return static_cast<long long>(reinterpret_cast<intptr_t>(h)); }

}  // namespace

FileLock FileLock::Acquire(const std::string& lockPath, Mode mode,
                           std::chrono::milliseconds timeout, bool createIfMissing) {
    FileLock lock;
    const Clock::time_point deadline = Clock::now() + timeout;
    bool writable = false;
    HANDLE h = OpenLockFile(lockPath, createIfMissing, writable);
    if (h == nullptr) return lock;  // Unavailable
    if (!writable && mode == Mode::Exclusive) {
        ::CloseHandle(h);  // writers lock only a lock file they could also write
        return lock;
    }
    // A reader that can only open the lock file read-only skips the turnstile.
    const bool turnstile = writable && LockBefore(h, /*exclusive=*/true, kTurnstileByte, deadline);
    const bool locked =
        (turnstile || !writable) && LockBefore(h, mode == Mode::Exclusive, kLockByte, deadline);
    if (turnstile) Unlock(h, kTurnstileByte);
    if (!locked) {
        ::CloseHandle(h);
        lock.state_ = State::TimedOut;
        return lock;
    }
    lock.state_ = State::Held;
    lock.handle_ = FromHandle(h);
    return lock;
}

FileLock::FileLock(FileLock&& other) noexcept
    : state_(std::exchange(other.state_, State::Unavailable)),
      handle_(std::exchange(other.handle_, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        Release();
        state_ = std::exchange(other.state_, State::Unavailable);
        handle_ = std::exchange(other.handle_, -1);
    }
    return *this;
}

FileLock::~FileLock() { Release(); }

void FileLock::Release() {
    if (handle_ != -1) ::CloseHandle(AsHandle(handle_));  // closing releases the lock
    handle_ = -1;
}

}  // namespace qfd
