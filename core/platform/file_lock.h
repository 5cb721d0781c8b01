#pragma once

#include <chrono>
#include <string>

namespace qfd {

// An advisory lock on a separate lock file, released by the system when the process dies.
// Waiting is bounded and leaves nothing behind: no thread, descriptor or handle outlives Acquire
// but the one a held lock keeps. What to do without the lock is the caller's decision.
class FileLock {
  public:
    enum class Mode { Shared, Exclusive };
    enum class State {
        Held,         // the lock is ours until this object is destroyed
        TimedOut,     // another process held it for the whole timeout
        Unavailable,  // the lock file could not be opened or created (for example a read-only
                      // share)
    };

    FileLock() = default;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    ~FileLock();

    // Opens (and, if allowed, creates) the lock file and takes the lock within the timeout; a
    // timeout of zero tries once and never waits.
    static FileLock Acquire(const std::string& lockPath, Mode mode,
                            std::chrono::milliseconds timeout, bool createIfMissing);

    State state() const { return state_; }
    bool held() const { return state_ == State::Held; }

  private:
    void Release();

    State state_ = State::Unavailable;
    long long handle_ = -1;  // a file descriptor or a HANDLE, depending on the platform
};

}  // namespace qfd
