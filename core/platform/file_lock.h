#pragma once

#include "core/platform/native_handle.h"

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

    // Opens (and, if allowed, creates) the lock file and takes the lock within the timeout; a
    // timeout of zero tries once and never waits.
    static FileLock Acquire(const std::string& lockPath, Mode mode,
                            std::chrono::milliseconds timeout, bool createIfMissing);

    State CurrentState() const { return Held() ? State::Held : refusal_; }
    bool Held() const { return handle_.Valid(); }

  private:
    State refusal_ = State::Unavailable;  // why there is no lock while there is none
    NativeHandle handle_;                 // the open lock file that holds the lock
};

}  // namespace qfd
