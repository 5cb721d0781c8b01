#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace qfd {
namespace {

using Clock = std::chrono::steady_clock;

// Locks on open file descriptions (not on processes), so that two threads of one program do not
// release each other's locks, and the system drops them when the process dies.
#ifdef F_OFD_SETLK
constexpr int kSetLock = F_OFD_SETLK;
constexpr int kSetLockWait = F_OFD_SETLKW;
#else
constexpr int kSetLock = F_SETLK;
constexpr int kSetLockWait = F_SETLKW;
#endif

// Byte 1 of the lock file is the lock itself. Byte 0 is a turnstile that every party passes before
// queueing for byte 1: a writer in a tight loop that would otherwise take the lock again before a
// woken reader runs must wait at the turnstile behind that reader.
constexpr off_t kTurnstileByte = 0;
constexpr off_t kLockByte = 1;

bool SetLock(int fd, short type, off_t byte, bool wait) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = byte;
    range.l_len = 1;
    int rc;
    do {
        rc = ::fcntl(fd, wait ? kSetLockWait : kSetLock, &range);
    } while (rc != 0 && errno == EINTR);
    return rc == 0;
}

// A blocking lock that gives up at the deadline. There is no timed lock call, and polling starves
// against a writer in a tight loop, so the blocking call runs on a helper thread that works on its
// own duplicate of the descriptor. If we give up first, the helper's late success is undone by
// closing the last descriptor of the open file.
bool LockBefore(int fd, short type, off_t byte, Clock::time_point deadline) {
    if (SetLock(fd, type, byte, /*wait=*/false)) return true;
    struct Wait {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        bool acquired = false;
    };
    const int helperFd = ::dup(fd);
    if (helperFd < 0) return false;
    auto wait = std::make_shared<Wait>();
    std::thread([wait, helperFd, type, byte] {
        const bool acquired = SetLock(helperFd, type, byte, /*wait=*/true);
        std::lock_guard<std::mutex> guard(wait->mutex);
        ::close(helperFd);  // the lock belongs to the open file, which the caller's fd keeps
        wait->finished = true;
        wait->acquired = acquired;
        wait->done.notify_one();
    }).detach();
    std::unique_lock<std::mutex> guard(wait->mutex);
    return wait->done.wait_until(guard, deadline, [&] { return wait->finished; }) && wait->acquired;
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
    if (turnstile) SetLock(fd, F_UNLCK, kTurnstileByte, /*wait=*/false);
    if (!locked) {
        ::close(fd);  // also drops a lock that a helper thread may still obtain
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
