#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qfd {

// The INI store: reads and writes one value of a settings file with the platform's
// private-profile rules, safely against other processes that use the same file.

constexpr std::size_t kMaxSettingsFileBytes = 4 * 1024 * 1024;  // larger files are unreadable
constexpr std::size_t kMaxValueLength = 32767;
constexpr std::size_t kMaxLineLength = 65535;  // Windows wraps longer lines into other keys

enum class StoreError {
    None,
    PathNotFound,    // the directory does not exist
    AccessDenied,    // read-only file, no permission, a directory in the file's place, empty name
    NotRegularFile,  // a pipe, a device or the like
    FileTooLarge,    // over kMaxSettingsFileBytes
    ValueTooLong,    // over kMaxValueLength
    LineTooLong,     // the line would exceed kMaxLineLength
    NameTooLong,     // the path is longer than the platform allows
    DiskFull,        // no space left for the new contents
    Busy,            // another process held the file's lock, and the write needed it
    Io,              // any other failure of the file system
};

struct WriteOutcome {
    StoreError error = StoreError::None;
    bool changed = false;  // the file was rewritten (false when the value was already there)
    // Another process held the lock for the whole wait: the file was replaced whole all the same,
    // or, where only a rewrite in place was possible, the write failed as Busy.
    bool lockTimedOut = false;

    bool Ok() const { return error == StoreError::None; }
    // The Windows error code the platform's write function reports for the same failure.
    int PlatformErrorCode() const;
    // One line for a user: why the write failed.
    std::string Describe() const;
};

// How long a reader or writer waits for another process's lock.
enum class LockWait {
    None,     // one try: the user-interface thread's regular work never waits
    Brief,    // up to kBriefLockWaitMs
    Patient,  // up to kPatientLockWaitMs
};

// A look woken by the notice of a writer's change: the writer renames its file into place under
// the lock and lets the lock go a moment later, so the look would nearly always find it still
// held. Short enough that a peer holding the lock for long stalls the user interface unnoticed.
constexpr int kBriefLockWaitMs = 20;

// Long enough that a loaded machine never makes a writer give up (the stress tests' eight senders
// and a receiver on a loaded two-core machine wait a few hundred milliseconds at worst), short
// enough that a frozen peer holds up a command only briefly.
constexpr int kPatientLockWaitMs = 2000;

// The value of key in section, or the default with its trailing spaces cut; at most
// bufferSize - 1 bytes, like the platform's function. A file that cannot be read gives the default.
std::string ReadProfileValue(const std::string& file, std::string_view section,
                             std::string_view key, std::string_view defaultValue,
                             std::size_t bufferSize);

// Sets key in section. CR and LF can never reach the file (they become blanks) and the value ends
// at a NUL byte, as the platform's C strings do. Holds the file's lock for the read-modify-write.
WriteOutcome WriteProfileValue(const std::string& file, std::string_view section,
                               std::string_view key, std::string_view value,
                               LockWait wait = LockWait::Patient);

// One locked read-modify-write of a whole file: the edit receives the file's text (empty when the
// file is missing) and returns the new text, or nothing to leave the file untouched. The new text
// replaces the file in one step where the file allows it, so readers see all of the edit or none
// of it. Without the lock after the wait nothing is ever rewritten in place: Busy; with
// LockWait::None or LockWait::Brief that holds for every write, so the caller can try again later.
using ProfileEdit = std::function<std::optional<std::string>(std::string_view text)>;
WriteOutcome ModifyProfileFile(const std::string& file, const ProfileEdit& edit,
                               LockWait wait = LockWait::Patient);

// One reading of the whole file, with the redo file taken into account: every reader of settings
// files reads through here.
struct ProfileView {
    std::optional<std::string> text;  // nothing when the file is missing or unreadable
    // Read under the readers' lock, or where no lock file exists: no writer of ours was midway.
    bool locked = false;
    // A rewrite in place was under way (or was interrupted) as the file was read.
    bool journalPresent = false;
};
ProfileView ReadProfileView(const std::string& file, LockWait wait);
// The same reading without the readers' lock, for one who watches another installation's file and
// must never stand in the way of its writers: it counts as unlocked.
ProfileView PeekProfileView(const std::string& file);

// The text of ReadProfileView, after a patient wait for the readers' lock.
std::optional<std::string> ReadProfileFile(const std::string& file);

// Whether a key and value may be written (StoreError::None) or are over the store's limits.
StoreError CheckEntry(std::string_view section, std::string_view key, std::string_view value);

// Makes every CR and LF of the text a blank, in place: what a write does to the caller's variable.
void BlankLineBreaks(std::string& text);

// What the platform's C-string interface would hand over: the text up to a NUL, with line breaks
// made blanks so that a value can never inject keys or sections into a file others read.
std::string AsSingleLine(std::string_view text);

// The lock file that guards a settings file against lost updates.
std::string LockPathFor(const std::string& file);

}  // namespace qfd
