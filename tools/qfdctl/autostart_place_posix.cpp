#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/qfdctl/autostart_place.h"

namespace qfdctl {
namespace {

namespace fs = std::filesystem;

// A desktop file larger than this is not one of ours, and is not read.
constexpr std::uintmax_t kEntryMaxBytes = 64 * 1024;

// $XDG_CONFIG_HOME/autostart; a relative or empty XDG_CONFIG_HOME is ignored, as the Base
// Directory rules say, for ~/.config. Empty when there is no HOME either.
fs::path AutostartFolder() {
    const char* config = ::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') return fs::path(config) / "autostart";
    const char* home = ::getenv("HOME");
    if (home != nullptr && home[0] != '\0') return fs::path(home) / ".config" / "autostart";
    return {};
}

std::string Reason(const std::error_code& error) { return error.message(); }

bool NoFolder(std::string& error) {
    error = "neither XDG_CONFIG_HOME nor HOME is set";
    return false;
}

}  // namespace

std::optional<std::vector<StoredEntry>> ListAutostartEntries(std::string& error) {
    const fs::path folder = AutostartFolder();
    if (folder.empty()) {
        NoFolder(error);
        return std::nullopt;
    }
    std::vector<StoredEntry> entries;
    std::error_code code;
    if (!fs::exists(folder, code) && !code) return entries;
    for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
        const fs::path& path = it->path();
        std::error_code ignored;
        if (path.extension() != ".desktop" || !fs::is_regular_file(path, ignored) ||
            fs::file_size(path, ignored) > kEntryMaxBytes) {
            continue;
        }
        std::ifstream in(path, std::ios::binary);
        entries.push_back(
            {path.filename().string(), std::string(std::istreambuf_iterator<char>(in), {}), false});
    }
    if (code) {
        error = folder.string() + ": " + Reason(code);
        return std::nullopt;
    }
    return entries;
}

bool WriteAutostartEntry(const std::string& name, const std::string& text, std::string& error) {
    const fs::path folder = AutostartFolder();
    if (folder.empty()) return NoFolder(error);
    // Folders that are made are the user's own (0700), as the XDG Base Directory rules ask.
    std::error_code code;
    if (!fs::exists(folder, code) && !code) {
        fs::path topMade = folder;
        while (topMade.has_relative_path() && !fs::exists(topMade.parent_path(), code)) {
            topMade = topMade.parent_path();
        }
        fs::create_directories(folder, code);
        for (fs::path made = folder; !code; made = made.parent_path()) {
            fs::permissions(made, fs::perms::owner_all, fs::perm_options::replace, code);
            if (made == topMade) break;
        }
    }
    if (code) {
        error = folder.string() + ": " + Reason(code);
        return false;
    }
    // Written beside and renamed over: a desktop starting up never reads half a file.
    const fs::path path = folder / name, partial = folder / ("." + name + ".part");
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) {
            error = std::strerror(errno);
            fs::remove(partial, code);
            return false;
        }
    }
    fs::rename(partial, path, code);
    if (code) {
        error = Reason(code);
        fs::remove(partial, code);
        return false;
    }
    return true;
}

bool RemoveAutostartEntry(const std::string& name, std::string& error) {
    const fs::path folder = AutostartFolder();
    if (folder.empty()) return NoFolder(error);
    std::error_code code;
    fs::remove(folder / name, code);
    if (code) error = Reason(code);
    return !code;
}

std::string AutostartEntryLocation(const std::string& name) {
    return (AutostartFolder() / name).string();
}

bool IsProgramFile(const std::string& path) {
    std::error_code code;
    return fs::is_regular_file(path, code);
}

std::string AbsoluteFolder(const std::string& folder) {
    // Links resolved, so that a folder named through a link has the entry of the folder itself;
    // a folder that is gone is taken by its name.
    std::error_code code;
    fs::path path = fs::weakly_canonical(fs::absolute(folder, code), code);
    if (code) return {};
    path = path.lexically_normal();
    if (!path.has_filename() && path.has_relative_path()) path = path.parent_path();
    return path.string();
}

}  // namespace qfdctl
