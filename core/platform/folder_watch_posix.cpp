#include "core/platform/folder_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "core/platform/file_access.h"
#include "core/platform/native_file.h"

namespace qfd {
namespace {

// New contents under the file's name: a file renamed over it (the store's replacement), a write
// into it (a rewrite in place, or a program that writes the file itself), a new file or link by
// that name. Opening and closing files, which every reader and every lock does at each poll, tells
// nothing: a quiet folder stays silent.
constexpr std::uint32_t kFileEvents = IN_MOVED_TO | IN_MODIFY | IN_CREATE;
// The removal of the file's redo record ends the store's rewrite in place: only from then on do
// readers take the file's new contents as settled.
constexpr std::uint32_t kRedoEvents = IN_DELETE;

// Room for many notices and at least one with the longest name, so a read never fails for want
// of space.
constexpr std::size_t kBufferBytes = 16 * (sizeof(inotify_event) + NAME_MAX + 1);

std::string NameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

}  // namespace

struct FolderWatch::Native {
    NativeHandle queue;
    int watch = -1;
    std::string name;
    std::string redoName;

    bool AboutTheFile(const inotify_event& event, const char* noticed) const {
        if (event.len == 0) return false;  // about the folder itself
        return ((event.mask & kFileEvents) != 0 && name == noticed) ||
               ((event.mask & kRedoEvents) != 0 && redoName == noticed);
    }
};

FolderWatch::FolderWatch(const std::string& filePath) {
    auto native = std::make_unique<Native>();
    native->name = NameOf(filePath);
    native->redoName = NameOf(RedoPathFor(filePath));
    native->queue = NativeHandle(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (native->name.empty() || !native->queue.Valid()) return;
    native->watch = ::inotify_add_watch(native->queue.Get(), FolderOf(filePath).c_str(),
                                        kFileEvents | kRedoEvents | IN_ONLYDIR);
    if (native->watch < 0) return;  // no folder, no permission, no watches left
    native_ = std::move(native);
}

FolderWatch::~FolderWatch() = default;

bool FolderWatch::Active() const { return native_ && native_->watch >= 0; }

NativeHandle::Raw FolderWatch::WaitHandle() const {
    return native_ ? native_->queue.Get() : NativeHandle().Get();
}

bool FolderWatch::DrainChanges() {
    if (!native_) return false;
    bool changed = false;
    alignas(inotify_event) char buffer[kBufferBytes];
    for (;;) {
        const ssize_t got = ::read(native_->queue.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return changed;  // EAGAIN: nothing more is pending
        for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            // The name is padded with NULs to its length.
            const char* name = buffer + at + sizeof event;
            if ((event.mask & IN_Q_OVERFLOW) != 0) changed = true;
            if (native_->AboutTheFile(event, name)) changed = true;
            // The folder is gone or unmounted: no notice comes any more.
            if ((event.mask & IN_IGNORED) != 0) native_->watch = -1;
            at += sizeof event + event.len;
        }
    }
}

}  // namespace qfd
