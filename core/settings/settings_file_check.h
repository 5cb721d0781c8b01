#pragma once

#include <optional>
#include <string>

#include "core/settings/profile_store.h"

namespace qfd {

// Why this installation's own settings file cannot be read: one short clause for the user, such
// as "cannot be read: it is larger than 4 MiB". Nothing when it can be read or is still missing.
std::optional<std::string> SettingsReadProblem(const std::string& iniPath);

// Why a write to it failed, in the same form; nothing when it succeeded.
std::optional<std::string> SettingsWriteProblem(const WriteOutcome& outcome);

// The message that tells the user once that settings are not being kept, naming the file.
std::string SettingsFileMessage(const std::string& iniPath, const std::string& problem);

}  // namespace qfd
