#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qfdctl {

// Where this system keeps the entries that start programs at login: the files of the autostart
// folder, or the values of the user's Run key. Names and texts are the core's.

struct StoredEntry {
    std::string name;
    std::string text;
    bool turnedOff = false;  // Task Manager turned it off (Windows)
};

// The entries that may be ours; nothing, and the reason in error, when the place cannot be read.
std::optional<std::vector<StoredEntry>> ListAutostartEntries(std::string& error);
// Writes entry name whole, replacing one of that name (and a Task Manager "Disable" of it).
bool WriteAutostartEntry(const std::string& name, const std::string& text, std::string& error);
// Removes entry name; true when it is gone, also when it was not there.
bool RemoveAutostartEntry(const std::string& name, std::string& error);
// Where entry name is, as people look for it.
std::string AutostartEntryLocation(const std::string& name);

// Whether path is a file (the program an entry runs).
bool IsProgramFile(const std::string& path);
// folder as entries name it: absolute, normalised, without a trailing separator but a root's.
std::string AbsoluteFolder(const std::string& folder);

}  // namespace qfdctl
