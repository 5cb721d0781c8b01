#include "core/platform/file_stamp.h"

#include <windows.h>

#include "core/platform/native_handle.h"

namespace qfd {
namespace {

std::uint64_t Join(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | static_cast<std::uint64_t>(low);
}

}  // namespace

FileStamp StampOf(const std::string& path) {
    // Opened for its attributes only, and shared with everyone: a writer that renames over the
    // file or rewrites it meanwhile is never held up by this look.
    const NativeHandle file(::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.Valid() || !::GetFileInformationByHandle(file.Get(), &info)) return {};
    FileStamp stamp;
    stamp.exists = true;
    stamp.volume = info.dwVolumeSerialNumber;
    stamp.index = Join(info.nFileIndexHigh, info.nFileIndexLow);
    stamp.size = Join(info.nFileSizeHigh, info.nFileSizeLow);
    stamp.writeTime = static_cast<std::int64_t>(
        Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime));
    return stamp;
}

}  // namespace qfd
