#include "core/platform/folder_watch.h"

#include <windows.h>

#include <cstddef>
#include <cstring>

#include "core/platform/file_access.h"
#include "core/platform/native_file.h"

namespace qfd {
namespace {

// New contents under the file's name: a file renamed over it (the store's replacement), a write
// into it (a rewrite in place), a new file by that name. The removal of the file's redo record
// ends the store's rewrite in place: only from then on do readers take the new contents as
// settled. Opening and closing files, which every reader and every lock does, tells nothing.
constexpr DWORD kFileEvents =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;

// Notices of a local folder fit many times over; a network folder takes no more than 64 KiB.
constexpr DWORD kBufferBytes = 16 * 1024;

std::wstring Widen(const std::string& ansi) {
    const int length =
        ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(),
                          length);
    return wide;
}

// The file's name: what follows the last separator, or a drive's colon ("C:qfd.ini").
std::string NameOf(const std::string& path) {
    const std::size_t end = path.find_last_of("\\/:");
    return end == std::string::npos ? path : path.substr(end + 1);
}

// Names on this platform are the same whatever their case.
bool SameName(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool NewContents(DWORD action) {
    return action == FILE_ACTION_ADDED || action == FILE_ACTION_MODIFIED ||
           action == FILE_ACTION_RENAMED_NEW_NAME;
}

}  // namespace

struct FolderWatch::Native {
    NativeHandle folder;
    NativeHandle event;  // manual reset: signalled until the next request starts
    OVERLAPPED overlapped{};
    alignas(DWORD) unsigned char buffer[kBufferBytes] = {};
    std::wstring name;
    std::wstring redoName;
    bool reading = false;  // a request is outstanding and owns overlapped and buffer

    // Asks for the next notices; the system keeps those that come meanwhile for this request.
    bool Request() {
        overlapped = OVERLAPPED{};
        overlapped.hEvent = event.Get();
        ::ResetEvent(event.Get());
        reading = ::ReadDirectoryChangesW(folder.Get(), buffer, kBufferBytes, FALSE, kFileEvents,
                                          nullptr, &overlapped, nullptr) != 0;
        return reading;
    }

    // Ends the watch: the outstanding request is cancelled and waited for, since it writes into
    // overlapped and buffer until it has ended. The event stays, never signalled again.
    void Stop() {
        if (reading) {
            DWORD ignored = 0;
            ::CancelIoEx(folder.Get(), &overlapped);
            ::GetOverlappedResult(folder.Get(), &overlapped, &ignored, TRUE);
            reading = false;
        }
        if (folder.Valid()) folder.Close();
        ::ResetEvent(event.Get());
    }

    // Whether the notices of a finished request tell of new contents of the file.
    bool NamesFile(DWORD bytes) const {
        const std::size_t headerBytes = offsetof(FILE_NOTIFY_INFORMATION, FileName);
        for (std::size_t at = 0; at + headerBytes <= bytes;) {
            FILE_NOTIFY_INFORMATION info;
            std::memcpy(&info, buffer + at, headerBytes);
            if (at + headerBytes + info.FileNameLength > bytes) return false;
            std::wstring noticed(info.FileNameLength / sizeof(WCHAR), L'\0');
            std::memcpy(noticed.data(), buffer + at + headerBytes, info.FileNameLength);
            if (NewContents(info.Action) && SameName(noticed, name)) return true;
            if (info.Action == FILE_ACTION_REMOVED && SameName(noticed, redoName)) return true;
            if (info.NextEntryOffset == 0) return false;
            at += info.NextEntryOffset;
        }
        return false;
    }
};

FolderWatch::FolderWatch(const std::string& filePath) {
    auto native = std::make_unique<Native>();
    native->name = Widen(NameOf(filePath));
    native->redoName = Widen(NameOf(RedoPathFor(filePath)));
    native->folder = NativeHandle(
        ::CreateFileA(FolderOf(filePath).c_str(), FILE_LIST_DIRECTORY,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
    native->event = NativeHandle(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (native->name.empty() || !native->folder.Valid() || !native->event.Valid()) return;
    // A file system that gives no notices (some network folders) refuses the request.
    if (!native->Request()) return;
    native_ = std::move(native);
}

FolderWatch::~FolderWatch() {
    if (native_) native_->Stop();
}

bool FolderWatch::Active() const { return native_ && native_->reading; }

NativeHandle::Raw FolderWatch::WaitHandle() const {
    return native_ ? native_->event.Get() : NativeHandle().Get();
}

bool FolderWatch::DrainChanges() {
    if (!native_) return false;
    Native& native = *native_;
    bool changed = false;
    // A request made while notices are waiting finishes at once: the loop takes them all.
    while (native.reading && ::WaitForSingleObject(native.event.Get(), 0) == WAIT_OBJECT_0) {
        DWORD bytes = 0;
        const bool done =
            ::GetOverlappedResult(native.folder.Get(), &native.overlapped, &bytes, FALSE) != 0;
        native.reading = false;
        if (!done && ::GetLastError() != ERROR_NOTIFY_ENUM_DIR) {
            native.Stop();  // the folder is gone, say: polling goes on alone
            break;
        }
        // No bytes, or ERROR_NOTIFY_ENUM_DIR: more came than the buffer holds, and all was lost.
        changed = changed || !done || bytes == 0 || native.NamesFile(bytes);
        if (!native.Request()) native.Stop();
    }
    return changed;
}

}  // namespace qfd
