#pragma once

#include "core/platform/file_access.h"
#include "core/platform/native_handle.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qfd {

// The platform's own file calls under the whole-file logic of file_access.cpp, each as small as
// the platform allows. Where the platforms differ on purpose, the difference lives here.

// The last failure of a call on this thread, and the two failures the logic tells apart.
FileStatus LastFailure();
bool LastFailureWasNoFile();    // nothing by that name
bool LastFailureWasExisting();  // something by that name already

enum class OpenFor { Reading, Rewriting };

// Opens an existing file and makes sure it is a regular one: a pipe or a device is never read or
// written, since a call could wait forever. A directory is NotRegular to read, AccessDenied to
// write.
FileStatus OpenRegularFile(const std::string& path, OpenFor purpose, NativeHandle& file);
std::optional<std::uint64_t> SizeOf(const NativeHandle& file);

// One call's worth: fewer bytes than asked for at the end of a file; nothing on a failure. Reads
// and writes go on from where the last one ended.
std::optional<std::size_t> ReadSome(const NativeHandle& file, char* into, std::size_t size);
std::optional<std::size_t> WriteSome(const NativeHandle& file, std::string_view bytes);
bool Truncate(const NativeHandle& file, std::uint64_t size);

// Puts `from` in the place of `to`, which may exist: readers see the one or the other, never none.
bool RenameOver(const std::string& from, const std::string& to);
bool RemoveFile(const std::string& path);
long long ProcessId();

// What stands where a file is to be written: Ok with a writable regular file (exists) or with
// none at all; else why it cannot be written. A file whose mode has no write bit is read-only also
// for the superuser.
struct WriteTarget {
    FileStatus status = FileStatus::Ok;
    bool exists = false;
    std::uint64_t size = 0;
};
WriteTarget ProbeWriteTarget(const std::string& path);
// The folder that holds path, spelled as the platform's calls take it ("." for a bare name).
std::string FolderOf(const std::string& path);
bool FolderOfExists(const std::string& path);

// What a new file must take over from the file it replaces, so that renaming it over that file
// changes nothing but the contents. Each platform keeps its own record.
struct FileIdentity;
struct FileIdentityDeleter {
    void operator()(FileIdentity* identity) const;
};

struct RenameTarget {
    bool replaceable = false;  // a rename over it would change nothing but the contents
    std::unique_ptr<FileIdentity, FileIdentityDeleter> identity;  // none where there is no file
};
RenameTarget InspectRenameTarget(const std::string& path);

// Creates a file that must not exist yet, for new contents to be renamed over `old` (if any).
NativeHandle CreateReplacement(const std::string& path, const FileIdentity* old);
// Hands the old file's identity on to the new one: while it is open, and once it is closed.
bool TakeOverIdentity(const NativeHandle& file, const FileIdentity& old);
bool TakeOverAttributes(const std::string& path, const FileIdentity& old);
// Creates a file that must not exist yet, for the redo record of `journalled`, as private as it.
NativeHandle CreateJournal(const std::string& path, const NativeHandle& journalled);

}  // namespace qfd
