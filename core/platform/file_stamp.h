#pragma once

#include <cstdint>
#include <string>

namespace qfd {

// What tells one state of a file from another without reading it: which file stands under the
// name (device and inode, volume and file index), its size and its last write time. A file
// replaced by rename stands there as another file; one rewritten in place gets a new time or size.
// Two writes within one tick of the file system's clock that leave the same size on a reused
// inode look alike: whoever relies on a stamp must have another way to find such a change.
struct FileStamp {
    bool exists = false;  // false also when the file cannot be looked at
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    std::uint64_t size = 0;
    std::int64_t writeTime = 0;  // in the platform's own units

    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at path, following a symbolic link to the file it names. Never waits.
FileStamp StampOf(const std::string& path);

}  // namespace qfd
