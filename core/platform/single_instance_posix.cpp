#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace qfd {

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
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
    handle_ = -1;
}

SingleInstance SingleInstance::Claim(const std::string& programFile) {
    // The lock sits on the program file itself, opened for reading: nothing is created beside
    // it, a read-only installation folder works, and a second start leaves no trace. The lock
    // belongs to this open file description, so it ends with the process.
    SingleInstance claim;
    const int fd = ::open(programFile.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return claim;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        claim.state_ = State::Ours;
        claim.handle_ = fd;
        return claim;
    }
    // EWOULDBLOCK is the answer; anything else (ENOLCK, or EBADF where a network file system
    // maps flock onto write locks) means this file system cannot tell.
    claim.state_ = errno == EWOULDBLOCK ? State::HeldByAnother : State::Unknown;
    ::close(fd);
    return claim;
}

}  // namespace qfd
