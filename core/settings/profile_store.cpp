#include "core/settings/profile_store.h"

#include <chrono>
#include <optional>

#include "core/platform/file_access.h"
#include "core/platform/file_lock.h"
#include "core/settings/ini_text.h"
#include "core/settings/settings_encoding.h"

namespace qfd {
namespace {

std::chrono::milliseconds TimeoutFor(LockWait wait) {
    switch (wait) {
        case LockWait::None:
            break;
        case LockWait::Brief:
            return std::chrono::milliseconds(kBriefLockWaitMs);
        case LockWait::Patient:
            return std::chrono::milliseconds(kPatientLockWaitMs);
    }
    return std::chrono::milliseconds(0);
}

FileLock TakeReadersLock(const std::string& file, LockWait wait) {
    return FileLock::Acquire(LockPathFor(file), FileLock::Mode::Shared, TimeoutFor(wait),
                             /*createIfMissing=*/false);
}

}  // namespace

void BlankLineBreaks(std::string& text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
}

std::string AsSingleLine(std::string_view text) {
    std::string s(text.substr(0, text.find('\0')));
    BlankLineBreaks(s);
    return s;
}

namespace {

std::string_view WithoutTrailingSpaces(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// The file's text as the store reads it: what its last writer meant, in the store's byte form.
std::optional<std::string> ReadSettledText(const FileSnapshot& snap) {
    if (snap.status != FileStatus::Ok) return std::nullopt;
    return DecodeSettingsFile(snap.bytes).bytes;
}

std::optional<std::string> LookUp(const std::string& file, std::string_view section,
                                  std::string_view key) {
    std::optional<std::string> text = ReadSettledText(ReadSettledFile(file, kMaxSettingsFileBytes));
    if (!text) return std::nullopt;
    std::optional<IniValue> found = FindIniValue(*text, section, key);
    if (found && found->lineTerminated) return std::string(found->text);

    // A missing key or an unterminated last line may be a torn view of a file that another of our
    // processes is rewriting in place; its writer holds the lock, so look again if it is done. A
    // lock still held leaves this view: a single value is never worth a wait.
    FileLock lock = TakeReadersLock(file, LockWait::None);
    if (lock.Held()) {
        text = ReadSettledText(ReadSettledFile(file, kMaxSettingsFileBytes));
        if (!text) return std::nullopt;
        found = FindIniValue(*text, section, key);
    }
    if (!found) return std::nullopt;
    return std::string(found->text);
}

StoreError FromFileStatus(FileStatus status) {
    switch (status) {
        case FileStatus::Ok:
            return StoreError::None;
        case FileStatus::Missing:
            return StoreError::PathNotFound;
        case FileStatus::AccessDenied:
            return StoreError::AccessDenied;
        case FileStatus::NotRegular:
            return StoreError::NotRegularFile;
        case FileStatus::TooLarge:
            return StoreError::FileTooLarge;
        case FileStatus::NameTooLong:
            return StoreError::NameTooLong;
        case FileStatus::NoSpace:
            return StoreError::DiskFull;
        case FileStatus::Busy:
            return StoreError::Busy;
        case FileStatus::Failed:
            break;
    }
    return StoreError::Io;
}

}  // namespace

std::string LockPathFor(const std::string& file) { return file + ".lock"; }

int WriteOutcome::PlatformErrorCode() const {
    switch (error) {
        case StoreError::None:
            return 0;
        case StoreError::PathNotFound:
            return 3;  // ERROR_PATH_NOT_FOUND
        case StoreError::AccessDenied:
        case StoreError::NotRegularFile:
            return 5;  // ERROR_ACCESS_DENIED
        case StoreError::FileTooLarge:
        case StoreError::ValueTooLong:
        case StoreError::LineTooLong:
            return 87;  // ERROR_INVALID_PARAMETER
        case StoreError::NameTooLong:
            return 206;  // ERROR_FILENAME_EXCED_RANGE
        case StoreError::DiskFull:
            return 112;  // ERROR_DISK_FULL
        case StoreError::Busy:
            return 33;  // ERROR_LOCK_VIOLATION
        case StoreError::Io:
            break;
    }
    return 29;  // ERROR_WRITE_FAULT
}

std::string WriteOutcome::Describe() const {
    switch (error) {
        case StoreError::None:
            return "written";
        case StoreError::PathNotFound:
            return "the folder does not exist";
        case StoreError::AccessDenied:
            return "access denied (read-only file, no permission, or a folder in its place)";
        case StoreError::NotRegularFile:
            return "not a regular file";
        case StoreError::FileTooLarge:
            return "the settings file is larger than 4 MiB";
        case StoreError::ValueTooLong:
            return "the value is longer than 32767 characters";
        case StoreError::LineTooLong:
            return "the line would be longer than 65535 characters";
        case StoreError::NameTooLong:
            return "the path is too long";
        case StoreError::DiskFull:
            return "the disk is full";
        case StoreError::Busy:
            return "another program holds the settings file's lock";
        case StoreError::Io:
            break;
    }
    return "the file system refused the write";
}

std::string ReadProfileValue(const std::string& file, std::string_view section,
                             std::string_view key, std::string_view defaultValue,
                             std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    std::optional<std::string> value = LookUp(file, section, key);
    std::string result =
        value ? std::move(*value) : std::string(WithoutTrailingSpaces(defaultValue));
    if (result.size() > bufferSize - 1) result.resize(bufferSize - 1);
    return result;
}

StoreError CheckEntry(std::string_view section, std::string_view key, std::string_view value) {
    if (value.size() > kMaxValueLength) return StoreError::ValueTooLong;
    if (key.size() + 1 + value.size() > kMaxLineLength || section.size() + 2 > kMaxLineLength) {
        return StoreError::LineTooLong;
    }
    return StoreError::None;
}

namespace {

ProfileView ViewOf(const FileSnapshot& snap, bool locked) {
    ProfileView view;
    view.locked = locked;
    view.journalPresent = snap.journalPresent;
    view.text = ReadSettledText(snap);
    return view;
}

}  // namespace

ProfileView ReadProfileView(const std::string& file, LockWait wait) {
    const FileLock lock = TakeReadersLock(file, wait);
    return ViewOf(ReadSettledFile(file, kMaxSettingsFileBytes),
                  lock.CurrentState() != FileLock::State::TimedOut);
}

ProfileView PeekProfileView(const std::string& file) {
    return ViewOf(ReadSettledFile(file, kMaxSettingsFileBytes), false);
}

std::optional<std::string> ReadProfileFile(const std::string& file) {
    return ReadProfileView(file, LockWait::Patient).text;
}

namespace {

WriteGuard GuardFor(const FileLock& lock) {
    switch (lock.CurrentState()) {
        case FileLock::State::Held:
            return WriteGuard::Locked;
        case FileLock::State::TimedOut:
            return WriteGuard::LockMissed;
        case FileLock::State::Unavailable:
            break;
    }
    return WriteGuard::NoLockFile;
}

// The file as an edit starts from. Under the lock a writer killed in the middle of a rewrite in
// place is finished first, so that the file is whole again even where this edit turns out to
// change nothing; without a redo file (nearly always) there is nothing to finish.
FileSnapshot ReadForEdit(const std::string& file, bool locked) {
    FileSnapshot snap = ReadSettledFile(file, kMaxSettingsFileBytes);
    if (!locked || !snap.journalPresent) return snap;
    FinishInterruptedRewrite(file, kMaxSettingsFileBytes);
    return ReadSettledFile(file, kMaxSettingsFileBytes);
}

}  // namespace

WriteOutcome ModifyProfileFile(const std::string& file, const ProfileEdit& edit, LockWait wait) {
    WriteOutcome outcome;
    // Refuse before anything (the lock file included) is created beside an unwritable target.
    outcome.error = FromFileStatus(CheckWriteTarget(file, kMaxSettingsFileBytes));
    if (!outcome.Ok()) return outcome;

    const FileLock lock = FileLock::Acquire(LockPathFor(file), FileLock::Mode::Exclusive,
                                            TimeoutFor(wait), /*createIfMissing=*/true);
    const WriteGuard guard = GuardFor(lock);
    if (guard == WriteGuard::LockMissed && wait != LockWait::Patient) {
        outcome.error = StoreError::Busy;
        return outcome;
    }
    outcome.lockTimedOut = guard == WriteGuard::LockMissed;
    const FileSnapshot snap = ReadForEdit(file, lock.Held());
    if (snap.status != FileStatus::Ok && snap.status != FileStatus::Missing) {
        outcome.error = FromFileStatus(snap.status);
        return outcome;
    }
    // A file in UTF-16 is edited as text and written back in UTF-16, whole.
    const DecodedSettings decoded = DecodeSettingsFile(snap.bytes);
    std::optional<std::string> edited = edit(decoded.bytes);
    if (!edited || *edited == decoded.bytes) return outcome;
    const std::string bytes = EncodeSettingsFile(*edited, decoded.encoding);
    const RedoFile redo =
        lock.Held() && !snap.journalPresent ? RedoFile::Absent : RedoFile::Possible;
    outcome.error = FromFileStatus(ReplaceWholeFile(file, bytes, snap.bytes, guard, redo));
    outcome.changed = outcome.Ok();
    return outcome;
}

WriteOutcome WriteProfileValue(const std::string& file, std::string_view section,
                               std::string_view key, std::string_view value, LockWait wait) {
    const std::string cleanSection = AsSingleLine(section);
    const std::string cleanKey = AsSingleLine(key);
    const std::string cleanValue = AsSingleLine(value);
    WriteOutcome refused;
    refused.error = CheckEntry(cleanSection, cleanKey, cleanValue);
    if (!refused.Ok()) return refused;
    return ModifyProfileFile(
        file,
        [&](std::string_view bytes) {
            return SetIniValue(bytes, cleanSection, cleanKey, cleanValue);
        },
        wait);
}

}  // namespace qfd
