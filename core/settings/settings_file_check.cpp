#include "core/settings/settings_file_check.h"

#include "core/platform/file_access.h"

namespace qfd {
namespace {

std::optional<std::string> ReadProblem(FileStatus status) {
    switch (status) {
        case FileStatus::Ok:
        case FileStatus::Missing:  // a new installation: the first write creates it
            return std::nullopt;
        case FileStatus::TooLarge:
            return "cannot be read: it is larger than 4 MiB";
        case FileStatus::NotRegular:
            return "cannot be read: it is not a regular file";
        case FileStatus::AccessDenied:
            return "cannot be read: access denied (no permission, or a folder in its place)";
        case FileStatus::NameTooLong:
            return "cannot be read: the path is too long";
        case FileStatus::NoSpace:
        case FileStatus::Busy:
        case FileStatus::Failed:
            break;
    }
    return "cannot be read: the file system refused";
}

}  // namespace

std::optional<std::string> SettingsReadProblem(const std::string& iniPath) {
    return ReadProblem(ReadSettledFile(iniPath, kMaxSettingsFileBytes).status);
}

std::optional<std::string> SettingsWriteProblem(const WriteOutcome& outcome) {
    if (outcome.Ok()) return std::nullopt;
    return "cannot be written: " + outcome.Describe();
}

std::string SettingsFileMessage(const std::string& iniPath, const std::string& problem) {
    return "QF Detect cannot use its settings file\r\n" + iniPath + "\r\n\r\nIt " + problem +
           ".\r\n\r\nUntil this is put right, changed settings are not kept and alerts from "
           "other installations may not be shown.";
}

}  // namespace qfd
