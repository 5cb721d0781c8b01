#include "core/platform/native_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace qfd {
namespace {

constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t kPermissionBits = 07777;
constexpr int kCreateNew = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;

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

}  // namespace

struct FileIdentity {
    mode_t mode;
    gid_t group;
};

void FileIdentityDeleter::operator()(FileIdentity* identity) const { delete identity; }

FileStatus LastFailure() { return StatusFromErrno(errno); }
bool LastFailureWasNoFile() { return errno == ENOENT; }
bool LastFailureWasExisting() { return errno == EEXIST; }

FileStatus OpenRegularFile(const std::string& path, OpenFor purpose, NativeHandle& file) {
    const int access = purpose == OpenFor::Reading ? O_RDONLY : O_WRONLY;
    file = NativeHandle(::open(path.c_str(), access | O_NONBLOCK | O_CLOEXEC));
    if (!file.Valid()) return LastFailure();
    struct stat st {};
    if (::fstat(file.Get(), &st) != 0) return FileStatus::Failed;
    return S_ISREG(st.st_mode) ? FileStatus::Ok : FileStatus::NotRegular;
}

std::optional<std::uint64_t> SizeOf(const NativeHandle& file) {
    struct stat st {};
    if (::fstat(file.Get(), &st) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

std::optional<std::size_t> ReadSome(const NativeHandle& file, char* into, std::size_t size) {
    ssize_t n;
    do {
        n = ::read(file.Get(), into, size);
    } while (n < 0 && errno == EINTR);
    if (n < 0) return std::nullopt;
    return static_cast<std::size_t>(n);
}

std::optional<std::size_t> WriteSome(const NativeHandle& file, std::string_view bytes) {
    ssize_t n;
    do {
        n = ::write(file.Get(), bytes.data(), bytes.size());
    } while (n < 0 && errno == EINTR);
    if (n < 0) return std::nullopt;
    return static_cast<std::size_t>(n);
}

bool Truncate(const NativeHandle& file, std::uint64_t size) {
    return ::ftruncate(file.Get(), static_cast<off_t>(size)) == 0;
}

bool RenameOver(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

long long ProcessId() { return ::getpid(); }

WriteTarget ProbeWriteTarget(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return {errno == ENOENT ? FileStatus::Ok : LastFailure(), false, 0};
    }
    if (S_ISDIR(st.st_mode)) return {FileStatus::AccessDenied, true, 0};
    if (!S_ISREG(st.st_mode)) return {FileStatus::NotRegular, true, 0};
    if ((st.st_mode & kAnyWriteBit) == 0 || ::access(path.c_str(), W_OK) != 0) {
        return {FileStatus::AccessDenied, true, 0};
    }
    return {FileStatus::Ok, true, static_cast<std::uint64_t>(st.st_size)};
}

std::string FolderOf(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

bool FolderOfExists(const std::string& path) {
    struct stat st {};
    return ::stat(FolderOf(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Only a regular file (not a link) of this user's with one name: a rename over anything else would
// change more than the contents.
RenameTarget InspectRenameTarget(const std::string& path) {
    RenameTarget target;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        target.replaceable = true;
        return target;
    }
    target.identity.reset(new FileIdentity{st.st_mode & kPermissionBits, st.st_gid});
    target.replaceable = S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
                         (st.st_mode & S_IWUSR) != 0 && st.st_nlink == 1;
    return target;
}

NativeHandle CreateReplacement(const std::string& path, const FileIdentity* old) {
    return NativeHandle(::open(path.c_str(), kCreateNew, old != nullptr ? old->mode : 0666));
}

// The umask and the folder may have given the new file another mode and group.
bool TakeOverIdentity(const NativeHandle& file, const FileIdentity& old) {
    struct stat now {};
    if (::fstat(file.Get(), &now) != 0) return false;
    if ((now.st_mode & kPermissionBits) != old.mode && ::fchmod(file.Get(), old.mode) != 0) {
        return false;
    }
    return now.st_gid == old.group || ::fchown(file.Get(), static_cast<uid_t>(-1), old.group) == 0;
}

bool TakeOverAttributes(const std::string&, const FileIdentity&) { return true; }

NativeHandle CreateJournal(const std::string& path, const NativeHandle& journalled) {
    struct stat st {};
    if (::fstat(journalled.Get(), &st) != 0) return NativeHandle();
    const mode_t mode = st.st_mode & (S_IRWXU | S_IRWXG | S_IRWXO);
    return NativeHandle(::open(path.c_str(), kCreateNew, mode));
}

}  // namespace qfd
