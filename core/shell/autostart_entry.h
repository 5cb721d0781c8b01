#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qfd {

// An entry that starts an installation's program at login, as `qfdctl autostart` writes it: on
// Linux an XDG autostart desktop file, on Windows a value in the user's Run key. Here are only
// its name, its text and reading it back; where it is stored is the tool's business.

enum class AutostartKind {
    DesktopFile,  // $XDG_CONFIG_HOME/autostart/NAME, holding the text
    RunValue,     // HKCU\Software\Microsoft\Windows\CurrentVersion\Run, value NAME, data the text
};
#ifdef _WIN32
inline constexpr AutostartKind kNativeAutostart = AutostartKind::RunValue;
#else
inline constexpr AutostartKind kNativeAutostart = AutostartKind::DesktopFile;
#endif

// The key of the desktop file that names the installation folder it starts.
inline constexpr std::string_view kAutostartFolderKey = "X-QFDetect-Folder";
// Every Run value of ours begins with this.
inline constexpr std::string_view kRunValuePrefix = "QF Detect ";

// Installation folders below are absolute and without a trailing separator (but a root keeps
// its own: "/", "C:\").

// The program file of the installation in folder: "qfd" on Linux, "qfd.exe" on Windows.
std::string AutostartProgram(AutostartKind kind, std::string_view folder);

// Why folder cannot be written into an entry, or nothing when it can: a desktop file holds
// UTF-8 text, in which only tabs and line breaks of the control characters can be escaped.
std::optional<std::string> AutostartRefusal(AutostartKind kind, std::string_view folder);

// The entry's name, one per folder: the folder's last name, cut to what a file name takes, and
// a hash of the whole path, so that "/a/qfd" and "/b/qfd" get two entries; a name that Windows
// spells in another letter case gets the same one there. "qfdetect-qfd-0123456789ab.desktop",
// "QF Detect qfd 0123456789ab".
std::string AutostartEntryName(AutostartKind kind, std::string_view folder);

// The text of the entry that starts the program of folder: the desktop file, or the Run value's
// data (the quoted program path).
std::string AutostartEntryText(AutostartKind kind, std::string_view folder);

// An entry read back.
struct AutostartEntry {
    std::string folder;   // the installation it starts
    std::string program;  // the program it runs; empty when that cannot be read
    bool enabled =
        true;  // false when the desktop turned it off (Hidden, X-GNOME-Autostart-enabled)
};

// The entry stored as name with text, or nothing when it is not one of ours: a desktop file
// without our folder key, or a Run value with another name or another program.
std::optional<AutostartEntry> ParseAutostartEntry(AutostartKind kind, std::string_view name,
                                                  std::string_view text);

// Whether a and b, two installation folders or two entry names, are one to the system: the same
// bytes; on Windows in any letter case, '/' and '\\' alike.
bool SameAutostartKey(AutostartKind kind, std::string_view a, std::string_view b);

enum class AutostartState {
    Off,       // no entry
    On,        // starts at login
    Disabled,  // an entry the desktop (or Task Manager) has turned off
    Broken,    // an entry whose program is gone
};
AutostartState DecideAutostartState(const AutostartEntry* entry, bool programExists);
const char* AutostartStateWord(AutostartState state);

// The pieces of a desktop file, for the tests.
// A value of type string: backslash, tab, line breaks and a leading blank escaped.
std::string EscapeDesktopValue(std::string_view value);
std::string UnescapeDesktopValue(std::string_view value);
// The Exec value that runs program: quoted, with its quote escapes and "%%", then as a value; a
// program with '%' is run through env, for GLib's sake.
std::string DesktopExecValue(std::string_view program);
// The program an (unescaped) Exec value runs: its first argument, or the one after env; nothing
// when the quoting is broken.
std::optional<std::string> DesktopExecProgram(std::string_view execValue);

}  // namespace qfd
