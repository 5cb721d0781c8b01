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
    Busy,          // only a rewrite in place was possible, and that needs the lock another holds
    Failed,        // any other failure of the file system (an I/O error)
};

struct FileSnapshot {
    FileStatus status = FileStatus::Missing;
    std::string bytes;
    bool journalPresent = false;  // ReadSettledFile: a redo file stood beside the file
};

// Reads the whole file. Never blocks on a pipe and never reads more than maxBytes.
FileSnapshot ReadWholeFile(const std::string& path, std::size_t maxBytes);

// Whether a write could replace this file: it is a writable regular file of at most maxBytes, or
// it is missing from a directory that exists. Checked before anything is created beside it. A file
// whose mode has no write bit counts as read-only also for the superuser.
FileStatus CheckWriteTarget(const std::string& path, std::size_t maxBytes);

// What the caller knows about other writers of the file while it is replaced.
enum class WriteGuard {
    Locked,      // the caller holds the file's write lock
    NoLockFile,  // no lock file can be made beside the file, so no writer can lock it
    LockMissed,  // another process held the lock for the whole wait
};

// What the caller knows about a redo file beside the file it replaces.
enum class RedoFile {
    Possible,  // one may stand there, left by a writer killed in the middle of a rewrite in place
    Absent,    // the caller holds the lock and found none: only a holder of the lock writes one,
               // so none can have appeared since
};

// Replaces the file's contents (`previous` are the contents it replaces). Where nothing else about
// the file changes by it (a regular file, not a link, owned by this process, with one name), the
// new contents are written beside the file and renamed over it, keeping its mode, so readers never
// see a half-written file; elsewhere the file is rewritten in place. Only a Locked caller's
// rewrite in place is journalled: the redo file gets the previous and the new contents first, and
// it is removed once the rewrite is done. A caller that missed the lock never rewrites in place,
// where a kill would tear the file and two writers could undo each other: Busy. Every replacement
// that succeeds removes a redo file left from before, whose contents it has superseded, unless the
// caller knows that there is none.
FileStatus ReplaceWholeFile(const std::string& path, std::string_view bytes,
                            std::string_view previous, WriteGuard guard,
                            RedoFile redo = RedoFile::Possible);

// The name of the file that new contents are written to before the rename.
std::string TemporaryPathFor(const std::string& path);

// The name of the file that holds the previous and the whole new contents while the file is
// rewritten in place. A writer killed in the middle of the rewrite leaves it behind, complete:
// readers take its new contents instead of the half-written file, and the next writer under the
// lock finishes the rewrite from it. It speaks for the file only while the file is still some
// mixture of those previous and new contents; once anyone else (a peer that knows no redo file)
// has changed the file, the file wins and the redo file is dropped.
std::string RedoPathFor(const std::string& path);

// Removes the redo file; Ok when there is none.
FileStatus RemoveRedoFile(const std::string& path);

// The redo file's contents for a rewrite of `previous` into `next`.
std::string MakeRedoRecord(std::string_view previous, std::string_view next);

// The file's contents as its last writer meant them: a redo file's new contents while the file is
// still that rewrite half done, else the file's own.
FileSnapshot ReadSettledFile(const std::string& path, std::size_t maxBytes);

// Finishes a rewrite in place that a killed writer left half done, or drops a redo file that no
// longer speaks for the file; Ok when there is nothing to do. Only for a caller that holds the
// file's write lock.
FileStatus FinishInterruptedRewrite(const std::string& path, std::size_t maxBytes);

}  // namespace qfd
