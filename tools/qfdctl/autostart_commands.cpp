#include <algorithm>
#include <iostream>
#include <tuple>

#include "core/platform/running_program.h"
#include "core/settings/ini_path.h"
#include "core/shell/autostart_entry.h"
#include "tools/qfdctl/autostart_place.h"
#include "tools/qfdctl/commands.h"

namespace qfdctl {
namespace {

constexpr qfd::AutostartKind kKind = qfd::kNativeAutostart;

struct Found {
    std::string name;
    qfd::AutostartEntry entry;
};

qfd::AutostartState StateOf(const qfd::AutostartEntry& entry) {
    return qfd::DecideAutostartState(&entry,
                                     !entry.program.empty() && IsProgramFile(entry.program));
}

// The installation's state (that of its entry under its own name when it has more than one),
// where its entries are, and the other installations' entries with theirs.
void Report(const std::vector<Found>& ours, const std::vector<Found>& others) {
    std::cout << qfd::AutostartStateWord(ours.empty() ? qfd::AutostartState::Off
                                                      : StateOf(ours.front().entry))
              << '\n';
    for (const Found& found : ours) {
        std::cout << "entry=" << AutostartEntryLocation(found.name) << '\n';
    }
    if (!ours.empty()) std::cout << "program=" << ours.front().entry.program << '\n';
    for (const Found& found : others) {
        std::cout << "other=" << qfd::AutostartStateWord(StateOf(found.entry)) << ' '
                  << found.entry.folder << '\n';
    }
}

// The folder named, or the one this qfdctl is in; empty, with the reason told, when neither.
std::string ChosenFolder(const Args& args) {
    std::string folder;
    if (args.size() == 2) {
        folder = InstallationFolder(args[1]);
    } else {
        const std::string self = qfd::RunningProgramFile();
        const std::size_t cut = self.find_last_of(qfd::kPathSeparator);
        // A root keeps its separator: "/", "C:\\".
        if (cut != std::string::npos) {
            folder = self.substr(0, cut == 0 || self[cut - 1] == ':' ? cut + 1 : cut);
        }
    }
    if (!folder.empty()) folder = AbsoluteFolder(folder);
    if (folder.empty()) {
        std::cerr << "qfdctl: cannot tell the installation folder; give it as DIR\n";
    }
    return folder;
}

// This installation's entries, the one under its own name first, and everybody else's.
void SplitEntries(const std::vector<StoredEntry>& stored, const std::string& folder,
                  const std::string& name, std::vector<Found>& ours, std::vector<Found>& others) {
    for (const StoredEntry& s : stored) {
        std::optional<qfd::AutostartEntry> entry = qfd::ParseAutostartEntry(kKind, s.name, s.text);
        if (!entry) continue;
        if (s.turnedOff) entry->enabled = false;
        const bool mine = qfd::SameAutostartKey(kKind, entry->folder, folder);
        (mine ? ours : others).push_back({s.name, *entry});
    }
    std::stable_sort(ours.begin(), ours.end(), [&](const Found& a, const Found& b) {
        return qfd::SameAutostartKey(kKind, a.name, name) &&
               !qfd::SameAutostartKey(kKind, b.name, name);
    });
    std::sort(others.begin(), others.end(), [](const Found& a, const Found& b) {
        return std::tie(a.entry.folder, a.name) < std::tie(b.entry.folder, b.name);
    });
}

// Writes the entry under name; false, with the reason told, when folder cannot start at login.
bool WriteEntry(const std::string& folder, const std::string& name, std::string& text) {
    const std::string program = qfd::AutostartProgram(kKind, folder);
    if (!IsProgramFile(program)) {
        std::cerr << "qfdctl: " << folder << " holds no program " << qfd::kProgramFileName
                  << "; nothing added\n";
        return false;
    }
    if (const std::optional<std::string> why = qfd::AutostartRefusal(kKind, folder)) {
        std::cerr << "qfdctl: cannot start " << folder << " at login: " << *why << '\n';
        return false;
    }
    text = qfd::AutostartEntryText(kKind, folder);
    std::string error;
    if (WriteAutostartEntry(name, text, error)) return true;
    std::cerr << "qfdctl: cannot write " << AutostartEntryLocation(name) << ": " << error << '\n';
    return false;
}

}  // namespace

int RunAutostart(const Args& args) {
    if (args.empty() || args.size() > 2 ||
        (args[0] != "on" && args[0] != "off" && args[0] != "status")) {
        return UsageError("autostart");
    }
    const std::string folder = ChosenFolder(args);
    if (folder.empty()) return kExitFailed;
    std::string error;
    const std::optional<std::vector<StoredEntry>> stored = ListAutostartEntries(error);
    if (!stored) {
        std::cerr << "qfdctl: cannot read the entries that start programs at login: " << error
                  << '\n';
        return kExitFailed;
    }
    const std::string name = qfd::AutostartEntryName(kKind, folder);
    std::vector<Found> ours, others;
    SplitEntries(*stored, folder, name, ours, others);

    int exitCode = kExitOk;
    const auto removed = [&](const Found& found) {
        if (RemoveAutostartEntry(found.name, error)) return true;
        std::cerr << "qfdctl: cannot remove " << AutostartEntryLocation(found.name) << ": " << error
                  << '\n';
        exitCode = kExitFailed;
        return false;
    };
    if (args[0] == "on") {
        std::string text;
        if (!WriteEntry(folder, name, text)) return kExitFailed;
        // Another entry of this folder (copied or renamed by hand) would start it twice.
        std::erase_if(ours, [&](const Found& found) {
            return qfd::SameAutostartKey(kKind, found.name, name) || removed(found);
        });
        ours.insert(ours.begin(), {name, *qfd::ParseAutostartEntry(kKind, name, text)});
    } else if (args[0] == "off") {
        std::erase_if(ours, removed);
    }
    Report(ours, others);
    return exitCode;
}

}  // namespace qfdctl
