#include "settings/profile_store.h"

#include <chrono>
#include <optional>

#include "platform/file_access.h"
#include "platform/file_lock.h"
#include "settings/ini_text.h"

namespace qfd {
namespace {

constexpr std::chrono::milliseconds kLockTimeout{kLockTimeoutMs};

// What the platform's C-string interface would hand over: the text up to a NUL, with line breaks
// made blanks so that a value can never inject keys or sections into a file others read.
std::string AsSingleLine(std::string_view text) {
    std::string s(text.substr(0, text.find('\0')));
    for (char& c : s) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return s;
}

std::string_view WithoutTrailingSpaces(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

std::optional<std::string> LookUp(const std::string& file, std::string_view section,
                                  std::string_view key) {
    FileSnapshot snap = ReadWholeFile(file, kMaxSettingsFileBytes);
    if (snap.status != FileStatus::Ok) return std::nullopt;
    std::optional<IniValue> found = FindIniValue(snap.bytes, section, key);
    if (found && found->lineTerminated) return std::string(found->text);

    // A missing key or an unterminated last line may be a torn view of a file that another of our
    // processes is rewriting in place; its writer holds the lock, so look again once it is done.
    FileLock lock = FileLock::Acquire(LockPathFor(file), FileLock::Mode::Shared, kLockTimeout,
                                      /*createIfMissing=*/false);
    if (lock.state() != FileLock::State::Unavailable) {
        snap = ReadWholeFile(file, kMaxSettingsFileBytes);
        if (snap.status != FileStatus::Ok) return std::nullopt;
        found = FindIniValue(snap.bytes, section, key);
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
        case StoreError::Io:
            break;
    }
    return "the file system refused the write";
}

std::string ReadProfileString(const std::string& file, std::string_view section,
                              std::string_view key, std::string_view defaultValue,
                              std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    std::optional<std::string> value = LookUp(file, section, key);
    std::string result =
        value ? std::move(*value) : std::string(WithoutTrailingSpaces(defaultValue));
    if (result.size() > bufferSize - 1) result.resize(bufferSize - 1);
    return result;
}

WriteOutcome WriteProfileString(const std::string& file, std::string_view section,
                                std::string_view key, std::string_view value) {
    WriteOutcome outcome;
    const std::string cleanSection = AsSingleLine(section);
    const std::string cleanKey = AsSingleLine(key);
    const std::string cleanValue = AsSingleLine(value);
    if (cleanValue.size() > kMaxValueLength) {
        outcome.error = StoreError::ValueTooLong;
        return outcome;
    }
    if (cleanKey.size() + 1 + cleanValue.size() > kMaxLineLength ||
        cleanSection.size() + 2 > kMaxLineLength) {
        outcome.error = StoreError::LineTooLong;
        return outcome;
    }
    // Refuse before anything (the lock file included) is created beside an unwritable target.
    outcome.error = FromFileStatus(CheckWriteTarget(file, kMaxSettingsFileBytes));
    if (!outcome.ok()) return outcome;

    FileLock lock = FileLock::Acquire(LockPathFor(file), FileLock::Mode::Exclusive, kLockTimeout,
                                      /*createIfMissing=*/true);
    outcome.lockTimedOut = lock.state() == FileLock::State::TimedOut;

    FileSnapshot snap = ReadWholeFile(file, kMaxSettingsFileBytes);
    if (snap.status != FileStatus::Ok && snap.status != FileStatus::Missing) {
        outcome.error = FromFileStatus(snap.status);
        return outcome;
    }
    std::optional<std::string> edited = SetIniValue(snap.bytes, cleanSection, cleanKey, cleanValue);
    if (!edited) return outcome;
    outcome.error = FromFileStatus(ReplaceWholeFile(file, *edited, lock.held()));
    outcome.changed = outcome.ok();
    return outcome;
}

}  // namespace qfd
