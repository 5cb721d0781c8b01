#include "core/platform/native_file.h"

// clang-format off
#include <windows.h>
#include <aclapi.h>
// clang-format on

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
        case kErrorDiskQuotaExceeded:
            return FileStatus::NoSpace;
        default:
            return FileStatus::Failed;
    }
}

NativeHandle Open(const std::string& path, DWORD access, DWORD flags = FILE_ATTRIBUTE_NORMAL) {
    for (int attempt = 0;; ++attempt) {
        HANDLE h =
            ::CreateFileA(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr);
        if (h != INVALID_HANDLE_VALUE || attempt == kSharingRetries) return NativeHandle(h);
        if (::GetLastError() != ERROR_SHARING_VIOLATION) return NativeHandle(h);
        ::Sleep(kSharingRetryMs);
    }
}

// Without sharing: no one else has any use for a file before it gets its name.
NativeHandle CreateNew(const std::string& path, DWORD access) {
    return NativeHandle(::CreateFileA(path.c_str(), access, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool IsDisk(const NativeHandle& file) { return ::GetFileType(file.Get()) == FILE_TYPE_DISK; }

bool IsDirectory(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Pipes and devices may show no attributes yet open: they are there, but not files.
FileStatus StatusOfUnlisted(const std::string& path, DWORD error) {
    const NativeHandle h(::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
    if (h.Valid() ? !IsDisk(h) : ::GetLastError() == ERROR_PIPE_BUSY) return FileStatus::NotRegular;
    return StatusFromError(error);
}

std::vector<unsigned char> CopyOfSid(PSID sid) {
    const auto* bytes = static_cast<const unsigned char*>(sid);
    return std::vector<unsigned char>(bytes, bytes + ::GetLengthSid(sid));
}

// The security identifier that owns the file, or nothing when the platform cannot tell.
std::vector<unsigned char> OwnerOf(const NativeHandle& file) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    std::vector<unsigned char> sid;
    if (::GetSecurityInfo(file.Get(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                          nullptr, nullptr, &descriptor) == ERROR_SUCCESS &&
        owner != nullptr && ::IsValidSid(owner)) {
        sid = CopyOfSid(owner);
    }
    if (descriptor != nullptr) ::LocalFree(descriptor);
    return sid;
}

std::vector<unsigned char> ProcessUser() {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) return {};
    const NativeHandle token(raw);
    DWORD size = 0;
    ::GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    if (size == 0 || !::GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size)) {
        return {};
    }
    return CopyOfSid(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid);
}

}  // namespace

struct FileIdentity {
    DWORD attributes = 0;
    FILETIME created{};
    PSECURITY_DESCRIPTOR descriptor = nullptr;  // set only for an access list of the file's own
    PACL dacl = nullptr;
    FileIdentity() = default;
    FileIdentity(const FileIdentity&) = delete;
    FileIdentity& operator=(const FileIdentity&) = delete;
    ~FileIdentity() {
        if (descriptor != nullptr) ::LocalFree(descriptor);
    }
};

void FileIdentityDeleter::operator()(FileIdentity* identity) const { delete identity; }

namespace {

// A new file in the folder inherits the folder's access list; only one that the old file does not
// inherit has to be copied.
bool ReadOwnAccessList(const NativeHandle& file, FileIdentity& identity) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    PACL dacl = nullptr;
    if (::GetSecurityInfo(file.Get(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
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

// A plain file (no link, no reparse point, no other name), writable, and owned by this user,
// since the new file would otherwise change hands.
bool IsPlainOwnFile(const std::string& path, DWORD attributes, FileIdentity& identity) {
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return false;
    }
    const NativeHandle h =
        Open(path, READ_CONTROL | FILE_READ_ATTRIBUTES, FILE_FLAG_OPEN_REPARSE_POINT);
    if (!h.Valid() || !IsDisk(h)) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h.Get(), &info) || info.nNumberOfLinks != 1) return false;
    identity.attributes = info.dwFileAttributes;
    identity.created = info.ftCreationTime;
    const std::vector<unsigned char> owner = OwnerOf(h);
    if (owner.empty() || owner != ProcessUser()) return false;
    return ReadOwnAccessList(h, identity);
}

}  // namespace

FileStatus LastFailure() { return StatusFromError(::GetLastError()); }
bool LastFailureWasNoFile() { return ::GetLastError() == ERROR_FILE_NOT_FOUND; }
bool LastFailureWasExisting() { return ::GetLastError() == ERROR_FILE_EXISTS; }

FileStatus OpenRegularFile(const std::string& path, OpenFor purpose, NativeHandle& file) {
    const bool reading = purpose == OpenFor::Reading;
    file = Open(path, reading ? GENERIC_READ : GENERIC_WRITE);
    if (!file.Valid()) {
        const DWORD error = ::GetLastError();
        // A directory cannot be opened as a file here; it is there but it is not one.
        if (reading && error == ERROR_ACCESS_DENIED && IsDirectory(path)) {
            return FileStatus::NotRegular;
        }
        return StatusFromError(error);
    }
    return IsDisk(file) ? FileStatus::Ok : FileStatus::NotRegular;
}

std::optional<std::uint64_t> SizeOf(const NativeHandle& file) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::optional<std::size_t> ReadSome(const NativeHandle& file, char* into, std::size_t size) {
    DWORD got = 0;
    if (!::ReadFile(file.Get(), into, static_cast<DWORD>(size), &got, nullptr)) return std::nullopt;
    return got;
}

std::optional<std::size_t> WriteSome(const NativeHandle& file, std::string_view bytes) {
    DWORD written = 0;
    if (!::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr)) {
        return std::nullopt;
    }
    return written;
}

bool Truncate(const NativeHandle& file, std::uint64_t size) {
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    return ::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.Get());
}

