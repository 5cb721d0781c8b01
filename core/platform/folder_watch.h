#pragma once

#include <memory>
#include <string>

#include "core/platform/native_handle.h"

namespace qfd {

// Tells, where the system can, that one file in a folder may have changed: written, renamed into
// place or created, or its redo record removed (a rewrite in place ended). The folder is watched
// rather than the file, since writers replace the file by rename. A folder that cannot be watched
// (missing, no permission, the system's watches used up, a file system that refuses) gives a
// watch that never tells anything: its user goes on polling, which finds every change anyway
// (writes from other machines into a network folder bring no notice either).
class FolderWatch {
  public:
    // Watches the folder that holds filePath for changes of that file. Never fails: see Active().
    explicit FolderWatch(const std::string& filePath);
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;
    ~FolderWatch();

    // Whether notices can come: the folder is watched, and the watch has not ended since (the
    // folder removed, say).
    bool Active() const;
    // What a front end waits on beside its other events: a descriptor that turns readable (POSIX)
    // or an event that is signalled (Windows) while notices are pending. Empty when the folder
    // could not be watched; once the watch has ended it is never ready again.
    NativeHandle::Raw WaitHandle() const;
    // Takes every pending notice without waiting, so that a burst of them is one answer: true when
    // one was about the file, or when the system dropped notices and one might have been.
    bool DrainChanges();

  private:
    struct Native;
    std::unique_ptr<Native> native_;
};

}  // namespace qfd
