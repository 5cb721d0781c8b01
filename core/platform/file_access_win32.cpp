#include "platform/file_access.h"

// clang-format off
#include <windows.h>
#include <aclapi.h>
// clang-format on

#include <utility>
#include <vector>

namespace qfd {
namespace {

// Everyone else may go on reading, writing, renaming and deleting while we hold the file open:
// the platform's own profile functions and other installations must never find it locked by us.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Not named by every toolchain's headers.
constexpr DWORD kErrorDiskQuotaExceeded = 1295;

// A file that another program holds open without sharing is usually free again within moments.
constexpr int kSharingRetries = 20;
constexpr DWORD kSharingRetryMs = 5;

class Handle {
  public:
    explicit Handle(HANDLE h) : h_(h) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle& operator=(Handle&& other) noexcept {
        std::swap(h_, other.h_);
        return *this;
    }
    ~Handle() {
        if (valid()) ::CloseHandle(h_);
    }
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    // Closes now and reports whether the close succeeded (a late write error shows up here).
    bool Close() {
        HANDLE h = std::exchange(h_, INVALID_HANDLE_VALUE);
        return ::CloseHandle(h) != 0;
    }

  private:
    HANDLE h_;
};

FileStatus StatusFromError(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_INVALID_NAME:
        case ERROR_DIRECTORY:
            return FileStatus::Missing;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
        case ERROR_NETWORK_ACCESS_DENIED:
        case ERROR_PRIVILEGE_NOT_HELD:
        case ERROR_DELETE_PENDING:
            return FileStatus::AccessDenied;
        case ERROR_PIPE_BUSY:  // only a pipe answers so
            return FileStatus::NotRegular;
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_BUFFER_OVERFLOW:
            return FileStatus::NameTooLong;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return FileStatus::NoSpace;
        case kErrorDiskQuotaExceeded:
            return FileStatus::NoSpace;
        default:
            return FileStatus::Failed;
    }
}

HANDLE Open(const std::string& path, DWORD access, DWORD disposition, DWORD flags) {
    for (int attempt = 0;; ++attempt) {
        HANDLE h =
            ::CreateFileA(path.c_str(), access, kShareAll, nullptr, disposition, flags, nullptr);
        if (h != INVALID_HANDLE_VALUE || attempt == kSharingRetries) return h;
        if (::GetLastError() != ERROR_SHARING_VIOLATION) return h;
        ::Sleep(kSharingRetryMs);
    }
}

bool IsDirectory(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The folder that holds path, as bytes: std::filesystem would convert through another code page.
std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) {
        // "C:qfd.ini" lives in drive C's current folder.
        return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) + "." : ".";
    }
    // With its separator: a share's root (\\server\share\) is a folder only when spelled so.
    return path.substr(0, slash + 1);
}

bool WriteAll(HANDLE h, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk =
            bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(h, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// The security identifier that owns the file, or nothing when the platform cannot tell.
std::vector<unsigned char> OwnerOf(HANDLE file) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    std::vector<unsigned char> sid;
    if (::GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                          nullptr, nullptr, &descriptor) == ERROR_SUCCESS &&
        owner != nullptr && ::IsValidSid(owner)) {
        const auto* bytes = static_cast<const unsigned char*>(owner);
        sid.assign(bytes, bytes + ::GetLengthSid(owner));
    }
    if (descriptor != nullptr) ::LocalFree(descriptor);
    return sid;
}

std::vector<unsigned char> ProcessUser() {
    HANDLE token = nullptr;
    std::vector<unsigned char> sid;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return sid;
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    if (size != 0 && ::GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
        PSID user = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
        const auto* bytes = static_cast<const unsigned char*>(user);
        sid.assign(bytes, bytes + ::GetLengthSid(user));
    }
    ::CloseHandle(token);
    return sid;
}

// What the new file must take over from the old one so that the swap changes nothing but the
// contents.
struct Identity {
    DWORD attributes = 0;
    FILETIME created{};
    PSECURITY_DESCRIPTOR descriptor = nullptr;  // set only for an access list of the file's own
    PACL dacl = nullptr;
    Identity() = default;
    Identity(const Identity&) = delete;
    Identity& operator=(const Identity&) = delete;
    ~Identity() {
        if (descriptor != nullptr) ::LocalFree(descriptor);
    }
};