bool RenameOver(const std::string& from, const std::string& to) {
    return ::MoveFileExA(from.c_str(), to.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

long long ProcessId() { return ::GetCurrentProcessId(); }

WriteTarget ProbeWriteTarget(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) return {};
        return {StatusOfUnlisted(path, error), false, 0};
    }
    if ((data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        return {FileStatus::AccessDenied, true, 0};
    }
    // Opening for writing changes nothing about the file and asks the access list for us.
    const NativeHandle h = Open(path, GENERIC_WRITE);
    if (!h.Valid()) {
        const DWORD error = ::GetLastError();
        // Held open without sharing by another program: the write itself will find out.
        return {error == ERROR_SHARING_VIOLATION ? FileStatus::Ok : StatusFromError(error), true,
                0};
    }
    if (!IsDisk(h)) return {FileStatus::NotRegular, true, 0};
    const std::uint64_t size =
        (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return {FileStatus::Ok, true, size};
}

// As bytes: std::filesystem would convert through another code page.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) {
        // "C:qfd.ini" lives in drive C's current folder.
        return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) + "." : ".";
    }
    // With its separator: a share's root (\\server\share\) is a folder only when spelled so.
    return path.substr(0, slash + 1);
}

bool FolderOfExists(const std::string& path) { return IsDirectory(FolderOf(path)); }

RenameTarget InspectRenameTarget(const std::string& path) {
    RenameTarget target;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        target.replaceable = ::GetLastError() == ERROR_FILE_NOT_FOUND;
        return target;
    }
    target.identity.reset(new FileIdentity);
    target.replaceable = IsPlainOwnFile(path, attributes, *target.identity);
    return target;
}

NativeHandle CreateReplacement(const std::string& path, const FileIdentity*) {
    return CreateNew(path, GENERIC_WRITE | WRITE_DAC);
}

bool TakeOverIdentity(const NativeHandle& file, const FileIdentity& old) {
    return ::SetFileTime(file.Get(), &old.created, nullptr, nullptr) &&
           (old.descriptor == nullptr ||
            ::SetSecurityInfo(file.Get(), SE_FILE_OBJECT,
                              DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                              nullptr, nullptr, old.dacl, nullptr) == ERROR_SUCCESS);
}

bool TakeOverAttributes(const std::string& path, const FileIdentity& old) {
    constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD kept = old.attributes & kKeptAttributes;
    return kept == 0 || ::SetFileAttributesA(path.c_str(), kept);
}

NativeHandle CreateJournal(const std::string& path, const NativeHandle&) {
    return CreateNew(path, GENERIC_WRITE);
}

}  // namespace qfd
