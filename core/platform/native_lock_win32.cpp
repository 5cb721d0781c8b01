#include "core/platform/native_lock.h"

#include <windows.h>

namespace qfd {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

NativeHandle OpenLock(const std::string& lockPath, DWORD access, DWORD disposition) {
    return NativeHandle(::CreateFileA(lockPath.c_str(), access, kShareAll, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

NativeHandle OpenLockFile(const std::string& lockPath, bool createIfMissing, bool& writable) {
    constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
    NativeHandle file = OpenLock(lockPath, kReadWrite, OPEN_EXISTING);
    if (!file.Valid() && ::GetLastError() == ERROR_FILE_NOT_FOUND && createIfMissing) {
        file = OpenLock(lockPath, kReadWrite, OPEN_ALWAYS);
    }
    writable = file.Valid();
    if (!writable) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT) {
            file = OpenLock(lockPath, GENERIC_READ, OPEN_EXISTING);
        }
    }
    return file;
}

// GetLastError says why it failed.
bool TryLockByte(const NativeHandle& file, bool exclusive, std::uint32_t byte) {
    OVERLAPPED range{};
    range.Offset = byte;
    const DWORD flags = (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0) | LOCKFILE_FAIL_IMMEDIATELY;
    return ::LockFileEx(file.Get(), flags, 0, 1, 0, &range) != 0;
}

bool LastTryFoundLockHeld() { return ::GetLastError() == ERROR_LOCK_VIOLATION; }

void UnlockByte(const NativeHandle& file, std::uint32_t byte) {
    OVERLAPPED range{};
    range.Offset = byte;
    ::UnlockFileEx(file.Get(), 0, 1, 0, &range);
}

}  // namespace qfd
