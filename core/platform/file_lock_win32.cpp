#include "platform/file_lock.h"

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace qfd {
namespace {

using Clock = std::chrono::steady_clock;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Byte 1 of the lock file is the lock itself. Byte 0 is a turnstile that every party passes before
// queueing for byte 1: the system grants a shared lock whenever no exclusive one is held, so a
// stream of readers would otherwise starve a waiting writer, and a writer in a tight loop would
// take the lock again before a woken reader runs. Both lie beyond the (empty) file's end, which
// the system allows, so the locks never get in the way of anyone reading the file.
constexpr DWORD kTurnstileByte = 0;
constexpr DWORD kLockByte = 1;

// Byte-range locks belong to the open file, so every handle here is one open of its own.
bool SetLock(HANDLE h, bool exclusive, DWORD byte, bool wait) {
    OVERLAPPED range{};
    range.Offset = byte;
    const DWORD flags =
        (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0) | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    return ::LockFileEx(h, flags, 0, 1, 0, &range) != 0;
}

void Unlock(HANDLE h, DWORD byte) {
    OVERLAPPED range{};
    range.Offset = byte;
    ::UnlockFileEx(h, 0, 1, 0, &range);
}

// Another open of the same file: the very same one even if it was renamed meanwhile, where the
// system can reopen a handle, else the file that the name now denotes.
HANDLE OpenAgain(HANDLE h, const std::string& lockPath, DWORD access) {
    HANDLE again = ::ReOpenFile(h, access, kShareAll, 0);
    if (again == INVALID_HANDLE_VALUE) {
        again = ::CreateFileA(lockPath.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    return again == INVALID_HANDLE_VALUE ? nullptr : again;
}

// A blocking lock that gives up at the deadline. Waiting with an overlapped request is not
// reliable everywhere the program runs, and polling starves against a writer in a tight loop, so
// the blocking call runs on a helper thread with an open of its own: a blocked request on a
// synchronous handle would hold up every other request on that same open, our unlocks included.
// Returns the handle whose open holds the lock (h itself or the helper's), or nullptr. If we give
// up first, the helper undoes its late success by closing its open.
HANDLE LockBefore(HANDLE h, const std::string& lockPath, DWORD access, bool exclusive, DWORD byte,
                  Clock::time_point deadline) {
    if (SetLock(h, exclusive, byte, /*wait=*/false)) return h;
    if (::GetLastError() != ERROR_LOCK_VIOLATION || Clock::now() >= deadline) return nullptr;
    struct Wait {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        bool abandoned = false;
        HANDLE holder = nullptr;
    };
    HANDLE helperHandle = OpenAgain(h, lockPath, access);
    if (helperHandle == nullptr) return nullptr;
    auto wait = std::make_shared<Wait>();
    try {
        std::thread([wait, helperHandle, exclusive, byte] {
            const bool acquired = SetLock(helperHandle, exclusive, byte, /*wait=*/true);
            std::lock_guard<std::mutex> guard(wait->mutex);
            if (acquired && !wait->abandoned) {
                wait->holder = helperHandle;
            } else {
                ::CloseHandle(helperHandle);
            }
            wait->finished = true;
            wait->done.notify_one();
        }).detach();
    } catch (const std::system_error&) {
        ::CloseHandle(helperHandle);
        return nullptr;
    }
    std::unique_lock<std::mutex> guard(wait->mutex);
    if (!wait->done.wait_until(guard, deadline, [&] { return wait->finished; })) {
        wait->abandoned = true;
        return nullptr;
    }
    return wait->holder;
}

HANDLE OpenLockFile(const std::string& lockPath, bool createIfMissing, bool& writable,
                    DWORD& access) {
    access = GENERIC_READ | GENERIC_WRITE;
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
    DWORD access = 0;
    HANDLE h = OpenLockFile(lockPath, createIfMissing, writable, access);
    if (h == nullptr) return lock;  // Unavailable
    if (!writable && mode == Mode::Exclusive) {
        ::CloseHandle(h);  // writers lock only a lock file they could also write
        return lock;
    }
    // A reader that can only open the lock file read-only skips the turnstile.
    HANDLE turnstile =
        writable ? LockBefore(h, lockPath, access, /*exclusive=*/true, kTurnstileByte, deadline)
                 : nullptr;
    HANDLE holder =
        turnstile != nullptr || !writable
            ? LockBefore(h, lockPath, access, mode == Mode::Exclusive, kLockByte, deadline)
            : nullptr;
    if (turnstile != nullptr) {
        Unlock(turnstile, kTurnstileByte);
        if (turnstile != h && turnstile != holder) ::CloseHandle(turnstile);
    }
    if (holder != h) ::CloseHandle(h);  // also drops a turnstile lock taken on it
    if (holder == nullptr) {
        lock.state_ = State::TimedOut;
        return lock;
    }
    lock.state_ = State::Held;
    lock.handle_ = FromHandle(holder);
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
