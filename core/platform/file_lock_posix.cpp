#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace qfd {
namespace {

int OpenLockFile(const std::string& lockPath, bool createIfMissing) {
    // Read-write where possible: some network file systems grant exclusive locks only then.
    const int create = createIfMissing ? O_CREAT : 0;
    int fd = ::open(lockPath.c_str(), O_RDWR | create | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0 && (errno == EACCES || errno == EROFS)) {
        fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    }
    return fd;
}

// A blocking flock() that gives up after the timeout. The kernel has no timed flock(), and polling
// with LOCK_NB starves against a writer in a tight loop, so the blocking call runs on a helper
// thread that works on its own duplicate of the descriptor. If we give up first, the helper's
// late success is undone by closing the last descriptor of the open file.
bool LockWithin(int fd, int operation, std::chrono::milliseconds timeout) {
    struct Wait {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        bool acquired = false;
        bool abandoned = false;
    };
    const int helperFd = ::dup(fd);
    if (helperFd < 0)
        return false;
    auto wait = std::make_shared<Wait>();
    std::thread([wait, helperFd, operation] {
        int rc;
        do {
            rc = ::flock(helperFd, operation);
        } while (rc != 0 && errno == EINTR);
        std::lock_guard<std::mutex> guard(wait->mutex);
        ::close(helperFd);  // the lock belongs to the open file, which the caller's fd keeps
        wait->finished = true;
        wait->acquired = rc == 0 && !wait->abandoned;
        wait->done.notify_one();
    }).detach();
    std::unique_lock<std::mutex> guard(wait->mutex);
    if (!wait->done.wait_for(guard, timeout, [&] { return wait->finished; })) {
        wait->abandoned = true;
        return false;
    }
    return wait->acquired;
}

}  // namespace

FileLock FileLock::Acquire(const std::string& lockPath, Mode mode,
                           std::chrono::milliseconds timeout, bool createIfMissing) {
    FileLock lock;
    const int fd = OpenLockFile(lockPath, createIfMissing);
    if (fd < 0)
        return lock;  // Unavailable
    const int operation = mode == Mode::Shared ? LOCK_SH : LOCK_EX;
    if (::flock(fd, operation | LOCK_NB) == 0 || LockWithin(fd, operation, timeout)) {
        lock.state_ = State::Held;
        lock.handle_ = fd;
        return lock;
    }
    // Closing drops a lock the helper thread may still obtain after we gave up.
    ::close(fd);
    lock.state_ = State::TimedOut;
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

FileLock::~FileLock() {
    Release();
}

void FileLock::Release() {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));  // closing releases the flock
    handle_ = -1;
}

}  // namespace qfd
