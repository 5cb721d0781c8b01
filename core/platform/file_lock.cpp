#include "core/platform/file_lock.h"

#include "core/platform/native_lock.h"

#include <algorithm>
#include <thread>

namespace qfd {
namespace {

using Clock = std::chrono::steady_clock;

// Byte 1 of the lock file is the lock itself. Byte 0 is a turnstile that every party passes before
// trying for byte 1, and holds while it tries: a shared lock is granted whenever no exclusive one
// is held, so a stream of readers would otherwise starve a waiting writer, and a writer in a tight
// loop would take the lock again before a waiting reader's next try. Both lie beyond the (empty)
// file's end, so the locks never get in the way of anyone reading the file (on Windows a locked
// range cannot be read by others).
constexpr std::uint32_t kTurnstileByte = 0;
constexpr std::uint32_t kLockByte = 1;

constexpr auto kFirstPause = std::chrono::microseconds(250);
constexpr auto kLongestPause = std::chrono::microseconds(4000);

// Takes the lock by trying again and again until the deadline, so that a wait that gives up
// leaves nothing behind (no platform has a lock call that gives up after a time, and a blocking
// call on a helper thread would stay blocked for as long as the holder keeps the lock). The pauses
// start short, so that a lock that is free again is taken soon, and stay short, so that a party
// waiting at the turnstile is not overtaken by one that keeps retrying.
bool LockBefore(const NativeHandle& file, bool exclusive, std::uint32_t byte,
                Clock::time_point deadline) {
    for (auto pause = kFirstPause;; pause = std::min(pause * 2, kLongestPause)) {
        if (TryLockByte(file, exclusive, byte)) return true;
        if (!LastTryFoundLockHeld()) return false;
        const Clock::time_point now = Clock::now();
        if (now >= deadline) return false;
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
    }
}

}  // namespace

FileLock FileLock::Acquire(const std::string& lockPath, Mode mode,
                           std::chrono::milliseconds timeout, bool createIfMissing) {
    FileLock lock;
    const Clock::time_point deadline = Clock::now() + timeout;
    bool writable = false;
    NativeHandle file = OpenLockFile(lockPath, createIfMissing, writable);
    if (!file.Valid()) return lock;  // Unavailable
    // Writers lock only a lock file they could also write (an exclusive lock on a POSIX system
    // needs a descriptor open for writing).
    if (!writable && mode == Mode::Exclusive) return lock;
    // A reader that can only open the lock file read-only skips the turnstile.
    const bool turnstile = writable && LockBefore(file, true, kTurnstileByte, deadline);
    const bool locked =
        (turnstile || !writable) && LockBefore(file, mode == Mode::Exclusive, kLockByte, deadline);
    if (turnstile) UnlockByte(file, kTurnstileByte);
    if (!locked) {
        lock.refusal_ = State::TimedOut;
        return lock;
    }
    lock.handle_ = std::move(file);  // closing it releases the lock
    return lock;
}

}  // namespace qfd
