#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qfd {

// Whole-file access for the settings store. Files are bytes; paths are the platform's own form.

enum class FileStatus {
    Ok,
    Missing,       // no such file (reads), or no such directory (writes)
    AccessDenied,  // no permission, a read-only file, a directory in the file's place
    NotRegular,    // a pipe, a device or another non-file: never opened for real
    TooLarge,      // larger than the caller's limit
    NameTooLong,   // the path is longer than the platform allows
    NoSpace,       // the disk or the user's quota is full
    Failed,        // any other failure of the file system (an I/O error)
};

struct FileSnapshot {
    FileStatus status = FileStatus::Missing;
    std::string bytes;
};

// Reads the whole file. Never blocks on a pipe and never reads more than maxBytes.
FileSnapshot ReadWholeFile(const std::string& path, std::size_t maxBytes);

// Whether a write could replace this file: it is a writable regular file of at most maxBytes, or
// it is missing from a directory that exists. Checked before anything is created beside it. A file
// whose mode has no write bit counts as read-only also for the superuser.
FileStatus CheckWriteTarget(const std::string& path, std::size_t maxBytes);

// Replaces the file's contents. Where nothing else about the file changes by it (a regular file,
// not a link, owned by this process, with one name), the new contents are written beside the file
// and renamed over it, keeping its mode, so readers never see a half-written file; elsewhere the
// file is rewritten in place. `exclusive` says that the caller holds the file's write lock; only
// then is a rewrite in place journalled: the whole new contents go to the redo file first, and it
// is removed once the rewrite is done. Every replacement that succeeds removes a redo file left
// from before, whose contents it has superseded.
FileStatus ReplaceWholeFile(const std::string& path, std::string_view bytes, bool exclusive);

// The name of the file that new contents are written to before the rename.
std::string TemporaryPathFor(const std::string& path);

// The name of the file that holds the whole new contents while the file is rewritten in place. A
// writer killed in the middle of the rewrite leaves it behind, complete: readers take it instead
// of the half-written file, and the next writer under the lock finishes the rewrite from it.
std::string RedoPathFor(const std::string& path);

// The file's contents as its last writer meant them: the redo file's while one is left, else the
// file's own.
FileSnapshot ReadSettledFile(const std::string& path, std::size_t maxBytes);

// Finishes a rewrite in place that a killed writer left half done; Ok when there is none. Only for
// a caller that holds the file's write lock.
FileStatus FinishInterruptedRewrite(const std::string& path, std::size_t maxBytes);

}  // namespace qfd
