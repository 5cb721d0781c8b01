#include "core/platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace qfd {

SingleInstance SingleInstance::Claim(const std::string& programFile) {
    // The lock sits on the program file itself, opened for reading: nothing is created beside
    // it, a read-only installation folder works, and a second start leaves no trace. The lock
    // belongs to this open file description, so it ends with the process.
    SingleInstance claim;
    NativeHandle file(::open(programFile.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.Valid()) return claim;
    int rc;
    do {
        rc = ::flock(file.Get(), LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        claim.handle_ = std::move(file);
        return claim;
    }
    // EWOULDBLOCK is the answer; anything else (ENOLCK, or EBADF where a network file system
    // maps flock onto write locks) means this file system cannot tell.
    claim.refusal_ = errno == EWOULDBLOCK ? State::HeldByAnother : State::Unknown;
    return claim;
}

}  // namespace qfd
