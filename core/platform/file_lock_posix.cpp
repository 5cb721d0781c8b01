#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

namespace qfd {
namespace {

using Clock = std::chrono::steady_clock;

// Locks on open file descriptions (not on processes), so that two threads of one program do not
// release each other's locks, and the system drops them when the process dies.
#ifdef F_OFD_SETLK
constexpr int kSetLock = F_OFD_SETLK;
#else
constexpr int kSetLock = F_SETLK;
#endif

// Byte 1 of the lock file is the lock itself. Byte 0 is a turnstile that every party passes before
// trying for byte 1, and holds while it tries: a writer in a tight loop that would otherwise take
// the lock again before a waiting reader's next try must wait at the turnstile behind that reader.
constexpr off_t kTurnstileByte = 0;
constexpr off_t kLockByte = 1;

constexpr auto kFirstPause = std::chrono::microseconds(250);
constexpr auto kLongestPause = std::chrono::microseconds(4000);

// One attempt that never blocks; errno says why it failed.
bool SetLock(int fd, short type, off_t byte) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = byte;
    range.l_len = 1;
    int rc;
    do {
        rc = ::fcntl(fd, kSetLock, &range);
    } while (rc != 0 && errno == EINTR);
    return rc == 0;
}

// Takes the lock by trying again and again until the deadline, so that a wait that gives up
// leaves nothing behind (there is no timed lock call, and a blocking call on a helper thread
// would stay blocked for as long as the holder keeps the lock). The pauses start short, so that a
// lock that is free again is taken soon, and stay short, so that a party waiting at the turnstile
// is not overtaken by one that keeps retrying.
bool LockBefore(int fd, short type, off_t byte, Clock::time_point deadline) {
    for (auto pause = kFirstPause;; pause = std::min(pause * 2, kLongestPause)) {
        if (SetLock(fd, type, byte)) return true;
        if (errno != EAGAIN && errno != EACCES) return false;  // not a lock held by another
        const Clock::time_point now = Clock::now();
        if (now >= deadline) return false;
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
    }
}

int OpenLockFile(const std::string& lockPath, bool createIfMissing, bool& writable) {
    constexpr int kFlags = O_CLOEXEC | O_NONBLOCK;
    int fd = ::open(lockPath.c_str(), O_RDWR | kFlags);
    if (fd < 0 && errno == ENOENT && createIfMissing) {
        fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | kFlags, 0666);
        // Every user who may write the settings file must be able to lock it too, whatever the
        // umask of the first one to write it.
        if (fd >= 0) ::fchmod(fd, 0666);
    }
    writable = fd >= 0;
    if (fd < 0 && (errno == EACCES || errno == EROFS)) {
        fd = ::open(lockPath.c_str(), O_RDONLY | kFlags);
    }
    return fd;
}

}  // namespace

FileLock FileLock::Acquire(const std::string& lockPath, Mode mode,
                           std::chrono::milliseconds timeout, bool createIfMissing) {
    FileLock lock;
    const Clock::time_point deadline = Clock::now() + timeout;
    bool writable = false;
    const int fd = OpenLockFile(lockPath, createIfMissing, writable);
    if (fd < 0) return lock;  // Unavailable
    if (!writable && mode == Mode::Exclusive) {
        ::close(fd);  // an exclusive lock needs a descriptor open for writing
        return lock;
    }
    // A reader that can only open the lock file read-only skips the turnstile.
    const bool turnstile = writable && LockBefore(fd, F_WRLCK, kTurnstileByte, deadline);
    const short type = mode == Mode::Shared ? F_RDLCK : F_WRLCK;
    const bool locked = (turnstile || !writable) && LockBefore(fd, type, kLockByte, deadline);
    if (turnstile) SetLock(fd, F_UNLCK, kTurnstileByte);
    if (!locked) {
        ::close(fd);
        lock.state_ = State::TimedOut;
        return lock;
    }
    lock.state_ = State::Held;
    lock.handle_ = fd;
    return lock;
}

FileLock::FileLock(FileLock&& other) noexcept : state_(other.state_), handle_(other.handle_) {
    other.state_ = State::Unavailable;
    other.handle_ = -1;
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        Release();
        state_ = other.state_;
        handle_ = other.handle_;
        other.state_ = State::Unavailable;
        other.handle_ = -1;
    }
    return *this;
}

FileLock::~FileLock() { Release(); }

void FileLock::Release() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));  // closing releases the lock
    handle_ = -1;
}

}  // namespace qfd
