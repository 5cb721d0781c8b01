#include "platform/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <utility>

namespace qfd {
namespace {

constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t kPermissionBits = 07777;

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(Descriptor&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports whether the close succeeded (a late write error shows up here).
    bool Close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

FileStatus StatusFromErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return FileStatus::Missing;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY:
            return FileStatus::AccessDenied;
        case ENAMETOOLONG:
            return FileStatus::NameTooLong;
        case ENOSPC:
        case EDQUOT:
            return FileStatus::NoSpace;
        default:
            return FileStatus::Failed;
    }
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool WriteAllAt(int fd, std::string_view bytes) {
    off_t offset = 0;
    while (!bytes.empty()) {
        ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
        offset += n;
    }
    return true;
}

bool DirectoryOf(const std::string& path, struct stat& st) {
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (parent.empty()) parent = ".";
    return ::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The rename is only used where it changes nothing but the contents.
bool ReplaceableByRename(const std::string& path, bool& exists, struct stat& st) {
    struct stat lst {};
    exists = ::lstat(path.c_str(), &lst) == 0;
    if (!exists) return true;
    if (S_ISLNK(lst.st_mode)) return false;
    st = lst;
    return S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & S_IWUSR) != 0 &&
           st.st_nlink == 1;
}

// Gives the new file the old one's mode and group (the umask and the folder may have given it
// others); false when that is not possible, so the rename would change more than the contents.
bool MatchOwnershipAndMode(int fd, const struct stat& old) {
    struct stat now {};
    if (::fstat(fd, &now) != 0) return false;
    const mode_t mode = old.st_mode & kPermissionBits;
    if ((now.st_mode & kPermissionBits) != mode && ::fchmod(fd, mode) != 0) return false;
    return now.st_gid == old.st_gid || ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
}

enum class RenameOutcome { Done, NotPossible, Failed };

RenameOutcome WriteBesideAndRename(const std::string& path, std::string_view bytes, bool exclusive,
                                   bool exists, const struct stat& st, FileStatus& failure) {
    // Without the lock another writer may be using the shared temporary name: take one of our
    // own, so the file is still replaced whole rather than rewritten in place.
    const std::string temporary = exclusive
                                      ? TemporaryPathFor(path)
                                      : TemporaryPathFor(path) + "." + std::to_string(::getpid());
    const mode_t mode = exists ? (st.st_mode & kPermissionBits) : 0666;
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
    Descriptor fd(::open(temporary.c_str(), flags, mode));
    // Under the lock a leftover from a crashed writer is ours to clear.
    if (!fd.valid() && errno == EEXIST && exclusive && ::unlink(temporary.c_str()) == 0) {
        fd = Descriptor(::open(temporary.c_str(), flags, mode));
    }
    if (!fd.valid()) {
        failure = StatusFromErrno(errno);
        return RenameOutcome::NotPossible;
    }
    if (exists && !MatchOwnershipAndMode(fd.get(), st)) {
        ::unlink(temporary.c_str());
        return RenameOutcome::NotPossible;
    }
    if (!WriteAll(fd.get(), bytes) || !fd.Close()) {
        failure = StatusFromErrno(errno);
        ::unlink(temporary.c_str());
        return RenameOutcome::Failed;
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        failure = StatusFromErrno(errno);
        ::unlink(temporary.c_str());
        return RenameOutcome::NotPossible;
    }
    return RenameOutcome::Done;
}

// Puts the whole new contents into the redo file (written beside it, then renamed, so that a redo
// file is always complete). False where the folder takes no new file: the rewrite goes
// unjournalled.
bool WriteRedoFile(const std::string& path, std::string_view bytes, const struct stat& st) {
    const std::string temporary = TemporaryPathFor(path);
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
    const mode_t mode = st.st_mode & (S_IRWXU | S_IRWXG | S_IRWXO);
    Descriptor fd(::open(temporary.c_str(), flags, mode));
    // Only called under the lock, so a leftover from a crashed writer is ours to clear.
    if (!fd.valid() && errno == EEXIST && ::unlink(temporary.c_str()) == 0) {
        fd = Descriptor(::open(temporary.c_str(), flags, mode));
    }
    if (!fd.valid()) return false;
    if (!WriteAll(fd.get(), bytes) || !fd.Close() ||
        ::rename(temporary.c_str(), RedoPathFor(path).c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

FileStatus RewriteInPlace(const std::string& path, std::string_view bytes,
                          std::string_view previous, bool exclusive) {
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) return StatusFromErrno(errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return FileStatus::Failed;
    if (!S_ISREG(st.st_mode)) return FileStatus::NotRegular;
    // A writer killed during the rewrite leaves a mixture of old and new bytes behind; the redo
    // file, complete before the first byte is overwritten, stands in for the file until then.
    // Without the lock another writer may be journalling the same file, so none is written.
    if (exclusive) WriteRedoFile(path, MakeRedoRecord(previous, bytes), st);
    // New contents over the old, then the end cut: never an empty file, as truncating first would
    // leave behind a writer killed in between.
    if (!WriteAllAt(fd.get(), bytes) ||
        ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0 || !fd.Close()) {
        // The redo file stays: the file may be half-written, and the next writer finishes it.
        return StatusFromErrno(errno);
    }
    return FileStatus::Ok;
}

}  // namespace

std::string TemporaryPathFor(const std::string& path) { return path + ".tmp"; }

FileSnapshot ReadWholeFile(const std::string& path, std::size_t maxBytes) {
    FileSnapshot snap;
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) {
        snap.status =
            (errno == ENOENT || errno == ENOTDIR) ? FileStatus::Missing : StatusFromErrno(errno);
        return snap;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        snap.status = FileStatus::Failed;
        return snap;
    }
    if (!S_ISREG(st.st_mode)) {
        snap.status = FileStatus::NotRegular;
        return snap;
    }
    if (static_cast<std::size_t>(st.st_size) > maxBytes) {
        snap.status = FileStatus::TooLarge;
        return snap;
    }
    // Read one byte more than the size says, to notice a file that grew meanwhile.
    snap.bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t have = 0;
    for (;;) {
        if (have == snap.bytes.size()) {
            if (have > maxBytes) {
                snap.bytes.clear();
                snap.status = FileStatus::TooLarge;
                return snap;
            }
            snap.bytes.resize(have * 2 < maxBytes + 1 ? have * 2 : maxBytes + 1);
        }
        ssize_t n = ::read(fd.get(), snap.bytes.data() + have, snap.bytes.size() - have);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            snap.bytes.clear();
            snap.status = FileStatus::Failed;
            return snap;
        }
        if (n == 0) break;
        have += static_cast<std::size_t>(n);
        // A regular file returns less than asked for only at its end: no need to ask again.
        if (have < snap.bytes.size()) break;
    }
    snap.bytes.resize(have);
    snap.status = FileStatus::Ok;
    return snap;
}

FileStatus CheckWriteTarget(const std::string& path, std::size_t maxBytes) {
    if (path.empty()) return FileStatus::AccessDenied;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return FileStatus::AccessDenied;
        if (!S_ISREG(st.st_mode)) return FileStatus::NotRegular;
        if ((st.st_mode & kAnyWriteBit) == 0 || ::access(path.c_str(), W_OK) != 0) {
            return FileStatus::AccessDenied;
        }
        if (static_cast<std::size_t>(st.st_size) > maxBytes) return FileStatus::TooLarge;
        return FileStatus::Ok;
    }
    if (errno != ENOENT) return StatusFromErrno(errno);
    struct stat dir {};
    return DirectoryOf(path, dir) ? FileStatus::Ok : FileStatus::Missing;
}

FileStatus RemoveRedoFile(const std::string& path) {
    if (::unlink(RedoPathFor(path).c_str()) == 0 || errno == ENOENT) return FileStatus::Ok;
    return StatusFromErrno(errno);
}

FileStatus ReplaceWholeFile(const std::string& path, std::string_view bytes,
                            std::string_view previous, WriteGuard guard) {
    const bool exclusive = guard == WriteGuard::Locked;
    bool exists = false;
    struct stat st {};
    FileStatus status = FileStatus::Failed;
    bool replaced = false;
    if (ReplaceableByRename(path, exists, st)) {
        switch (WriteBesideAndRename(path, bytes, exclusive, exists, st, status)) {
            case RenameOutcome::Done:
                status = FileStatus::Ok;
                replaced = true;
                break;
            case RenameOutcome::Failed:
                return status;
            case RenameOutcome::NotPossible:
                if (!exists) return status;
                break;
        }
    }
    if (!replaced && guard == WriteGuard::LockMissed) return FileStatus::Busy;
    if (!replaced) status = RewriteInPlace(path, bytes, previous, exclusive);
    // These contents supersede whatever an interrupted rewrite had meant to write.
    if (status == FileStatus::Ok) RemoveRedoFile(path);
    return status;
}

}  // namespace qfd
