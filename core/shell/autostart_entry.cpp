#include "core/shell/autostart_entry.h"

#include <cstdint>

namespace qfd {
namespace {

constexpr std::size_t kNameSlugMax = 32;

bool IsRun(AutostartKind kind) { return kind == AutostartKind::RunValue; }

bool IsSeparator(AutostartKind kind, char c) { return c == '/' || (IsRun(kind) && c == '\\'); }

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The folder as Windows tells folders apart: letter case and the two separators are one.
char FolderByte(AutostartKind kind, char c) {
    if (!IsRun(kind)) return c;
    return c == '/' ? '\\' : AsciiUpper(c);
}

bool ValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t more = 0;
        unsigned char min2 = 0x80, max2 = 0xBF;  // the range of the second byte
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2;
            if (lead == 0xE0) min2 = 0xA0;  // no overlong forms
            if (lead == 0xED) max2 = 0x9F;  // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3;
            if (lead == 0xF0) min2 = 0x90;
            if (lead == 0xF4) max2 = 0x8F;  // nothing above U+10FFFF
        } else {
            return false;
        }
        if (i + more >= text.size()) return false;
        for (std::size_t k = 1; k <= more; ++k) {
            const auto b = static_cast<unsigned char>(text[i + k]);
            if (b < (k == 1 ? min2 : 0x80) || b > (k == 1 ? max2 : 0xBF)) return false;
        }
        i += more + 1;
    }
    return true;
}

std::string HashText(AutostartKind kind, std::string_view folder) {
    std::uint64_t hash = 14695981039346656037ull;  // 64-bit FNV-1a, stable across builds
    for (char c : folder) {
        hash ^= static_cast<unsigned char>(FolderByte(kind, c));
        hash *= 1099511628211ull;
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(12, '0');
    for (std::size_t i = text.size(); i-- > 0; hash >>= 4) text[i] = kDigits[hash & 0xF];
    return text;
}

// The folder's last name with what is not a letter, digit, '.', '-' or '_' made '_'.
std::string NameSlug(AutostartKind kind, std::string_view folder) {
    std::size_t start = folder.size();
    while (start > 0 && !IsSeparator(kind, folder[start - 1])) --start;
    std::string slug;
    for (char c : folder.substr(start, kNameSlugMax)) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        slug += plain ? c : '_';
    }
    return slug;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// The argument of exec at i, moving i past it; nothing when there is none or its quoting is
// broken, or when it holds a field code other than "%%".
std::optional<std::string> ExecArgument(std::string_view exec, std::size_t& i) {
    while (i < exec.size() && (exec[i] == ' ' || exec[i] == '\t')) ++i;
    const bool quoted = i < exec.size() && exec[i] == '"';
    if (quoted) ++i;
    std::string argument;
    for (; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted && c == '"') {
            ++i;
            return argument;
        }
        if (!quoted && (c == ' ' || c == '\t')) break;
        if (c == '%') {
            if (i + 1 == exec.size() || exec[i + 1] != '%') return std::nullopt;
            ++i;
        } else if (quoted && c == '\\' && i + 1 < exec.size() &&
                   std::string_view("\"`$\\").find(exec[i + 1]) != std::string_view::npos) {
            ++i;
        }
        argument += exec[i];
    }
    if (quoted || argument.empty()) return std::nullopt;
    return argument;
}

std::optional<AutostartEntry> ParseRunValue(std::string_view name, std::string_view data) {
    if (!name.starts_with(kRunValuePrefix)) return std::nullopt;
    data = Trimmed(data);
    std::string_view program;
    if (data.starts_with('"')) {
        const std::size_t end = data.find('"', 1);
        if (end == std::string_view::npos) return std::nullopt;
        program = data.substr(1, end - 1);
    } else {
        program = data.substr(0, data.find(' '));
    }
    const std::size_t cut = program.find_last_of("\\/");
    if (cut == std::string_view::npos) return std::nullopt;
    const std::string_view file = program.substr(cut + 1);
    constexpr std::string_view kExe = "QFD.EXE";
    if (file.size() != kExe.size()) return std::nullopt;
    for (std::size_t i = 0; i < file.size(); ++i) {
        if (AsciiUpper(file[i]) != kExe[i]) return std::nullopt;
    }
    AutostartEntry entry;
    entry.program = std::string(program);
    entry.folder = std::string(program.substr(0, cut));
    if (entry.folder.size() == 2 && entry.folder[1] == ':') entry.folder += '\\';
    if (entry.folder.empty()) entry.folder = program.substr(0, 1);  // "\qfd.exe"
    return entry;
}