// The swap is only used where it changes nothing but the contents: a plain file (no link, no
// reparse point, no other name), writable, and owned by this user, since the new file would
// otherwise change hands.
bool ReplaceableBySwap(const std::string& path, bool& exists, Identity& identity) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return false;
    }
    Handle h(Open(path, READ_CONTROL | FILE_READ_ATTRIBUTES, OPEN_EXISTING,
                  FILE_FLAG_OPEN_REPARSE_POINT));
    if (!h.valid() || ::GetFileType(h.get()) != FILE_TYPE_DISK) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h.get(), &info) || info.nNumberOfLinks != 1) return false;
    identity.attributes = info.dwFileAttributes;
    identity.created = info.ftCreationTime;
    const std::vector<unsigned char> owner = OwnerOf(h.get());
    if (owner.empty() || owner != ProcessUser()) return false;
    // A new file in the folder inherits the folder's access list; only one that the old file does
    // not inherit has to be copied.
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    PACL dacl = nullptr;
    if (::GetSecurityInfo(h.get(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                          &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (::GetSecurityDescriptorControl(descriptor, &control, &revision) &&
        (control & SE_DACL_PROTECTED) != 0) {
        identity.descriptor = descriptor;
        identity.dacl = dacl;
    } else {
        ::LocalFree(descriptor);
    }
    return true;
}

enum class SwapOutcome { Done, NotPossible, Failed };

// The new contents are written beside the file and renamed over it: readers see the old file or
// the new one, never none (a replace that removes the old file first would show them none).
SwapOutcome WriteBesideAndSwap(const std::string& path, std::string_view bytes, bool exclusive,
                               bool exists, const Identity& identity, FileStatus& failure) {
    // Without the lock (it timed out) another writer may be using the shared temporary name:
    // take one of our own, so the file is still replaced whole rather than rewritten in place.
    const std::string temporary =
        exclusive ? TemporaryPathFor(path)
                  : TemporaryPathFor(path) + "." + std::to_string(::GetCurrentProcessId());
    constexpr DWORD kAccess = GENERIC_WRITE | WRITE_DAC;
    Handle h(::CreateFileA(temporary.c_str(), kAccess, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    // Under the lock a leftover from a crashed writer is ours to clear.
    if (!h.valid() && ::GetLastError() == ERROR_FILE_EXISTS && exclusive &&
        ::DeleteFileA(temporary.c_str())) {
        h = Handle(::CreateFileA(temporary.c_str(), kAccess, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    if (!h.valid()) {
        failure = StatusFromError(::GetLastError());
        return SwapOutcome::NotPossible;
    }
    if (exists) {
        const bool copied =
            ::SetFileTime(h.get(), &identity.created, nullptr, nullptr) &&
            (identity.descriptor == nullptr ||
             ::SetSecurityInfo(h.get(), SE_FILE_OBJECT,
                               DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                               nullptr, nullptr, identity.dacl, nullptr) == ERROR_SUCCESS);
        if (!copied) {
            h.Close();
            ::DeleteFileA(temporary.c_str());
            return SwapOutcome::NotPossible;
        }
    }
    if (!WriteAll(h.get(), bytes) || !h.Close()) {
        failure = StatusFromError(::GetLastError());
        ::DeleteFileA(temporary.c_str());
        return SwapOutcome::Failed;
    }
    constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (exists && (identity.attributes & kKeptAttributes) != 0 &&
        !::SetFileAttributesA(temporary.c_str(), identity.attributes & kKeptAttributes)) {
        ::DeleteFileA(temporary.c_str());
        return SwapOutcome::NotPossible;
    }
    if (!::MoveFileExA(temporary.c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        failure = StatusFromError(::GetLastError());
        ::DeleteFileA(temporary.c_str());
        return SwapOutcome::NotPossible;
    }
    return SwapOutcome::Done;
}

// Puts the redo record into the redo file (written beside it, then renamed, so that a redo file is
// always complete). False where the folder takes no new file: the rewrite goes
// unjournalled.
bool WriteRedoFile(const std::string& path, std::string_view bytes) {
    const std::string temporary = TemporaryPathFor(path);
    Handle h(::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    // Only called under the lock, so a leftover from a crashed writer is ours to clear.
    if (!h.valid() && ::GetLastError() == ERROR_FILE_EXISTS && ::DeleteFileA(temporary.c_str())) {
        h = Handle(::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    if (!h.valid()) return false;
    if (!WriteAll(h.get(), bytes) || !h.Close() ||
        !::MoveFileExA(temporary.c_str(), RedoPathFor(path).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}

FileStatus RewriteInPlace(const std::string& path, std::string_view bytes,
                          std::string_view previous, bool exclusive) {
    Handle h(Open(path, GENERIC_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    if (!h.valid()) {
        const DWORD error = ::GetLastError();
        return error == ERROR_ACCESS_DENIED && IsDirectory(path) ? FileStatus::AccessDenied
                                                                 : StatusFromError(error);
    }
    if (::GetFileType(h.get()) != FILE_TYPE_DISK) return FileStatus::NotRegular;
    // A writer killed during the rewrite leaves a mixture of old and new bytes behind; the redo
    // file, complete before the first byte is overwritten, stands in for the file until then.
    // Without the lock another writer may be journalling the same file, so none is written.
    if (exclusive) WriteRedoFile(path, MakeRedoRecord(previous, bytes));
    // New contents over the old, then the end cut: never an empty file, as truncating first would
    // leave behind a writer killed in between.
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(bytes.size());
    if (!WriteAll(h.get(), bytes) || !::SetFilePointerEx(h.get(), end, nullptr, FILE_BEGIN) ||
        !::SetEndOfFile(h.get()) || !h.Close()) {
        // The redo file stays: the file may be half-written, and the next writer finishes it.
        return StatusFromError(::GetLastError());
    }
    return FileStatus::Ok;
}

}  // namespace

std::string TemporaryPathFor(const std::string& path) { return path + ".tmp"; }

FileSnapshot ReadWholeFile(const std::string& path, std::size_t maxBytes) {
    FileSnapshot snap;
    Handle h(Open(path, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    if (!h.valid()) {
        const DWORD error = ::GetLastError();
        // A directory cannot be opened as a file here; it is there but it is not one.
        snap.status = error == ERROR_ACCESS_DENIED && IsDirectory(path) ? FileStatus::NotRegular
                                                                        : StatusFromError(error);
        return snap;
    }
    // Pipes, consoles and devices are never read: a read could wait forever.
    if (::GetFileType(h.get()) != FILE_TYPE_DISK) {
        snap.status = FileStatus::NotRegular;
        return snap;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(h.get(), &size)) {
        snap.status = FileStatus::Failed;
        return snap;
    }
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        snap.status = FileStatus::TooLarge;
        return snap;
    }
    // Read one byte more than the size says, to notice a file that grew meanwhile.
    snap.bytes.resize(static_cast<std::size_t>(size.QuadPart) + 1);
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
        const std::size_t room = snap.bytes.size() - have;
        const DWORD ask = room > 0x40000000 ? 0x40000000 : static_cast<DWORD>(room);
        DWORD got = 0;
        if (!::ReadFile(h.get(), snap.bytes.data() + have, ask, &got, nullptr)) {
            snap.bytes.clear();
            snap.status = FileStatus::Failed;
            return snap;
        }
        if (got == 0) break;
        have += got;
        // A disk file returns less than asked for only at its end: no need to ask again.
        if (got < ask) break;
    }
    snap.bytes.resize(have);
    snap.status = FileStatus::Ok;
    return snap;
}

FileStatus CheckWriteTarget(const std::string& path, std::size_t maxBytes) {
    if (path.empty()) return FileStatus::AccessDenied;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return FileStatus::AccessDenied;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) return FileStatus::AccessDenied;
        // Opening for writing changes nothing about the file and asks the access list for us.
        Handle h(Open(path, GENERIC_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
        if (!h.valid()) {
            const DWORD error = ::GetLastError();
            // Held open without sharing by another program: the write itself will find out.
            return error == ERROR_SHARING_VIOLATION ? FileStatus::Ok : StatusFromError(error);
        }
        if (::GetFileType(h.get()) != FILE_TYPE_DISK) return FileStatus::NotRegular;
        const unsigned long long size =
            (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (size > maxBytes) return FileStatus::TooLarge;
        return FileStatus::Ok;
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) {
        // Pipes and devices may show no attributes yet open: they are there, but not files.
        Handle h(::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                               OPEN_EXISTING, 0, nullptr));
        if (h.valid() ? ::GetFileType(h.get()) != FILE_TYPE_DISK
                      : ::GetLastError() == ERROR_PIPE_BUSY) {
            return FileStatus::NotRegular;
        }
        return StatusFromError(error);
    }
    return IsDirectory(DirectoryOf(path)) ? FileStatus::Ok : FileStatus::Missing;
}

FileStatus RemoveRedoFile(const std::string& path) {
    if (::DeleteFileA(RedoPathFor(path).c_str())) return FileStatus::Ok;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? FileStatus::Ok : StatusFromError(error);
}

FileStatus ReplaceWholeFile(const std::string& path, std::string_view bytes,
                            std::string_view previous, WriteGuard guard) {
    const bool exclusive = guard == WriteGuard::Locked;
    bool exists = false;
    FileStatus status = FileStatus::Failed;
    bool replaced = false;
    Identity identity;
    if (ReplaceableBySwap(path, exists, identity)) {
        switch (WriteBesideAndSwap(path, bytes, exclusive, exists, identity, status)) {
            case SwapOutcome::Done:
                status = FileStatus::Ok;
                replaced = true;
                break;
            case SwapOutcome::Failed:
                return status;
            case SwapOutcome::NotPossible:
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
