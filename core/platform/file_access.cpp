#include "core/platform/file_access.h"

#include "core/platform/native_file.h"

#include <algorithm>
#include <cassert>
#include <optional>

namespace qfd {
namespace {

// Reads and writes go in pieces of at most this much, which every platform takes in one call.
constexpr std::size_t kLargestTransfer = std::size_t{1} << 30;

bool WriteAll(const NativeHandle& file, std::string_view bytes) {
    while (!bytes.empty()) {
        const std::optional<std::size_t> n = WriteSome(file, bytes.substr(0, kLargestTransfer));
        if (!n || *n == 0) return false;
        bytes.remove_prefix(*n);
    }
    return true;
}

// Reads one byte more than the size says, to notice a file that grew meanwhile.
FileStatus ReadAll(const NativeHandle& file, std::size_t size, std::size_t maxBytes,
                   std::string& bytes) {
    bytes.resize(size + 1);
    std::size_t have = 0;
    for (;;) {
        if (have == bytes.size()) {
            if (have > maxBytes) {
                bytes.clear();
                return FileStatus::TooLarge;
            }
            bytes.resize(std::min(have * 2, maxBytes + 1));
        }
        const std::size_t ask = std::min(bytes.size() - have, kLargestTransfer);
        const std::optional<std::size_t> got = ReadSome(file, bytes.data() + have, ask);
        if (!got) {
            bytes.clear();
            return FileStatus::Failed;
        }
        have += *got;
        // A regular file returns less than asked for only at its end: no need to ask again.
        if (*got < ask) break;
    }
    bytes.resize(have);
    return FileStatus::Ok;
}

// Creates the file `path` names. Under the lock a leftover from a crashed writer is ours to clear.
template <typename Create>
NativeHandle CreateClearingLeftover(const std::string& path, bool locked, Create create) {
    NativeHandle file = create();
    if (!file.Valid() && LastFailureWasExisting() && locked && RemoveFile(path)) file = create();
    return file;
}

enum class RenameOutcome { Done, NotPossible, Failed };

RenameOutcome WriteBesideAndRename(const std::string& path, std::string_view bytes, bool locked,
                                   const FileIdentity* old, FileStatus& failure) {
    // Without the lock another writer may be using the shared temporary name: take one of our
    // own, so the file is still replaced whole rather than rewritten in place.
    const std::string temporary = locked
                                      ? TemporaryPathFor(path)
                                      : TemporaryPathFor(path) + "." + std::to_string(ProcessId());
    NativeHandle file = CreateClearingLeftover(temporary, locked,
                                               [&] { return CreateReplacement(temporary, old); });
    if (!file.Valid()) {
        failure = LastFailure();
        return RenameOutcome::NotPossible;
    }
    if (old != nullptr && !TakeOverIdentity(file, *old)) {
        file.Close();
        RemoveFile(temporary);
        return RenameOutcome::NotPossible;
    }
    if (!WriteAll(file, bytes) || !file.Close()) {
        failure = LastFailure();
        RemoveFile(temporary);
        return RenameOutcome::Failed;
    }
    if (old != nullptr && !TakeOverAttributes(temporary, *old)) {
        RemoveFile(temporary);
        return RenameOutcome::NotPossible;
    }
    if (!RenameOver(temporary, path)) {
        failure = LastFailure();
        RemoveFile(temporary);
        return RenameOutcome::NotPossible;
    }
    return RenameOutcome::Done;
}

// The outcome of a replacement by rename, or nothing where only a rewrite in place can do.
std::optional<FileStatus> ReplaceByRename(const std::string& path, std::string_view bytes,
                                          bool locked) {
    const RenameTarget target = InspectRenameTarget(path);
    if (!target.replaceable) return std::nullopt;
    FileStatus failure = FileStatus::Failed;
    switch (WriteBesideAndRename(path, bytes, locked, target.identity.get(), failure)) {
        case RenameOutcome::Done:
            return FileStatus::Ok;
        case RenameOutcome::Failed:
            return failure;
        case RenameOutcome::NotPossible:
            break;
    }
    // A file that is not there cannot be rewritten in place either.
    return target.identity ? std::nullopt : std::optional<FileStatus>(failure);
}

// Puts the redo record into the redo file (written beside it, then renamed, so that a redo file is
// always complete). False where the folder takes no new file: the rewrite goes unjournalled.
bool WriteRedoFile(const std::string& path, std::string_view record,
                   const NativeHandle& journalled) {
    const std::string temporary = TemporaryPathFor(path);
    // Only called under the lock.
    NativeHandle file = CreateClearingLeftover(
        temporary, true, [&] { return CreateJournal(temporary, journalled); });
    if (!file.Valid()) return false;
    if (!WriteAll(file, record) || !file.Close() || !RenameOver(temporary, RedoPathFor(path))) {
        RemoveFile(temporary);
        return false;
    }
    return true;
}

FileStatus RewriteInPlace(const std::string& path, std::string_view bytes,
                          std::string_view previous, bool locked) {
    NativeHandle file;
    const FileStatus opened = OpenRegularFile(path, OpenFor::Rewriting, file);
    if (opened != FileStatus::Ok) return opened;
    // A writer killed during the rewrite leaves a mixture of old and new bytes behind; the redo
    // file, complete before the first byte is overwritten, stands in for the file until then.
    // Without the lock another writer may be journalling the same file, so none is written.
    if (locked) WriteRedoFile(path, MakeRedoRecord(previous, bytes), file);
    // New contents over the old, then the end cut: never an empty file, as truncating first would
    // leave behind a writer killed in between.
    if (!WriteAll(file, bytes) || !Truncate(file, bytes.size()) || !file.Close()) {
        // The redo file stays: the file may be half-written, and the next writer finishes it.
        return LastFailure();
    }
    return FileStatus::Ok;
}

}  // namespace

std::string TemporaryPathFor(const std::string& path) { return path + ".tmp"; }

FileSnapshot ReadWholeFile(const std::string& path, std::size_t maxBytes) {
    FileSnapshot snap;
    NativeHandle file;
    snap.status = OpenRegularFile(path, OpenFor::Reading, file);
    if (snap.status != FileStatus::Ok) return snap;
    const std::optional<std::uint64_t> size = SizeOf(file);
    if (!size) {
        snap.status = FileStatus::Failed;
    } else if (*size > maxBytes) {
        snap.status = FileStatus::TooLarge;
    } else {
        snap.status = ReadAll(file, static_cast<std::size_t>(*size), maxBytes, snap.bytes);
    }
    return snap;
}

FileStatus CheckWriteTarget(const std::string& path, std::size_t maxBytes) {
    if (path.empty()) return FileStatus::AccessDenied;
    const WriteTarget target = ProbeWriteTarget(path);
    if (target.status != FileStatus::Ok) return target.status;
    if (!target.exists) return FolderOfExists(path) ? FileStatus::Ok : FileStatus::Missing;
    return target.size > maxBytes ? FileStatus::TooLarge : FileStatus::Ok;
}

FileStatus RemoveRedoFile(const std::string& path) {
    if (RemoveFile(RedoPathFor(path)) || LastFailureWasNoFile()) return FileStatus::Ok;
    return LastFailure();
}

FileStatus ReplaceWholeFile(const std::string& path, std::string_view bytes,
                            std::string_view previous, WriteGuard guard, RedoFile redo) {
    // Without the lock a writer killed meanwhile may have left one.
    assert(redo == RedoFile::Possible || guard == WriteGuard::Locked);
    std::optional<FileStatus> status = ReplaceByRename(path, bytes, guard == WriteGuard::Locked);
    if (!status && guard == WriteGuard::LockMissed) return FileStatus::Busy;
    if (!status) {
        status = RewriteInPlace(path, bytes, previous, guard == WriteGuard::Locked);
        redo = RedoFile::Possible;  // the rewrite's own journal
    }
    // These contents supersede whatever an interrupted rewrite had meant to write.
    if (*status == FileStatus::Ok && redo == RedoFile::Possible) RemoveRedoFile(path);
    return *status;
}

}  // namespace qfd
