#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstddef>
#include <string>
#include <string_view>

#include "tests/support/sandbox.h"

namespace qfd::test {

// Overwrites bytes of a file in place and sets its last write time back to what it was: what a
// reading finds changes, what the file's stamp tells does not. (std::filesystem sets times in
// whole seconds on some platforms, so the platform's own calls do it here.)
inline bool OverwriteKeepingStamp(const std::string& path, std::size_t offset,
                                  std::string_view bytes) {
#ifdef _WIN32
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    FILETIME written{};
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    DWORD done = 0;
    bool ok = ::GetFileTime(file, nullptr, nullptr, &written) &&
              ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, &at) &&
              done == bytes.size() && ::SetFileTime(file, nullptr, nullptr, &written);
    return ::CloseHandle(file) && ok;
#else
    const int file = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (file < 0) return false;
    struct stat st {};
    bool ok = ::fstat(file, &st) == 0 &&
              ::pwrite(file, bytes.data(), bytes.size(), static_cast<off_t>(offset)) ==
                  static_cast<ssize_t>(bytes.size());
    const timespec times[2] = {st.st_atim, st.st_mtim};
    ok = ok && ::futimens(file, times) == 0;
    return ::close(file) == 0 && ok;
#endif
}

// Puts `to` in the place of the first `from` (of the same length), keeping the file's stamp.
inline bool ReplaceKeepingStamp(const std::string& path, std::string_view from,
                                std::string_view to) {
    const std::size_t at = ReadFileBytes(path).find(from);
    if (at == std::string::npos || from.size() != to.size()) return false;
    return OverwriteKeepingStamp(path, at, to);
}

}  // namespace qfd::test