std::optional<AutostartEntry> ParseDesktopFile(std::string_view text) {
    std::optional<std::string> folder, exec;
    bool enabled = true, inEntry = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.starts_with('[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inEntry || line.starts_with('#') || equals == std::string_view::npos) continue;
        const std::string_view key = Trimmed(line.substr(0, equals));
        const std::string value = UnescapeDesktopValue(Trimmed(line.substr(equals + 1)));
        if (key == kAutostartFolderKey) folder = value;
        if (key == "Exec") exec = value;
        if ((key == "Hidden" && value == "true") ||
            (key == "X-GNOME-Autostart-enabled" && value == "false")) {
            enabled = false;
        }
    }
    if (!folder) return std::nullopt;
    AutostartEntry entry;
    entry.folder = *folder;
    entry.program = exec ? DesktopExecProgram(*exec).value_or("") : "";
    entry.enabled = enabled;
    return entry;
}

}  // namespace

std::string AutostartProgram(AutostartKind kind, std::string_view folder) {
    std::string program(folder);
    if (program.empty() || !IsSeparator(kind, program.back())) program += IsRun(kind) ? '\\' : '/';
    return program.append(IsRun(kind) ? "qfd.exe" : "qfd");
}

std::optional<std::string> AutostartRefusal(AutostartKind kind, std::string_view folder) {
    if (IsRun(kind)) {
        if (folder.find('"') != std::string_view::npos) return "its name holds a quote";
        return std::nullopt;
    }
    if (!ValidUtf8(folder)) return "its name is not UTF-8 text, which a desktop file holds";
    for (char c : folder) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t' && c != '\n' && c != '\r') || byte == 0x7F) {
            return "its name holds a control character, which a desktop file cannot hold";
        }
    }
    return std::nullopt;
}

std::string AutostartEntryName(AutostartKind kind, std::string_view folder) {
    std::string slug = NameSlug(kind, folder);
    const std::string hash = HashText(kind, folder);
    if (IsRun(kind)) return std::string(kRunValuePrefix) + (slug.empty() ? "" : slug + " ") + hash;
    return "qfdetect-" + (slug.empty() ? "" : slug + "-") + hash + ".desktop";
}

std::string AutostartEntryText(AutostartKind kind, std::string_view folder) {
    const std::string program = AutostartProgram(kind, folder);
    if (IsRun(kind)) return '"' + program + '"';
    const std::string escapedFolder = EscapeDesktopValue(folder);
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=QF Detect (" +
           escapedFolder +
           ")\n"
           "Comment=Starts QF Detect at login; written by qfdctl autostart on\n"
           "Exec=" +
           DesktopExecValue(program) + "\nTryExec=" + EscapeDesktopValue(program) +
           "\nPath=" + escapedFolder +
           "\n"
           "X-GNOME-Autostart-enabled=true\n" +
           std::string(kAutostartFolderKey) + '=' + escapedFolder + '\n';
}

std::optional<AutostartEntry> ParseAutostartEntry(AutostartKind kind, std::string_view name,
                                                  std::string_view text) {
    return IsRun(kind) ? ParseRunValue(name, text) : ParseDesktopFile(text);
}

bool SameAutostartKey(AutostartKind kind, std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FolderByte(kind, a[i]) != FolderByte(kind, b[i])) return false;
    }
    return true;
}

AutostartState DecideAutostartState(const AutostartEntry* entry, bool programExists) {
    if (entry == nullptr) return AutostartState::Off;
    if (entry->program.empty() || !programExists) return AutostartState::Broken;
    return entry->enabled ? AutostartState::On : AutostartState::Disabled;
}

const char* AutostartStateWord(AutostartState state) {
    switch (state) {
        case AutostartState::On:
            return "on";
        case AutostartState::Disabled:
            return "disabled";
        case AutostartState::Broken:
            return "broken";
        case AutostartState::Off:
            break;
    }
    return "off";
}

std::string EscapeDesktopValue(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == ' ' && (i == 0 || i + 1 == value.size())) {
            out += "\\s";  // blanks at either end would be read as the line's spacing
        } else {
            out += c;
        }
    }
    return out;
}

std::string UnescapeDesktopValue(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i]) {
            case 's':
                out += ' ';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case '\\':
                out += '\\';
                break;
            default:  // not an escape: kept as written
                out += '\\';
                out += value[i];
        }
    }
    return out;
}

std::string DesktopExecValue(std::string_view program) {
    // Inside double quotes '"', '`', '$' and '\' take a backslash; '%' is a field code unless
    // doubled. The value's own escapes come on top (the reader undoes them first).
    std::string quoted = "\"";
    for (char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += '"';
    // GLib (GNOME's autostart) drops an entry whose first word, with its "%%" not yet undone, is
    // no program; env is one, and runs the program after the field codes are expanded.
    if (program.find('%') != std::string_view::npos) quoted.insert(0, "env ");
    return EscapeDesktopValue(quoted);
}

std::optional<std::string> DesktopExecProgram(std::string_view exec) {
    std::size_t i = 0;
    std::optional<std::string> program = ExecArgument(exec, i);
    if (program == "env" || program == "/usr/bin/env") program = ExecArgument(exec, i);
    return program;
}

}  // namespace qfd
