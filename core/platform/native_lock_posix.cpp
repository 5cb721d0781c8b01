#include "core/platform/native_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace qfd {
namespace {

// Locks on open file descriptions (not on processes), so that two threads of one program do not
// release each other's locks, and the system drops them when the process dies.
#ifdef F_OFD_SETLK
constexpr int kSetLock = F_OFD_SETLK;
#else
constexpr int kSetLock = F_SETLK;
#endif

// errno says why it failed.
bool SetLock(const NativeHandle& file, short type, std::uint32_t byte) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = static_cast<off_t>(byte);
    range.l_len = 1;
    int rc;
    do {
        rc = ::fcntl(file.Get(), kSetLock, &range);
    } while (rc != 0 && errno == EINTR);
    return rc == 0;
}

}  // namespace

NativeHandle OpenLockFile(const std::string& lockPath, bool createIfMissing, bool& writable) {
    constexpr int kFlags = O_CLOEXEC | O_NONBLOCK;
    NativeHandle file(::open(lockPath.c_str(), O_RDWR | kFlags));
    if (!file.Valid() && errno == ENOENT && createIfMissing) {
        file = NativeHandle(::open(lockPath.c_str(), O_RDWR | O_CREAT | kFlags, 0666));
        // Every user who may write the settings file must be able to lock it too, whatever the
        // umask of the first one to write it.
        if (file.Valid()) ::fchmod(file.Get(), 0666);
    }
    writable = file.Valid();
    if (!writable && (errno == EACCES || errno == EROFS)) {
        file = NativeHandle(::open(lockPath.c_str(), O_RDONLY | kFlags));
    }
    return file;
}

bool TryLockByte(const NativeHandle& file, bool exclusive, std::uint32_t byte) {
    return SetLock(file, exclusive ? F_WRLCK : F_RDLCK, byte);
}

bool LastTryFoundLockHeld() { return errno == EAGAIN || errno == EACCES; }

void UnlockByte(const NativeHandle& file, std::uint32_t byte) { SetLock(file, F_UNLCK, byte); }

}  // namespace qfd
